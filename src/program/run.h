// Runs the whole program on a display: the store of a data directory mounted, the window
// system up, the resources registered, the entry point called, and everything taken down
// again. The desktop program and the scenario tests both start here.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/display.h"

struct ProgramOptions {
  std::filesystem::path data_dir;
  std::unique_ptr<ce::Display> display;
  // Called once the window system is up, before the program starts (the tests hook in here).
  std::function<void()> before_start;
};

// The exit code; 1 with `error` set when the data directory or the store cannot be used.
int RunProgram(ProgramOptions options, std::string* error);
