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
#include "support/record_store.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

// Logs "p<id>:<number>" for parameters, "+<id>" when activated and "-<id>" when let go.
class Probe : public CPlainView_ {
 public:
  Probe(std::string* log, int32_t id, bool remembered)
      : CPlainView_(remembered), log_(log), id_(std::to_string(id)) {}
  void OnParams(const ViewParams* params) override {
    *log_ += " p" + id_ + ":" + std::to_string(params->number);
  }
  void OnActivate() override {
    active_ = true;
    *log_ += " +" + id_;
  }
  bool OnDeactivate() override {
    if (active_) *log_ += " -" + id_;
    return CPlainView_::OnDeactivate();
  }

 private:
  std::string* log_;
  std::string id_;
};

class FrameNavigation : public RecordStoreTest {
 protected:
  void SetUp() override {
    RecordStoreTest::SetUp();
    ce::InitWindowSystem(std::make_unique<ce::HeadlessDisplay>(ce::kScreenWidth, ce::kFrameHeight));
    RegisterUiResources();
    ce::SetMessageBoxHook([](const ce::MessageBoxReport&) { return ce::IDOK; });
  }
  void TearDown() override {
    ce::ShutdownWindowSystem();
    RecordStoreTest::TearDown();
  }
  static void Pump() {
    ce::MSG msg;
    while (ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE)) ce::DispatchMessage(&msg);
  }
};

struct Row {
  int32_t current, previous;
  std::function<void()> before;  // records the command needs, a lock
  std::function<void()> act;
  int32_t then_current, then_previous;
  std::string heard;
  std::vector<std::u16string> boxes = {};
};

TEST_F(FrameNavigation, EachWayToAnotherScreenKeepsItsRules) {
  const auto set_view = [](int32_t id) { return [id] { CDocument_::SetView(id); }; };
  const auto command = [](ce::UINT id) {
    return [id] { ce::SendMessage(CDocument_::GetMainWnd(), ce::WM_COMMAND, id, 0); };
  };
  const auto records = [](const char16_t* database, int count) {
    return [=] {
      for (int i = 0; i < count; ++i) WriteRaw(database, {UI4(730000 + 28 * i)});
    };
  };
  const auto pass_params = [] {
    ViewParams params;
    params.number = 7;
    CDocument_::PassParams(kPredictionView, &params);
    CDocument_::SetView(kPredictionView);
  };
  const std::string help = " p4:", pill_help = help + std::to_string(kStrPillHistoryHelp),
                    temp_help = help + std::to_string(kStrTempChartsHelp);
  const Row rows[] = {
      // A remembered screen becomes the previous one; one not remembered leaves it.
      {kCycleView,
       kAboutView,
       {},
       set_view(kCycleHistoryView),
       kCycleHistoryView,
       kCycleView,
       " -5 +6"},
      {kHelpView, kCycleView, {}, set_view(kAboutView), kAboutView, kCycleView, " -4 +0"},
      // Going back reaches the previous screen.
      {kCycleHistoryView,
       kCycleView,
       {},
       CDocument_::GoBack,
       kCycleView,
       kCycleHistoryView,
       " -6 +5"},
      // Parameters reach the next screen before it comes.
      {kCycleView, kCycleView, {}, pass_params, kPredictionView, kCycleView, " p12:7 -5 +12"},
      // Schedule Edit hands its days to the day entry editor.
      {kCycleView,
       kCycleView,
       {},
       command(kCmdScheduleEdit),
       kScheduleView,
       kDayEntryView,
       " -5 +2"},
      // A help command shows its text.
      {kCycleView,
       kCycleView,
       {},
       command(kCmdPillHistoryHelp),
       kHelpView,
       kCycleView,
       pill_help + " -5 +4"},
      // Cycle Charts needs a finished cycle.
      {kCycleHistoryView,
       kCycleView,
       records(u"Cycles", 1),
       command(kCmdCycleCharts),
       kCycleView,
       kCycleHistoryView,
       " -6 +5",
       {u"There are no finished cycles!"}},
      {kCycleView, kCycleView, records(u"Cycles", 2), command(kCmdCycleCharts), kCycleChartsView,
       kCycleView, " -5 +7"},
      // Temp Charts without a reading shows how to make one.
      {kCycleView,
       kCycleView,
       {},
       command(kCmdTempCharts),
       kHelpView,
       kCycleView,
       temp_help + " -5 +4"},
      {kCycleView, kCycleView, records(u"Temperature", 1), command(kCmdTempCharts), kTempChartsView,
       kCycleView, " -5 +9"},
      // Nothing leads past the password prompt.
      {kPasswordEntryView, kCycleView, [] { CDocument_::SetLocked(true); }, command(kCmdCycleView),
       kPasswordEntryView, kCycleView, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    Fresh();
    CDocument_ document;
    const ce::HINSTANCE instance = ce::GetModuleHandle(nullptr);
    CDocument_::SetInstance(instance);
    RegisterMainWindowClass(instance);
    ASSERT_NE(ce::CreateWindowEx(0, kMainWindowClass, u"Calvira", ce::WS_VISIBLE, ce::CW_USEDEFAULT,
                                 ce::CW_USEDEFAULT, ce::CW_USEDEFAULT, ce::CW_USEDEFAULT, nullptr,
                                 nullptr, instance, nullptr),
              nullptr);
    std::string heard;
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
    EXPECT_EQ(TakeBoxTexts(), row.boxes);
    ce::DestroyWindow(CDocument_::GetMainWnd());
    Pump();
  }
}

}  // namespace
}  // namespace calvira::testing
