// A fresh data directory with the object store mounted in it, removed again afterwards, and a
// clean message-box log. Most tests of the store and of the layers above it derive from this.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace calvira::testing {

// Makes a new empty directory under the system's temporary directory.
std::filesystem::path MakeTempDir(const std::string& prefix);

class TempStoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Mounts the store of the data directory again, as a new start of the program would find it.
  void Remount();
  // Mounts it again through the fault VFS (support/fault_vfs.h), ready for FailFrom.
  void MountFaulty();

  // The texts of the message boxes shown since the last call.
  std::vector<std::u16string> TakeBoxTexts();

  std::filesystem::path data_dir_;
};

}  // namespace calvira::testing
