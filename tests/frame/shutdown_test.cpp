// Shutdown in order: every screen's OnExit in table order while the window still stands, the
// screen id kept in the context, then the window destroyed and the quit message posted.
#include <gtest/gtest.h>

#include <vector>

#include "frame/document.h"
#include "frame/main_window.h"
#include "frame/ui_resources.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace {

struct ExitRecord {
  int32_t id;
  bool window_alive;
  bool operator==(const ExitRecord&) const = default;
};

class Probe : public CPlainView_ {
 public:
  Probe(std::vector<ExitRecord>* log, int32_t id) : CPlainView_(true), log_(log), id_(id) {}
  void OnExit(AppContext*) override {
    log_->push_back({id_, ce::IsWindow(CDocument_::GetMainWnd()) != 0});
  }

 private:
  std::vector<ExitRecord>* log_;
  int32_t id_;
};

class FrameShutdown : public ::testing::Test {
 protected:
  void SetUp() override {
    ce::InitWindowSystem(std::make_unique<ce::HeadlessDisplay>(ce::kScreenWidth, ce::kFrameHeight));
    RegisterUiResources();
    ce::SetMessageBoxEcho(false);
    ce::TakeMessageBoxReports();
  }
  void TearDown() override {
    ce::ShutdownWindowSystem();
    ce::SetMessageBoxEcho(true);
  }
};

TEST_F(FrameShutdown, EveryOnExitRunsInTableOrderBeforeTheWindowGoes) {
  CDocument_ document;
  ce::HINSTANCE instance = ce::GetModuleHandle(nullptr);
  CDocument_::SetInstance(instance);
  RegisterMainWindowClass(instance);
  ce::HWND main = ce::CreateWindowEx(0, kMainWindowClass, u"Calvira", ce::WS_VISIBLE,
                                     ce::CW_USEDEFAULT, ce::CW_USEDEFAULT, ce::CW_USEDEFAULT,
                                     ce::CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  ASSERT_NE(main, nullptr);
  ce::RECT r;
  ce::GetWindowRect(main, &r);
  EXPECT_EQ(r, (ce::RECT{0, 0, 240, 268}));  // the menu bar's 26 pixels are below it
  ASSERT_NE(CDocument_::GetMenuBar(), nullptr);

  std::vector<ExitRecord> log;
  CDocument_::AddView(std::make_unique<Probe>(&log, 0), 0);
  CDocument_::AddView(std::make_unique<Probe>(&log, 5), 5);
  CDocument_::AddView(nullptr, 7);  // an empty entry is skipped without a report
  CDocument_::AddView(std::make_unique<Probe>(&log, 3), 3);
  CDocument_::SetCurrentView(0);
  CDocument_::SetPreviousView(5);

  Shutdown();
  EXPECT_EQ(log, (std::vector<ExitRecord>{{0, true}, {5, true}, {3, true}}));
  EXPECT_FALSE(ce::IsWindow(main));
  // With no current screen the previous one is kept, and becomes current.
  EXPECT_EQ(CDocument_::Context().words[1], 5);
  EXPECT_EQ(CDocument_::GetCurrentView(), 5);
  ce::MSG msg;
  ASSERT_TRUE(ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE));
  EXPECT_EQ(msg.message, ce::WM_QUIT);
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_TRUE(ce::TakeMessageBoxReports().empty());
}

}  // namespace
