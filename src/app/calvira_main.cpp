// calvira: the desktop program.
//
//   calvira [--data-dir DIR]
//
// CALVIRA_SCALE (1-6) fixes the window's scale; without it the largest scale that fits the
// desktop comfortably is used. A second start with the same data directory brings the running
// copy to the front and exits with 0.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/app.h"
#include "platform/data_dir.h"
#include "platform/single_instance.h"
#include "platform/window.h"
#include "program/run.h"

namespace {

std::chrono::steady_clock::time_point g_started;

// CALVIRA_REPORT_STARTUP=1 prints how long the way from main() to the first screen took.
void ReportFirstScreen() {
  const auto elapsed = std::chrono::steady_clock::now() - g_started;
  std::fprintf(stderr, "calvira: first screen shown %.1f ms after start\n",
               std::chrono::duration<double, std::milli>(elapsed).count());
}

int Usage() {
  std::fprintf(stderr, "usage: calvira [--data-dir DIR]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  g_started = std::chrono::steady_clock::now();
  if (const char* report = std::getenv("CALVIRA_REPORT_STARTUP"); report && *report == '1') {
    SetFirstScreenHook(&ReportFirstScreen);
  }
  std::filesystem::path data_dir = ce::DefaultDataDirectory();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data-dir") == 0 && i + 1 < argc) {
      data_dir = argv[++i];
    } else if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("usage: calvira [--data-dir DIR]\n");
      return 0;
    } else {
      return Usage();
    }
  }
  if (const std::string made = ce::EnsureDataDirectory(data_dir); !made.empty()) {
    std::fprintf(stderr, "calvira: %s\n", made.c_str());
    return 1;
  }

  ce::SingleInstance::Outcome outcome;
  std::string error;
  auto instance = ce::SingleInstance::Acquire(data_dir, &outcome, &error);
  if (outcome == ce::SingleInstance::Outcome::kRaised) return 0;
  if (outcome == ce::SingleInstance::Outcome::kFailed) {
    std::fprintf(stderr, "calvira: %s\n", error.c_str());
    return 1;
  }
  if (!error.empty()) std::fprintf(stderr, "calvira: %s\n", error.c_str());

  int scale = 0;
  if (const char* value = std::getenv("CALVIRA_SCALE")) {
    scale = std::atoi(value);
    if (scale < 1 || scale > 6) {
      std::fprintf(stderr, "calvira: CALVIRA_SCALE must be 1 to 6, not \"%s\"\n", value);
      return 2;
    }
  }
  auto display = ce::CreateSdlDisplay(ce::kScreenWidth, ce::kFrameHeight, "Calvira", scale, &error);
  if (display == nullptr) {
    std::fprintf(stderr, "calvira: cannot open a window: %s\n", error.c_str());
    return 1;
  }

  ProgramOptions options;
  options.data_dir = data_dir;
  options.display = std::move(display);
  options.before_start = [&instance] {
    if (instance != nullptr && instance->RaiseRequestFd() >= 0) {
      ce::SingleInstance* raw = instance.get();
      ce::SetRaiseRequestSource(raw->RaiseRequestFd(), [raw] { return raw->TakeRaiseRequests(); });
    }
  };
  const int code = RunProgram(std::move(options), &error);
  if (!error.empty() && code != 0) std::fprintf(stderr, "calvira: %s\n", error.c_str());
  return code;
}
