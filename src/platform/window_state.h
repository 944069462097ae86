// The window system's run-time state, and the helpers its three parts share: the window tree
// (window.cpp), the message queue with its timers (message_queue.cpp), and input, focus and
// activation (focus.cpp). Nothing outside those files includes it.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/display.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace ce::internal {

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT period;
  DWORD due;
  TIMERPROC proc;
};

struct State {
  std::unique_ptr<Display> display;
  bool running = false;
  std::map<std::u16string, WindowClass> classes;
  std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
  uintptr_t next_handle = 0x100;
  std::vector<HWND> top_level;  // back to front
  std::deque<MSG> posted;
  std::deque<InputEvent> input;
  std::deque<MSG> input_messages;
  bool quit_posted = false;
  int quit_code = 0;
  std::vector<Timer> timers;
  UINT_PTR next_timer_id = 0x7F00;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  HWND main = nullptr;  // the first overlapped window: it hears of activation and closing
  bool application_active = true;
  bool pen_down = false;
  std::vector<UINT> keys_down;
  bool input_panel_button = true;
  ExternalSource external;
  bool serving = false;  // the external source is being served (its answers may send messages)
};

State& S();
// The tick count messages are stamped with.
DWORD Now();
// The root of a window: the top-level window that contains it.
Window* Root(Window* w);
// Turns one input event into the message it means, taking activation into account (focus.cpp).
void TranslateInput(const InputEvent& e);

}  // namespace ce::internal
