// A window system on the headless display and the virtual clock, with a main window, for tests
// of the platform's windows, dialogs, controls and message boxes. Input is injected with the
// helpers of support/input.h; a modal loop that waits for input runs the next queued step, lets
// virtual time pass to a due timer, and fails the test (ending the loop) if it would wait forever.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "support/input.h"

namespace calvira::testing {

class HeadlessWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ce::clock::UseVirtual(1000, ce::SYSTEMTIME{2004, 3, 0, 14, 9, 0, 0, 0});
    auto display = std::make_unique<ce::HeadlessDisplay>(ce::kScreenWidth, ce::kFrameHeight);
    display->SetIdleHook([this](int32_t timeout) { Idle(timeout); });
    ce::InitWindowSystem(std::move(display));
    ce::SetMessageBoxEcho(false);
    ce::SetMessageBoxHook({});
    ce::TakeMessageBoxReports();
    ce::WNDCLASS wc{};
    wc.lpfnWndProc = &ce::DefWindowProc;
    wc.hbrBackground = ce::GetStockObject(ce::WHITE_BRUSH);
    wc.lpszClassName = u"HeadlessTestMain";
    ce::RegisterClass(&wc);
    main_ =
        ce::CreateWindowEx(0, u"HeadlessTestMain", u"Main", ce::WS_VISIBLE, 0, 0, ce::kScreenWidth,
                           ce::kScreenHeight, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    ce::ShutdownWindowSystem();
    ce::clock::UseReal();
    ce::TakeMessageBoxReports();
    ce::SetMessageBoxEcho(true);
  }

  // Runs when a loop waits for input (timeout 0 is a poll, not a wait).
  void Idle(int32_t timeout) {
    if (timeout == 0) return;
    if (!steps_.empty()) {
      auto step = std::move(steps_.front());
      steps_.pop_front();
      step();
      return;
    }
    if (timeout > 0) {
      ce::clock::Advance(static_cast<ce::DWORD>(timeout));
      return;
    }
    ADD_FAILURE() << "the program waits for input that never comes";
    ce::PostQuitMessage(99);
  }

  ce::HWND main_ = nullptr;
  std::deque<std::function<void()>> steps_;
};

}  // namespace calvira::testing
