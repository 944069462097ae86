// A window system on the headless display and the virtual clock, with a main window and a dialog
// fixture on it, for tests of the platform's dialogs, controls and message boxes. Input
// is injected with the helpers of support/input.h; a modal loop that waits for input runs the next
// queued step, lets virtual time pass to a due timer, and fails the test (ending the loop) if it
// would wait forever.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "support/input.h"

namespace calvira::testing {

// A dialog made from a template, whose procedure records the notifications, colour requests
// and taps it hears; `answer_`, when a test sets it, decides what the procedure returns.
class DialogTest : public ::testing::Test {
 protected:
  using Command = std::pair<int, int>;  // (control id, notification)
  using Answer = std::function<ce::INT_PTR(ce::HWND, ce::UINT, ce::WPARAM, ce::LPARAM)>;

  void SetUp() override {
    current_ = this;
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
    current_ = nullptr;
  }

  // Runs when a loop waits for input (timeout 0 is a poll, not a wait).
  void Idle(int32_t timeout) {
    if (timeout == 0) return;
    if (!steps_.empty()) {
      auto step = std::move(steps_.front());
      steps_.pop_front();
      return step();
    }
    if (timeout > 0) return ce::clock::Advance(static_cast<ce::DWORD>(timeout));
    ADD_FAILURE() << "the program waits for input that never comes";
    ce::PostQuitMessage(99);
  }

  // A modeless dialog of the template, as a list screen makes it; what it heard while being
  // made is forgotten.
  ce::HWND Open(int template_id) {
    dialog_ =
        ce::CreateDialogParam(nullptr, ce::MAKEINTRESOURCE(template_id), main_, &Procedure, 0);
    Pump();
    Forget();
    return dialog_;
  }
  ce::INT_PTR Modal(int template_id, ce::HWND owner, ce::LPARAM param = 0) {
    return ce::DialogBoxParam(nullptr, ce::MAKEINTRESOURCE(template_id), owner, &Procedure, param);
  }
  void Forget() {
    commands_.clear();
    colours_.clear();
    dialog_taps_ = 0;
  }
  // Runs everything queued, as a main loop with a modeless dialog does. A quit is dropped.
  void Pump() {
    ce::MSG msg;
    while (ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE)) {
      if (msg.message != ce::WM_QUIT && !ce::IsDialogMessage(dialog_, &msg)) {
        ce::TranslateMessage(&msg);
        ce::DispatchMessage(&msg);
      }
    }
  }
  // Input followed by a pump.
  void TapItem(int id) {
    Tap(Item(id));
    Pump();
  }
  void TapAt(int32_t x, int32_t y) {
    Tap(x, y);
    Pump();
  }
  void Press(ce::UINT key, ce::UINT modifier = 0) {
    Key(key, modifier);
    Pump();
  }
  void TypeText(std::u16string_view text) {
    Type(text);
    Pump();
  }

  ce::HWND Item(int id) const { return ce::GetDlgItem(dialog_, id); }
  ce::RECT Rect(int id) const { return RectOf(Item(id)); }
  ce::LRESULT Send(int id, ce::UINT message, ce::WPARAM wparam = 0, ce::LPARAM lparam = 0) const {
    return ce::SendMessage(Item(id), message, wparam, lparam);
  }
  std::u16string Text(int id) const { return ce::GetWindowString(Item(id)); }
  int FocusId() const { return ce::GetDlgCtrlID(ce::GetFocus()); }

  ce::HWND main_ = nullptr;
  std::deque<std::function<void()>> steps_;
  ce::HWND dialog_ = nullptr;
  std::vector<Command> commands_;
  std::vector<std::pair<ce::UINT, int>> colours_;  // (WM_CTLCOLOR*, control id)
  int dialog_taps_ = 0;
  Answer answer_;

 private:
  static ce::INT_PTR Procedure(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                               ce::LPARAM lparam) {
    DialogTest* t = current_;
    if (message == ce::WM_COMMAND) t->commands_.push_back({ce::LOWORD(wparam), ce::HIWORD(wparam)});
    for (ce::UINT colour :
         {ce::WM_CTLCOLORBTN, ce::WM_CTLCOLORSTATIC, ce::WM_CTLCOLOREDIT, ce::WM_CTLCOLORLISTBOX}) {
      if (message == colour) t->colours_.push_back({message, ce::GetDlgCtrlID(ce::HWND(lparam))});
    }
    t->dialog_taps_ += message == ce::WM_LBUTTONDOWN;
    if (t->answer_) return t->answer_(dialog, message, wparam, lparam);
    return message == ce::WM_INITDIALOG ? ce::TRUE : ce::FALSE;
  }
  inline static DialogTest* current_ = nullptr;
};

}  // namespace calvira::testing
