// calvira-data run as a user runs it, and the files it reads and writes.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_store.h"

namespace calvira::testing {

inline std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct ToolRun {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs calvira-data with `input` as its standard input: never a terminal, so that nothing waits
// for a password to be typed.
// A command line run by the shell, `input` on its standard input.
inline ToolRun RunCommand(const std::string& command, const std::string& input = {}) {
  const std::filesystem::path scratch = MakeTempDir("calvira-run");
  WriteFile(scratch / "in", input);
  const std::string line = command + " <" + (scratch / "in").string() + " >" +
                           (scratch / "out").string() + " 2>" + (scratch / "err").string();
  const int status = std::system(line.c_str());
  ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(scratch / "out"),
              ReadAll(scratch / "err")};
  std::filesystem::remove_all(scratch);
  return run;
}

inline ToolRun RunTool(const std::string& args, const std::string& input = {}) {
  return RunCommand(std::string(CALVIRA_DATA_EXE) + " " + args, input);
}

// The exit code, with standard error in *err.
inline int Tool(const std::string& args, std::string* err = nullptr) {
  ToolRun run = RunTool(args);
  if (err) *err = run.err;
  return run.code;
}

}  // namespace calvira::testing
