// calvira: the desktop program.
//
//   calvira [--data-dir DIR]
//   calvira --inspect [--data-dir DIR]
//   calvira --screenshot FILE [--data-dir DIR]
//   calvira -h | --help | --version
//
// CALVIRA_SCALE (1-6) fixes the window's scale; without it the largest scale that fits the
// desktop comfortably is used. A second start with the same data directory brings the running
// copy to the front and exits with 0. --inspect prints the running copy's window tree as JSON
// lines, --screenshot saves its frame as a PNG; neither opens a window of its own.
//
// A start that fails shows why in a message box as well as on standard error;
// CALVIRA_NO_ERROR_BOX set keeps the box away (for scripts).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "frame/app.h"
#include "platform/command_line.h"
#include "platform/control_socket.h"
#include "platform/data_dir.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/single_instance.h"
#include "platform/text.h"
#include "platform/window.h"
#include "platform/window_tree.h"
#include "program/run.h"

namespace {

std::chrono::steady_clock::time_point g_started;
int g_scale = 0;  // CALVIRA_SCALE, once read

// CALVIRA_REPORT_STARTUP=1 prints how long the way from main() to the first screen took.
void ReportFirstScreen() {
  const auto elapsed = std::chrono::steady_clock::now() - g_started;
  std::fprintf(stderr, "calvira: first screen shown %.1f ms after start\n",
               std::chrono::duration<double, std::milli>(elapsed).count());
}

constexpr const char* kUsage =
    "Usage: calvira [--data-dir DIR]\n"
    "       calvira --inspect [--data-dir DIR]\n"
    "       calvira --screenshot FILE [--data-dir DIR]\n"
    "\n"
    "Options:\n"
    "  --data-dir DIR     use DIR instead of the data directory\n"
    "                     ($CALVIRA_DATA_DIR, $XDG_DATA_HOME/calvira or ~/.local/share/calvira)\n"
    "  --inspect          print the running copy's window tree as JSON lines\n"
    "  --screenshot FILE  save the running copy's screen as a PNG\n"
    "  -h, --help         show this help\n"
    "  --version          show the version\n";

// A start that fails says why on standard error and, for whoever started from a menu and sees
// no terminal, in a message box.
int StartFailed(const std::string& message) {
  std::fprintf(stderr, "calvira: %s\n", message.c_str());
  if (std::getenv("CALVIRA_NO_ERROR_BOX") == nullptr) {
    ce::ShowErrorWindow(u"Calvira", ce::FromUtf8("Calvira cannot start.\n" + message), g_scale);
  }
  return 1;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "calvira: %s\nTry 'calvira --help'.\n", message.c_str());
  return ce::kExitUsage;
}

// Asks the copy running on `data_dir`; prints why not and returns false when it cannot.
bool Ask(const std::filesystem::path& data_dir, const char* request, std::string* answer) {
  std::string error;
  switch (ce::AskRunningCopy(data_dir, request, std::chrono::seconds(5), answer, &error)) {
    case ce::AskResult::kAnswered:
      if (answer->rfind("error: ", 0) == 0) {
        std::fprintf(stderr, "calvira: the running copy says: %s", answer->c_str() + 7);
        return false;
      }
      return true;
    case ce::AskResult::kNobody:
      std::fprintf(stderr, "calvira: no running copy for %s\n", data_dir.c_str());
      return false;
    case ce::AskResult::kFailed:
      std::fprintf(stderr, "calvira: %s\n", error.c_str());
      return false;
  }
  return false;
}

int Inspect(const std::filesystem::path& data_dir) {
  std::string answer;
  if (!Ask(data_dir, "inspect", &answer)) return 1;
  std::fwrite(answer.data(), 1, answer.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int Screenshot(const std::filesystem::path& data_dir, const std::string& file) {
  std::string answer;
  if (!Ask(data_dir, "screenshot", &answer)) return 1;
  int width = 0, height = 0, header = 0;
  const size_t line_end = answer.find('\n');
  if (line_end == std::string::npos ||
      std::sscanf(answer.c_str(), "frame %d %d%n", &width, &height, &header) != 2 ||
      static_cast<size_t>(header) != line_end || width <= 0 || height <= 0 || width > 4096 ||
      height > 4096 ||
      answer.size() - line_end - 1 !=
          static_cast<size_t>(width) * static_cast<size_t>(height) * 2) {
    std::fprintf(stderr, "calvira: the running copy sent a frame that cannot be read\n");
    return 1;
  }
  std::vector<uint16_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  const auto* bytes = reinterpret_cast<const unsigned char*>(answer.data() + line_end + 1);
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  if (const std::string failed = ce::WritePng565(file, pixels.data(), width, height);
      !failed.empty()) {
    std::fprintf(stderr, "calvira: %s\n", failed.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  g_started = std::chrono::steady_clock::now();
  if (const char* report = std::getenv("CALVIRA_REPORT_STARTUP"); report && *report == '1') {
    SetFirstScreenHook(&ReportFirstScreen);
  }
  std::filesystem::path data_dir = ce::DefaultDataDirectory();
  bool inspect = false;
  std::string screenshot;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string value, error;
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("calvira %s\n", CALVIRA_VERSION);
      return 0;
    }
    if (ce::TakeOption(argc, argv, &i, "--data-dir", &value, &error)) {
      data_dir = value;
    } else if (ce::TakeOption(argc, argv, &i, "--screenshot", &value, &error)) {
      screenshot = value;
    } else if (arg == "--inspect") {
      inspect = true;
    } else if (arg.starts_with("-")) {
      return UsageError("unknown option '" + std::string(arg) + "'");
    } else {
      return UsageError("unexpected argument '" + std::string(arg) + "'");
    }
    if (!error.empty()) return UsageError(error);
  }
  if (inspect && !screenshot.empty()) {
    return UsageError("--inspect and --screenshot cannot be used together");
  }
  if (inspect) return Inspect(data_dir);
  if (!screenshot.empty()) return Screenshot(data_dir, screenshot);
  int& scale = g_scale;
  if (const char* value = std::getenv("CALVIRA_SCALE")) {
    scale = std::atoi(value);
    if (scale < 1 || scale > 6) {
      std::fprintf(stderr, "calvira: CALVIRA_SCALE must be 1 to 6, not \"%s\"\n", value);
      return ce::kExitUsage;
    }
  }
  // From here on the real directory: the lock, the socket and the store inside it are opened
  // without following links.
  std::filesystem::path real_dir;
  if (const std::string made = ce::EnsureDataDirectory(data_dir, &real_dir); !made.empty()) {
    return StartFailed(made);
  }
  data_dir = real_dir;

  ce::SingleInstance::Outcome outcome;
  std::string error;
  auto instance = ce::SingleInstance::Acquire(data_dir, &outcome, &error);
  if (outcome == ce::SingleInstance::Outcome::kRaised) return 0;
  if (outcome == ce::SingleInstance::Outcome::kFailed) return StartFailed(error);
  if (!error.empty()) std::fprintf(stderr, "calvira: %s\n", error.c_str());

  auto display = ce::CreateSdlDisplay(ce::kScreenWidth, ce::kFrameHeight, "Calvira", scale, &error);
  if (display == nullptr) return StartFailed("cannot open a window: " + error);

  ProgramOptions options;
  options.data_dir = data_dir;
  options.display = std::move(display);
  options.before_start = [&instance] {
    if (instance == nullptr || instance->Server() == nullptr) return;
    ce::ControlServer* server = instance->Server();
    ce::SetExternalSource({
        .watch = [server](std::vector<pollfd>& fds) { return server->Watch(fds); },
        .serve = [server] { server->Serve(&ce::AnswerControlRequest); },
    });
  };
  const int code = RunProgram(std::move(options), &error);
  if (!error.empty() && code != 0) return StartFailed(error);
  return code;
}
