#include "scenarios/scenario.h"

#include "frame/commands.h"
#include "frame/ui_resources.h"
#include "platform/clock.h"
#include "platform/menu_bar.h"
#include "platform/object_store.h"
#include "platform/reporter.h"
#include "platform/text.h"
#include "program/run.h"
#include "support/temp_store.h"

namespace calvira::testing {

namespace {

ce::InputEvent Event(ce::InputEvent::Kind kind, int32_t x = 0, int32_t y = 0, uint32_t key = 0,
                     char16_t ch = 0) {
  ce::InputEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.key = key;
  e.ch = ch;
  return e;
}

}  // namespace

Scenario::Scenario(const std::string& name) : name_(name), data_dir_(MakeTempDir("scenario")) {}

Scenario::~Scenario() {
  ce::clock::UseReal();
  std::error_code ignored;
  std::filesystem::remove_all(data_dir_, ignored);
}

Scenario::Step Scenario::Of(Step::Kind kind, std::vector<ce::InputEvent> events) {
  Step step;
  step.kind = kind;
  step.events = std::move(events);
  return step;
}

Scenario& Scenario::Add(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

Scenario& Scenario::Before(std::function<void()> prepare) {
  prepare_ = std::move(prepare);
  return *this;
}

Scenario& Scenario::Today(uint16_t year, uint16_t month, uint16_t day) {
  today_.wYear = year;
  today_.wMonth = month;
  today_.wDay = day;
  return *this;
}

Scenario& Scenario::StartTick(ce::DWORD tick) {
  start_tick_ = tick;
  return *this;
}

Scenario& Scenario::Tap(int32_t x, int32_t y) {
  using K = ce::InputEvent::Kind;
  return Add(Of(Step::Kind::kInput, {Event(K::kPenDown, x, y), Event(K::kPenUp, x, y)}));
}

Scenario& Scenario::Key(ce::UINT key) {
  using K = ce::InputEvent::Kind;
  return Add(Of(Step::Kind::kInput, {Event(K::kKeyDown, 0, 0, key), Event(K::kKeyUp, 0, 0, key)}));
}

Scenario& Scenario::Type(const std::u16string& text) {
  Step step = Of(Step::Kind::kInput);
  for (char16_t c : text) step.events.push_back(Event(ce::InputEvent::Kind::kChar, 0, 0, 0, c));
  return Add(std::move(step));
}

Scenario& Scenario::Menu(ce::UINT command) {
  const auto buttons = MenuBarButtons();
  for (size_t b = 0; b < buttons.size(); ++b) {
    int32_t height = 2 * ce::kMenuBorder;
    for (const ce::MenuItem& item : buttons[b].items) {
      height += item.id == 0 ? ce::kMenuSeparatorHeight : ce::kMenuItemHeight;
    }
    int32_t top = ce::kScreenHeight - height + ce::kMenuBorder;
    for (const ce::MenuItem& item : buttons[b].items) {
      if (item.id == command) {
        const int32_t button_x = static_cast<int32_t>(b) * ce::kMenuButtonWidth + 20;
        Tap(button_x, ce::kScreenHeight + 13);
        return Tap(static_cast<int32_t>(b) * ce::kMenuButtonWidth + 40, top + 9);
      }
      top += item.id == 0 ? ce::kMenuSeparatorHeight : ce::kMenuItemHeight;
    }
  }
  ADD_FAILURE() << "no menu item has the command " << command;
  return *this;
}

Scenario& Scenario::ExpectBox(const std::u16string& caption, const std::u16string& text,
                              int answer) {
  Step step = Of(Step::Kind::kBox);
  step.caption = caption;
  step.text = text;
  step.answer = answer;
  return Add(std::move(step));
}

Scenario& Scenario::Wait(uint32_t milliseconds) {
  Step step = Of(Step::Kind::kWait);
  step.wait = milliseconds;
  return Add(std::move(step));
}

Scenario& Scenario::Check(std::function<void()> check) {
  Step step = Of(Step::Kind::kCheck);
  step.check = std::move(check);
  return Add(std::move(step));
}

Scenario& Scenario::Screenshot(const std::filesystem::path& path) {
  Step step = Of(Step::Kind::kScreenshot);
  step.path = path;
  return Add(std::move(step));
}

Scenario& Scenario::Close() {
  return Add(Of(Step::Kind::kClose, {}));
}

uint16_t Scenario::PixelAt(int32_t x, int32_t y) {
  ce::FlushDisplay();
  return ce::FrameBufferPixels()[static_cast<size_t>(y) * ce::kScreenWidth + x];
}

void Scenario::OnIdle(int32_t timeout_ms) {
  // A poll is not a wait: the program has more to do before it needs the user.
  if (timeout_ms == 0) return;
  for (auto& box : ce::TakeMessageBoxReports()) unexpected_.push_back(box);
  while (!steps_.empty()) {
    Step& step = steps_.front();
    switch (step.kind) {
      case Step::Kind::kInput:
        for (const ce::InputEvent& e : step.events) display_->Push(e);
        steps_.pop_front();
        return;
      case Step::Kind::kBox: {
        if (unexpected_.empty()) {
          ADD_FAILURE() << name_ << ": expected the box \"" << ce::ToUtf8(step.text)
                        << "\", but the program waits for input without one";
        } else {
          const ce::MessageBoxReport box = unexpected_.back();
          unexpected_.pop_back();
          EXPECT_EQ(ce::ToUtf8(box.caption), ce::ToUtf8(step.caption)) << name_;
          EXPECT_EQ(ce::ToUtf8(box.text), ce::ToUtf8(step.text)) << name_;
        }
        const ce::UINT key = step.answer == ce::IDCANCEL ? ce::VK_ESCAPE : ce::VK_RETURN;
        display_->Push(Event(ce::InputEvent::Kind::kKeyDown, 0, 0, key));
        display_->Push(Event(ce::InputEvent::Kind::kKeyUp, 0, 0, key));
        steps_.pop_front();
        return;
      }
      case Step::Kind::kWait: {
        const uint32_t slice =
            timeout_ms < 0 ? step.wait
                           : std::min<uint32_t>(step.wait, static_cast<uint32_t>(timeout_ms));
        ce::clock::Advance(slice);
        step.wait -= slice;
        if (step.wait == 0) steps_.pop_front();
        return;
      }
      case Step::Kind::kCheck:
        ce::FlushDisplay();
        step.check();
        steps_.pop_front();
        continue;
      case Step::Kind::kScreenshot: {
        ce::FlushDisplay();
        std::filesystem::create_directories(step.path.parent_path());
        EXPECT_EQ(ce::WritePng565(step.path.string(), ce::FrameBufferPixels(), ce::kScreenWidth,
                                  ce::kFrameHeight),
                  "");
        steps_.pop_front();
        continue;
      }
      case Step::Kind::kClose:
        steps_.pop_front();
        display_->Push(Event(ce::InputEvent::Kind::kClose));
        closed_ = true;
        return;
    }
  }
  // The script is over: close the window, as the user would.
  if (!closed_) {
    closed_ = true;
    display_->Push(Event(ce::InputEvent::Kind::kClose));
    return;
  }
  // A program that keeps waiting after being closed is stuck (a box nobody answers, say).
  if (++idle_after_end_ > 200) {
    ADD_FAILURE() << name_ << ": the program did not end after its window was closed";
    ce::PostQuitMessage(99);
  } else if (timeout_ms < 0) {
    display_->Push(Event(ce::InputEvent::Kind::kKeyDown, 0, 0, ce::VK_ESCAPE));
    display_->Push(Event(ce::InputEvent::Kind::kKeyUp, 0, 0, ce::VK_ESCAPE));
  } else {
    ce::clock::Advance(static_cast<uint32_t>(timeout_ms));
  }
}

int Scenario::Run() {
  ce::clock::UseVirtual(start_tick_, today_);
  ce::SetMessageBoxHook(nullptr);
  ce::SetMessageBoxEcho(false);
  ce::TakeMessageBoxReports();
  ce::objectstore::SetReporter(&ce::ForegroundMessageBox);  // as RunProgram, for prepare_ too
  if (prepare_) {
    EXPECT_EQ(ce::objectstore::Mount(data_dir_), "");
    prepare_();
    ce::objectstore::Unmount();
  }
  auto display = std::make_unique<ce::HeadlessDisplay>(ce::kScreenWidth, ce::kFrameHeight);
  display_ = display.get();
  display->SetIdleHook([this](int32_t timeout) { OnIdle(timeout); });
  ProgramOptions options;
  options.data_dir = data_dir_;
  options.display = std::move(display);
  std::string error;
  const int code = RunProgram(std::move(options), &error);
  EXPECT_EQ(error, "") << name_;
  for (auto& box : ce::TakeMessageBoxReports()) unexpected_.push_back(box);
  EXPECT_TRUE(steps_.empty()) << name_ << ": " << steps_.size() << " steps were never played";
  display_ = nullptr;
  ce::SetMessageBoxEcho(true);
  return code;
}

}  // namespace calvira::testing
