// The frame's navigation, one row per rule: which screen a switch, a going back or a menu
// command reaches, which screen counts as the previous one afterwards, the order in which the
// screens hear of it (parameters before the switch, the old screen let go before the new one
// comes), and the menu commands that must find records first. Screens are probes that log
// what the frame tells them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/document.h"
#include "frame/main_window.h"
#include "frame/ui_resources.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "support/temp_store.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

class Probe : public CPlainView_ {
 public:
  Probe(std::vector<std::string>* log, int32_t id, bool remembered)
      : CPlainView_(remembered), log_(log), id_(id) {}
  void OnParams(const ViewParams* params) override {
    log_->push_back("params " + std::to_string(id_) + ":" + std::to_string(params->number));
  }
  void OnActivate() override {
    active_ = true;
    log_->push_back("activate " + std::to_string(id_));
  }
  bool OnDeactivate() override {
    if (active_) log_->push_back("deactivate " + std::to_string(id_));
    return CPlainView_::OnDeactivate();
  }

 private:
  std::vector<std::string>* log_;
  int32_t id_;
};

class FrameNavigation : public TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    ce::InitWindowSystem(std::make_unique<ce::HeadlessDisplay>(ce::kScreenWidth, ce::kFrameHeight));
    RegisterUiResources();
    ce::SetMessageBoxHook([](const ce::MessageBoxReport&) { return ce::IDOK; });
    CreateCatalogue();
  }
  void TearDown() override {
    ce::ShutdownWindowSystem();
    TempStoreTest::TearDown();
  }
  static void Pump() {
    ce::MSG msg;
    while (ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE)) ce::DispatchMessage(&msg);
  }
  static void StoreRecords(const char16_t* database, int count) {
    CCeDatabase db;
    ASSERT_TRUE(db.Open(database, 0));
    for (int i = 0; i < count; ++i) {
      CCePropArray record;
      CCePropVal value;
      value.SetUI4(730000 + 28 * static_cast<uint32_t>(i));
      ASSERT_TRUE(record.Append(value));
      ASSERT_TRUE(db.WriteNew(record));
    }
  }
};

struct Row {
  const char* rule;
  int32_t current, previous;
  std::function<void()> before;  // records the command needs, a lock
  std::function<void()> act;
  int32_t then_current, then_previous;
  std::vector<std::string> heard;
  std::vector<std::u16string> boxes = {};
};

TEST_F(FrameNavigation, EachWayToAnotherScreenKeepsItsRules) {
  const auto set_view = [](int32_t id) { return [id] { CDocument_::SetView(id); }; };
  const auto command = [](ce::UINT id) {
    return [id] { ce::SendMessage(CDocument_::GetMainWnd(), ce::WM_COMMAND, id, 0); };
  };
  const Row rows[] = {
      {"a remembered screen becomes the previous one",
       kCycleView,
       kAboutView,
       {},
       set_view(kCycleHistoryView),
       kCycleHistoryView,
       kCycleView,
       {"deactivate 5", "activate 6"}},
      {"a screen not remembered leaves the previous one",
       kHelpView,
       kCycleView,
       {},
       set_view(kAboutView),
       kAboutView,
       kCycleView,
       {"deactivate 4", "activate 0"}},
      {"going back reaches the previous screen",
       kCycleHistoryView,
       kCycleView,
       {},
       [] { CDocument_::GoBack(); },
       kCycleView,
       kCycleHistoryView,
       {"deactivate 6", "activate 5"}},
      {"parameters reach the next screen before it comes",
       kCycleView,
       kCycleView,
       {},
       [] {
         ViewParams params;
         params.number = 7;
         CDocument_::PassParams(kPredictionView, &params);
         CDocument_::SetView(kPredictionView);
       },
       kPredictionView,
       kCycleView,
       {"params 12:7", "deactivate 5", "activate 12"}},
      {"Schedule Edit hands its days to the day entry editor",
       kCycleView,
       kCycleView,
       {},
       command(kCmdScheduleEdit),
       kScheduleView,
       kDayEntryView,
       {"deactivate 5", "activate 2"}},
      {"a help command shows its text",
       kCycleView,
       kCycleView,
       {},
       command(kCmdPillHistoryHelp),
       kHelpView,
       kCycleView,
       {"params 4:" + std::to_string(kStrPillHistoryHelp), "deactivate 5", "activate 4"}},
      {"Cycle Charts needs a finished cycle",
       kCycleHistoryView,
       kCycleView,
       [] { StoreRecords(u"Cycles", 1); },
       command(kCmdCycleCharts),
       kCycleView,
       kCycleHistoryView,
       {"deactivate 6", "activate 5"},
       {u"There are no finished cycles!"}},
      {"Cycle Charts with two cycles",
       kCycleView,
       kCycleView,
       [] { StoreRecords(u"Cycles", 2); },
       command(kCmdCycleCharts),
       kCycleChartsView,
       kCycleView,
       {"deactivate 5", "activate 7"}},
      {"Temp Charts without a reading shows how to make one",
       kCycleView,
       kCycleView,
       {},
       command(kCmdTempCharts),
       kHelpView,
       kCycleView,
       {"params 4:" + std::to_string(kStrTempChartsHelp), "deactivate 5", "activate 4"}},
      {"Temp Charts with a reading",
       kCycleView,
       kCycleView,
       [] { StoreRecords(u"Temperature", 1); },
       command(kCmdTempCharts),
       kTempChartsView,
       kCycleView,
       {"deactivate 5", "activate 9"}},
      {"nothing leads past the password prompt",
       kPasswordEntryView,
       kCycleView,
       [] { CDocument_::SetLocked(true); },
       command(kCmdCycleView),
       kPasswordEntryView,
       kCycleView,
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rule);
    CDocument_ document;
    const ce::HINSTANCE instance = ce::GetModuleHandle(nullptr);
    CDocument_::SetInstance(instance);
    RegisterMainWindowClass(instance);
    ASSERT_NE(ce::CreateWindowEx(0, kMainWindowClass, u"Calvira", ce::WS_VISIBLE, ce::CW_USEDEFAULT,
                                 ce::CW_USEDEFAULT, ce::CW_USEDEFAULT, ce::CW_USEDEFAULT, nullptr,
                                 nullptr, instance, nullptr),
              nullptr);
    std::vector<std::string> heard;
    for (int32_t id = kAboutView; id <= kPasswordEntryView; ++id) {
      const bool remembered = id != kHelpView && id != kAboutView && id != kPasswordEntryView;
      CDocument_::AddView(std::make_unique<Probe>(&heard, id, remembered), id);
    }
    CDocument_::SetCurrentView(row.current);
    CDocument_::FindView(row.current)->OnActivate();
    CDocument_::SetPreviousView(row.previous);
    if (row.before) row.before();
    heard.clear();
    row.act();
    Pump();
    EXPECT_EQ(CDocument_::GetCurrentView(), row.then_current);
    EXPECT_EQ(CDocument_::GetPreviousView(), row.then_previous);
    EXPECT_EQ(heard, row.heard);
    std::vector<std::u16string> boxes;
    for (const ce::MessageBoxReport& box : ce::TakeMessageBoxReports()) boxes.push_back(box.text);
    EXPECT_EQ(boxes, row.boxes);
    ce::DestroyWindow(CDocument_::GetMainWnd());
    Pump();
    // The next row's records start from nothing.
    for (const char16_t* name : {u"Cycles", u"Temperature"}) {
      CCeDatabase db;
      ASSERT_TRUE(db.Open(name, 0));
      while (db.SeekFirst() && db.DeleteCurr()) {
      }
    }
  }
}

}  // namespace
}  // namespace calvira::testing
