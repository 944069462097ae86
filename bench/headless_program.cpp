#include "headless_program.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "program/run.h"

int RunProgramForBenchmark(const std::function<void(const std::filesystem::path&)>& prepare,
                           ce::HeadlessDisplay::IdleHook drive) {
  char pattern[] = "/tmp/calvira-bench-XXXXXX";
  const std::filesystem::path dir = mkdtemp(pattern);
  ce::SetMessageBoxEcho(true);
  prepare(dir);
  auto display = std::make_unique<ce::HeadlessDisplay>(ce::kScreenWidth, ce::kFrameHeight);
  display->SetIdleHook(std::move(drive));
  ProgramOptions options;
  options.data_dir = dir;
  options.display = std::move(display);
  std::string error;
  const int code = RunProgram(std::move(options), &error);
  if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  std::filesystem::remove_all(dir);
  return code;
}

void PumpMessages() {
  ce::MSG msg;
  while (ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE)) {
    ce::TranslateMessage(&msg);
    ce::DispatchMessage(&msg);
  }
  ce::FlushDisplay();
}

bool ShowsCyanControl(ce::HWND dialog, int id) {
  ce::RECT r{};
  ce::GetWindowRect(ce::GetDlgItem(dialog, id), &r);
  return ce::FrameBufferPixels()[static_cast<size_t>(r.top + 3) * ce::kScreenWidth +
                                 static_cast<size_t>(r.left + 3)] == 0x07FF;
}
