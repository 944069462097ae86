// The whole program, run for a benchmark on the headless display over a fresh data directory.
#pragma once

#include <filesystem>
#include <functional>

#include "platform/display.h"
#include "platform/types.h"

// Fills a temporary data directory with `prepare`, runs the program there with `drive` as the
// display's idle hook (it measures, then closes the window), removes the directory and returns
// the program's exit code.
int RunProgramForBenchmark(const std::function<void(const std::filesystem::path&)>& prepare,
                           ce::HeadlessDisplay::IdleHook drive);

// Dispatches everything queued, the paints included, and shows the frame.
void PumpMessages();

// Whether the control's face, cyan, is on the screen: its dialog was painted.
bool ShowsCyanControl(ce::HWND dialog, int id);
