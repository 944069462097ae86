// The record store's messages. A reporter gets them as they were given (a missing caption stays
// missing) and its answer is the store's; without one they go to standard error, answered OK,
// and no message box of the window system is involved: the way calvira-data meets them.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/message_box.h"
#include "platform/reporter.h"
#include "store/ce_database.h"
#include "support/temp_store.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class StoreReports : public calvira::testing::TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    ce::objectstore::SetReporter({});
  }
};

TEST_F(StoreReports, WithoutAReporterGoToStandardErrorAnsweredOk) {
  const std::tuple<const char16_t*, const char16_t*, ce::UINT, const char*> cases[] = {
      {u"ERROR_DISK_FULL ", u"ERR", ce::MB_ICONSTOP, "[ERR] ERROR_DISK_FULL \n"},
      // A box without a caption is titled "Error"; an empty caption is a caption.
      {u"Mnogo dylyg string??", nullptr, ce::MB_ICONSTOP, "[Error] Mnogo dylyg string??\n"},
      {u"x", u"", ce::MB_OK, "[] x\n"},
      // OK is the answer even where Cancel was offered, as for a box with no window system.
      {u"Delete all cycles?", u"Calvira", ce::MB_OKCANCEL, "[Calvira] Delete all cycles?\n"},
      {u"Zyklus \u00e4\U0001F319", u"Fatal Error", ce::MB_ICONSTOP,
       "[Fatal Error] Zyklus \u00e4\U0001F319\n"},
      {nullptr, u"Sample", ce::MB_OK, "[Sample] \n"},
  };
  for (const auto& [text, caption, type, line] : cases) {
    CaptureStderr();
    EXPECT_EQ(ce::objectstore::Report(text, caption, type), ce::IDOK) << line;
    EXPECT_EQ(GetCapturedStderr(), line);
  }
  // So do CCeDatabase's.
  CCeDatabase db;
  CaptureStderr();
  EXPECT_FALSE(db.Open(u"Nowhere", 0));
  EXPECT_EQ(GetCapturedStderr(), "[Sample] ERROR_FILE_NOT_FOUND \n");
  EXPECT_TRUE(ce::TakeMessageBoxReports().empty());
}

TEST_F(StoreReports, AReporterHearsThemAsGivenAndItsAnswerCounts) {
  std::vector<std::u16string> heard;
  ce::objectstore::SetReporter(
      [&heard](const char16_t* text, const char16_t* caption, ce::UINT type) {
        heard.push_back((caption ? u"[" + std::u16string(caption) + u"] " : u"") + text +
                        (type == ce::MB_ICONSTOP ? u" (stop)" : u""));
        return ce::IDCANCEL;
      });
  CaptureStderr();
  EXPECT_EQ(ce::objectstore::Report(u"Mnogo dylyg string??", nullptr, ce::MB_ICONSTOP),
            ce::IDCANCEL);
  EXPECT_EQ(ce::objectstore::Report(u"ERROR_FILE_NOT_FOUND ", u"Sample", ce::MB_OK), ce::IDCANCEL);
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(heard, (std::vector<std::u16string>{u"Mnogo dylyg string?? (stop)",
                                                u"[Sample] ERROR_FILE_NOT_FOUND "}));
  // Taken away again, the messages are back on standard error.
  ce::objectstore::SetReporter({});
  CaptureStderr();
  ce::objectstore::Report(u"Can not write in prop-a", u"Fatal Error", ce::MB_ICONSTOP);
  EXPECT_EQ(GetCapturedStderr(), "[Fatal Error] Can not write in prop-a\n");
  EXPECT_EQ(heard.size(), 2u);
}

TEST_F(StoreReports, AReporterMayBeReplacedWhileItAnswers) {
  // A box runs a message loop, and what runs in it may connect another reporter; the one still
  // answering must live until it returns.
  std::vector<std::u16string> heard;
  ce::objectstore::SetReporter(
      [&heard, keep = std::u16string(64, u'k')](const char16_t* text, const char16_t*, ce::UINT) {
        ce::objectstore::SetReporter([&heard](const char16_t* later, const char16_t*, ce::UINT) {
          heard.push_back(std::u16string(u"second: ") + later);
          return ce::IDOK;
        });
        heard.push_back(keep.substr(0, 1) + text);  // uses its own captured state after the swap
        return ce::IDCANCEL;
      });
  EXPECT_EQ(ce::objectstore::Report(u"one", u"", ce::MB_OK), ce::IDCANCEL);
  EXPECT_EQ(ce::objectstore::Report(u"two", u"", ce::MB_OK), ce::IDOK);
  EXPECT_EQ(heard, (std::vector<std::u16string>{u"kone", u"second: two"}));
}

}  // namespace
