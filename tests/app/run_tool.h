// calvira-data run as a user runs it, and the files it reads and writes.
#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
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

// The exit code of a command on the data directory `dir`, with standard error in *err.
inline int Tool(const std::filesystem::path& dir, const std::string& args,
                std::string* err = nullptr) {
  ToolRun run = RunTool("--data-dir " + dir.string() + " " + args);
  if (err) *err = run.err;
  return run.code;
}

// A disk of 256 KiB at `path` for as long as this lives, to be filled; mounting it needs root.
struct SmallDisk {
  explicit SmallDisk(const std::filesystem::path& at) : path(at) {
    std::filesystem::create_directory(path);
    mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=256k,mode=0700") == 0;
  }
  ~SmallDisk() {
    if (mounted) ::umount2(path.c_str(), MNT_DETACH);
  }
  std::filesystem::path path;
  bool mounted;
};

// A scratch directory, and calvira-data run on a data directory with each password a line of
// standard input.
class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = (scratch_ = MakeTempDir("calvira-tool")) / "data"; }
  void TearDown() override { std::filesystem::remove_all(scratch_); }

  static ToolRun Run(const std::filesystem::path& dir, const std::string& args,
                     const std::string& input = {}) {
    return RunTool("--password-stdin --data-dir " + dir.string() + " " + args, input);
  }

  std::filesystem::path scratch_;
  std::filesystem::path dir_;
};

}  // namespace calvira::testing
