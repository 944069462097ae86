// The clock the program reads (tick counter, UTC date, formatter) and the text conversions.
// (Cuts that keep pairs whole are the controls' tests, where a limit or a buffer cuts.)
#include <gtest/gtest.h>

#include <tuple>

#include "platform/clock.h"
#include "platform/text.h"

namespace {

ce::SYSTEMTIME Date(ce::WORD y, ce::WORD m, ce::WORD d, ce::WORD h = 0, ce::WORD min = 0) {
  return {y, m, 0, d, h, min, 0, 0};
}

std::u16string Format(const ce::SYSTEMTIME& t, const char16_t* picture) {
  char16_t out[32] = {};
  const int n = ce::GetDateFormat(ce::LOCALE_USER_DEFAULT, 0, &t, picture, out, 32);
  return n > 0 ? std::u16string(out) : u"<refused>";
}

class VirtualClockTest : public ::testing::Test {
 protected:
  void TearDown() override { ce::clock::UseReal(); }
};

TEST_F(VirtualClockTest, SleepAdvancesTicksAndDateTogetherAndTheCounterWraps) {
  ce::clock::UseVirtual(0xFFFFFF00u, Date(2003, 12, 31, 23, 59));
  ce::Sleep(0x100 + 60 * 1000);
  EXPECT_EQ(ce::GetTickCount(), 60u * 1000);  // wrapped past zero
  ce::SYSTEMTIME t{};
  ce::GetSystemTime(&t);
  const auto date = [&t] { return std::tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wDayOfWeek); };
  EXPECT_EQ(date(), std::tuple(2004, 1, 1, 0, 4));  // a Thursday
  ce::clock::SetDate(2000, 2, 29);
  ce::GetSystemTime(&t);
  EXPECT_EQ(date(), std::tuple(2000, 2, 29, 0, 2));
  EXPECT_EQ(t.wMilliseconds, 256);  // the time of day stays
}

TEST(DateFormatTest, RendersPicturesLikeTheHandheld) {
  const std::tuple<ce::SYSTEMTIME, const char16_t*, const char16_t*> cases[] = {
      {Date(2003, 1, 5), u"M/d/yy", u"1/5/03"},
      {Date(2003, 11, 20), u"M/d/yy", u"11/20/03"},
      {Date(2000, 12, 31), u"MM/dd/yyyy", u"12/31/2000"},
      {Date(1582, 1, 1), u"d.M.y 'at' ''x''", u"1.1.82 at 'x'"},
      {Date(2003, 2, 29), u"M/d/yy", u"<refused>"},
  };
  for (const auto& [date, picture, shown] : cases) EXPECT_EQ(Format(date, picture), shown);

  // A buffer too small is refused whole; a zero length asks for the size.
  const ce::SYSTEMTIME t = Date(2003, 11, 20);
  char16_t small[8];
  EXPECT_EQ(ce::GetDateFormat(0, 0, &t, u"M/d/yy", small, 8), 0);
  EXPECT_EQ(ce::GetLastError(), ce::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(ce::GetDateFormat(0, 0, &t, u"M/d/yy", nullptr, 0), 9);
}

TEST(TextTest, Utf16AndUtf8RoundTripAndRepairBrokenInput) {
  const std::u16string text = u"Calvira \u00b0C \u20ac \U0001F600";
  EXPECT_EQ(ce::FromUtf8(ce::ToUtf8(text)), text);
  const char16_t lone[] = {u'a', 0xDC00, u'b', 0};
  EXPECT_EQ(ce::ToUtf8(lone),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(ce::FromUtf8("x\xC3"), u"x\uFFFD");                    // cut short
  EXPECT_EQ(ce::FromUtf8("\xE0\x80\xAF"), u"\uFFFD\uFFFD\uFFFD");  // overlong
  EXPECT_EQ(ce::FromUtf8("\xED\xA0\x80").size(), 3u);              // an encoded surrogate
}

}  // namespace
