#include "scenarios/scenario.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "frame/commands.h"
#include "frame/ui_resources.h"
#include "platform/clock.h"
#include "platform/object_store.h"
#include "platform/reporter.h"
#include "platform/text.h"
#include "program/run.h"
#include "support/input.h"
#include "support/temp_store.h"

namespace calvira::testing {

namespace {

std::string Bytes(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// The bar button whose menu holds `command`, and the entries above it there (separators not
// counted); none when no menu holds it.
std::optional<std::pair<size_t, int>> MenuPlace(ce::UINT command) {
  const auto buttons = MenuBarButtons();
  for (size_t b = 0; b < buttons.size(); ++b) {
    int above = 0;
    for (const ce::MenuItem& item : buttons[b].items) {
      if (item.id == command) return std::pair(b, above);
      if (item.id != 0) ++above;
    }
  }
  return std::nullopt;
}

void ExpectAsCommitted(const std::filesystem::path& shot) {
  if (std::getenv("CALVIRA_SCREENSHOT_DIR") != nullptr) return;  // `make screenshots` writes them
  // The build directory lies inside the repository: the pictures are in a folder above the test
  // program.
  static const std::filesystem::path committed = [] {
    std::error_code ignored;
    std::filesystem::path dir = std::filesystem::canonical("/proc/self/exe", ignored);
    while (dir.has_relative_path() && !std::filesystem::exists(dir / "docs" / "screenshots")) {
      dir = dir.parent_path();
    }
    return dir / "docs" / "screenshots";
  }();
  const std::string drawn = Bytes(shot);
  EXPECT_TRUE(!drawn.empty() && drawn == Bytes(committed / shot.filename()))
      << shot.filename() << " is not the screen committed in docs/screenshots; run `make "
      << "screenshots` and look at the difference";
}

}  // namespace

void TakeShot(const std::filesystem::path& shot) {
  ce::FlushDisplay();
  std::filesystem::create_directories(shot.parent_path());
  EXPECT_EQ(
      ce::WritePng565(shot.string(), ce::FrameBufferPixels(), ce::kScreenWidth, ce::kFrameHeight),
      "");
  ExpectAsCommitted(shot);
}

Scenario::Scenario(const std::string& name) : name_(name), data_dir_(MakeTempDir("scenario")) {}

Scenario::~Scenario() {
  ce::clock::UseReal();
  std::error_code ignored;
  std::filesystem::remove_all(data_dir_, ignored);
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

Scenario& Scenario::OnControl(int id, std::function<void(ce::HWND, const ce::RECT&)> act) {
  return Input([this, id, act = std::move(act)] {
    const ce::HWND control = FindControl(id);
    if (control == nullptr) {
      ADD_FAILURE() << name_ << ": no visible control has the id " << id;
      return;
    }
    ce::RECT r;
    ce::GetWindowRect(control, &r);
    act(control, r);
  });
}

Scenario& Scenario::TapControl(int id) {
  return OnControl(id, [](ce::HWND control, const ce::RECT&) { testing::Tap(control); });
}

Scenario& Scenario::TapControlAt(int id, int32_t dx, int32_t dy) {
  return OnControl(
      id, [dx, dy](ce::HWND, const ce::RECT& r) { testing::Tap(r.left + dx, r.top + dy); });
}

Scenario& Scenario::TapListLine(int id, int line) {
  return OnControl(id, [line](ce::HWND list, const ce::RECT& r) {
    const auto height = static_cast<int32_t>(ce::SendMessage(list, ce::LB_GETITEMHEIGHT, 0, 0));
    // Twenty pixels in from the left keeps the tap inside the border.
    testing::Tap(r.left + 20, r.top + 2 + line * height + height / 2);
  });
}

Scenario& Scenario::TapMenuEntry(ce::UINT id) {
  return Input([this, id] {
    const std::optional<ce::RECT> entry = FindMenuEntry(id);
    if (!entry) {
      ADD_FAILURE() << name_ << ": no menu entry " << id << " is shown";
      return;
    }
    const ce::POINT p = Centre(*entry);
    testing::Tap(p.x, p.y);
  });
}

Scenario& Scenario::Menu(ce::UINT command) {
  const auto place = MenuPlace(command);
  if (!place) {
    ADD_FAILURE() << name_ << ": no menu holds the command " << command;
    return *this;
  }
  return TapMenuEntry(MenuBarButtons()[place->first].command).TapMenuEntry(command);
}

Scenario& Scenario::MenuByKeys(ce::UINT command) {
  const auto place = MenuPlace(command);
  if (!place) return Menu(command);  // which reports it
  Key(ce::VK_F10);
  for (size_t i = 0; i < place->first; ++i) Key(ce::VK_RIGHT);
  for (int i = 0; i < place->second; ++i) Key(ce::VK_DOWN);
  return Key(ce::VK_RETURN);
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
      case Step::Kind::kInput: {
        // Taken off first: the step may end the script (Close).
        const std::function<void()> act = std::move(step.act);
        steps_.pop_front();
        act();
        return;
      }
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
        testing::Key(step.answer == ce::IDCANCEL ? ce::VK_ESCAPE : ce::VK_RETURN);
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
        step.act();
        steps_.pop_front();
        continue;
      case Step::Kind::kScreenshot:
        TakeShot(step.path);
        steps_.pop_front();
        continue;
    }
  }
  // The script is over: close the window, as the user would.
  if (!closed_) {
    closed_ = true;
    ce::InjectInput({ce::InputEvent::Kind::kClose});
    return;
  }
  // A program that keeps waiting after being closed is stuck (a box nobody answers, say).
  if (++idle_after_end_ > 200) {
    ADD_FAILURE() << name_ << ": the program did not end after its window was closed";
    ce::PostQuitMessage(99);
  } else if (timeout_ms < 0) {
    testing::Key(ce::VK_ESCAPE);
  } else {
    ce::clock::Advance(static_cast<uint32_t>(timeout_ms));
  }
}

void Scenario::RunCleanly() {
  EXPECT_EQ(Run(), 0) << name_;
  for (const ce::MessageBoxReport& box : unexpected_) {
    ADD_FAILURE() << name_ << ": unexpected box " << ce::ToUtf8(box.caption) << ": "
                  << ce::ToUtf8(box.text);
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
  display->SetIdleHook([this](int32_t timeout) { OnIdle(timeout); });
  ProgramOptions options;
  options.data_dir = data_dir_;
  options.display = std::move(display);
  std::string error;
  const int code = RunProgram(std::move(options), &error);
  EXPECT_EQ(error, "") << name_;
  for (auto& box : ce::TakeMessageBoxReports()) unexpected_.push_back(box);
  EXPECT_TRUE(steps_.empty()) << name_ << ": " << steps_.size() << " steps were never played";
  ce::SetMessageBoxEcho(true);
  return code;
}

std::filesystem::path ShotPath(const char* name) {
  static const std::filesystem::path dir = [] {
    const char* set = std::getenv("CALVIRA_SCREENSHOT_DIR");
    return set != nullptr ? std::filesystem::path(set) : MakeTempDir("scenario-shots");
  }();
  return dir / name;
}

}  // namespace calvira::testing
