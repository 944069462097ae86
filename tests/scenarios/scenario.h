// Scenario tests: the real program, in this process, on the headless display and the virtual
// clock. A script of steps is played whenever the program waits for input: taps, keys, typed
// text, menu commands, message boxes expected and answered, time passing, checks and
// screenshots. A step that aims at a control or a menu entry finds it when it is played, as
// `calvira --inspect` would show it then. When the script ends, the window's close button is
// pressed.
//
//   Scenario s("first start");
//   s.Menu(40070).ExpectBox(u"Calvira", u"There are no finished cycles!", ce::IDOK);
//   s.Check([] { EXPECT_EQ(CDocument_::GetCurrentView(), kCycleView); });
//   EXPECT_EQ(s.Run(), 0);
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "support/input.h"

namespace calvira::testing {

class Scenario {
 public:
  explicit Scenario(const std::string& name);
  ~Scenario();

  // Runs with the store mounted before the program starts (to prepare records).
  Scenario& Before(std::function<void()> prepare);
  // The virtual clock's "today" (UTC) at start.
  Scenario& Today(uint16_t year, uint16_t month, uint16_t day);
  // The tick counter's value when the program starts.
  Scenario& StartTick(ce::DWORD tick) {
    start_tick_ = tick;
    return *this;
  }

  // A tap at a point: for backgrounds that answer a tap anywhere.
  Scenario& Tap(int32_t x, int32_t y) {
    return Input([x, y] { testing::Tap(x, y); });
  }
  // A tap in the middle of the topmost visible window with this control id.
  Scenario& TapControl(int id);
  // A tap at (dx, dy) from the top left of that control: a list box's first line.
  Scenario& TapControlAt(int id, int32_t dx, int32_t dy);
  // A tap on line `line` (0 = the first shown) of the topmost visible list box with this id.
  Scenario& TapListLine(int id, int line);
  // A tap on the topmost visible menu entry with this id: a bar button by its command, or an
  // item of the open menu.
  Scenario& TapMenuEntry(ce::UINT id);
  // Opens the bar button that holds the command and taps the item, as a user would.
  Scenario& Menu(ce::UINT command);
  // The same by keys: F10, Right to the menu, Down to the item, Enter.
  Scenario& MenuByKeys(ce::UINT command);
  // A key, held with `modifier` (VK_CONTROL, VK_SHIFT) when one is given.
  Scenario& Key(ce::UINT key, ce::UINT modifier = 0) {
    return Input([key, modifier] { testing::Key(key, modifier); });
  }
  Scenario& Type(const std::u16string& text) {
    return Input([text] { testing::Type(text); });
  }
  // The next thing the program does is show this box; it is answered with `answer`
  // (ce::IDOK or ce::IDCANCEL) by its keyboard interface.
  Scenario& ExpectBox(const std::u16string& caption, const std::u16string& text, int answer) {
    return Add({.kind = Step::Kind::kBox, .caption = caption, .text = text, .answer = answer});
  }
  // Lets virtual time pass while the program runs (ticks, timers).
  Scenario& Wait(uint32_t ms) { return Add({.kind = Step::Kind::kWait, .wait = ms}); }
  Scenario& Check(std::function<void()> check) {
    return Add({.kind = Step::Kind::kCheck, .act = std::move(check)});
  }
  Scenario& Screenshot(const std::filesystem::path& path) {
    return Add({.kind = Step::Kind::kScreenshot, .path = path});
  }

  // Runs the program to its end and returns its exit code.
  int Run();
  // Runs it and expects exit code 0 and no message box that no step expected.
  void RunCleanly();

  const std::filesystem::path& DataDir() const { return data_dir_; }
  // The last frame shown, kScreenWidth x kFrameHeight.
  static uint16_t PixelAt(int32_t x, int32_t y);

 private:
  struct Step {
    enum class Kind { kInput, kBox, kWait, kCheck, kScreenshot };
    Kind kind = Kind::kInput;
    // kInput: queues the input, aiming where the program shows things now; kCheck: the check.
    std::function<void()> act = {};
    std::u16string caption = {}, text = {};
    int answer = 0;
    uint32_t wait = 0;
    std::filesystem::path path = {};
  };
  void OnIdle(int32_t timeout_ms);
  Scenario& Add(Step step) {
    steps_.push_back(std::move(step));
    return *this;
  }
  Scenario& Input(std::function<void()> act) {
    return Add({.kind = Step::Kind::kInput, .act = std::move(act)});
  }
  // An input step on the topmost visible control with this id, given it and its rectangle.
  Scenario& OnControl(int id, std::function<void(ce::HWND, const ce::RECT&)> act);

  std::string name_;
  std::filesystem::path data_dir_;
  std::function<void()> prepare_;
  ce::SYSTEMTIME today_{2026, 12, 0, 6, 9, 0, 0, 0};
  ce::DWORD start_tick_ = 1000;
  std::deque<Step> steps_;
  std::vector<ce::MessageBoxReport> unexpected_;
  int idle_after_end_ = 0;
  bool closed_ = false;
};

// Where a scenario's screenshot goes: `make screenshots` collects them in docs/screenshots;
// otherwise they go to a scratch folder.
std::filesystem::path ShotPath(const char* name);

// Writes the frame shown to `shot`. Away from `make screenshots`, it is compared with the
// committed picture of its name, to the byte: the screens drawn are the README's, and any change
// to what they show is seen.
void TakeShot(const std::filesystem::path& shot);

// A colour as the frame buffer holds it.
constexpr uint16_t Rgb565(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

}  // namespace calvira::testing
