// The frame's navigation, one row per rule: which screen a switch, a going back or a menu
// command reaches, which screen counts as the previous one afterwards, the order in which the
// screens hear of it (parameters before the switch, the old screen let go before the new one
// comes), and the menu commands that must find records first. Screens are probes that log
// what the frame tells them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
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

// Logs "p<id>:<number>" for parameters, "+<id>" when activated, "-<id>" when let go and "x<id>"
// on exit, marked "!" when the main window was gone by then.
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
  void OnExit(AppContext*) override {
    *log_ += " x" + id_ + (ce::IsWindow(CDocument_::GetMainWnd()) ? "" : "!");
  }

 private:
  std::string* log_;
  std::string id_;
};

class Frame : public RecordStoreTest {
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
  static ce::HWND MakeMainWindow() {
    const ce::HINSTANCE instance = ce::GetModuleHandle(nullptr);
    CDocument_::SetInstance(instance);
    RegisterMainWindowClass(instance);
    return ce::CreateWindowEx(0, kMainWindowClass, u"Calvira", ce::WS_VISIBLE, ce::CW_USEDEFAULT,
                              ce::CW_USEDEFAULT, ce::CW_USEDEFAULT, ce::CW_USEDEFAULT, nullptr,
                              nullptr, instance, nullptr);
  }
};

// Acting on a screen with a previous one; then the screens and what they heard.
struct Row {
  std::function<void()> act;
  int32_t current, previous, then_current, then_previous;
  std::string heard;
  std::function<void()> before = nullptr;  // records the command needs, a lock
  std::u16string box = u"";
};

TEST_F(Frame, EachWayToAnotherScreenKeepsItsRules) {
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
  const int32_t cycle = kCycleView, history = kCycleHistoryView, help = kHelpView;
  const std::string help_text = " p4:", pill_help = help_text + std::to_string(kStrPillHistoryHelp),
                    temp_help = help_text + std::to_string(kStrTempChartsHelp);
  const Row rows[] = {
      // A remembered screen becomes the previous one; one not remembered leaves it.
      {set_view(history), cycle, kAboutView, history, cycle, " -5 +6"},
      {set_view(kAboutView), help, cycle, kAboutView, cycle, " -4 +0"},
      // Going back reaches the previous screen.
      {CDocument_::GoBack, history, cycle, cycle, history, " -6 +5"},
      // Parameters reach the next screen before it comes.
      {pass_params, cycle, cycle, kPredictionView, cycle, " p12:7 -5 +12"},
      // Schedule Edit hands its days to the day entry editor.
      {command(kCmdScheduleEdit), cycle, cycle, kScheduleView, kDayEntryView, " -5 +2"},
      // A help command shows its text.
      {command(kCmdPillHistoryHelp), cycle, cycle, help, cycle, pill_help + " -5 +4"},
      // Cycle Charts needs a finished cycle.
      {command(kCmdCycleCharts), history, cycle, cycle, history, " -6 +5", records(u"Cycles", 1),
       u"There are no finished cycles!"},
      {command(kCmdCycleCharts), cycle, cycle, kCycleChartsView, cycle, " -5 +7",
       records(u"Cycles", 2)},
      // Temp Charts without a reading shows how to make one.
      {command(kCmdTempCharts), cycle, cycle, help, cycle, temp_help + " -5 +4"},
      {command(kCmdTempCharts), cycle, cycle, kTempChartsView, cycle, " -5 +9",
       records(u"Temperature", 1)},
      // Nothing leads past the password prompt.
      {command(kCmdCycleView), kPasswordEntryView, cycle, kPasswordEntryView, cycle, "",
       [] { CDocument_::SetLocked(true); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(&row - rows);
    Fresh();
    CDocument_ document;
    ASSERT_NE(MakeMainWindow(), nullptr);
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
    const std::vector<std::u16string> boxes = TakeBoxTexts();
    EXPECT_EQ((std::tuple{CDocument_::GetCurrentView(), CDocument_::GetPreviousView(), heard,
                          boxes.empty() ? u"" : boxes.back(), boxes.size() <= 1}),
              std::tuple(row.then_current, row.then_previous, row.heard, row.box, true));
    ce::DestroyWindow(CDocument_::GetMainWnd());
    Pump();
  }
}

// Shutdown in order: every screen's OnExit in table order while the window still stands, the
// screen id kept in the context, then the window destroyed and the quit message posted.
TEST_F(Frame, EveryOnExitRunsInTableOrderBeforeTheWindowGoes) {
  CDocument_ document;
  const ce::HWND main = MakeMainWindow();
  std::string log;
  for (int32_t id : {0, 5, 7, 3}) {
    // An empty entry is skipped without a report.
    CDocument_::AddView(id == 7 ? nullptr : std::make_unique<Probe>(&log, id, true), id);
  }
  CDocument_::SetCurrentView(0);
  CDocument_::SetPreviousView(5);
  Shutdown();
  EXPECT_EQ(log, " x0 x5 x3");
  // With no current screen the previous one is kept, and becomes current.
  EXPECT_EQ((std::tuple{ce::IsWindow(main), CDocument_::Context().words[1],
                        CDocument_::GetCurrentView()}),
            std::tuple(false, 5, 5));
  ce::MSG msg;
  ASSERT_TRUE(ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE));
  EXPECT_EQ(std::tuple(msg.message, msg.wParam), std::tuple(ce::WM_QUIT, 0u));
  EXPECT_TRUE(TakeBoxTexts().empty());
}

}  // namespace
}  // namespace calvira::testing
