#include "support/temp_store.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/object_store.h"
#include "platform/reporter.h"
#include "support/fault_vfs.h"

namespace calvira::testing {

std::filesystem::path MakeTempDir(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) {
    ADD_FAILURE() << "cannot make a temporary directory";
    return {};
  }
  return pattern;
}

void TempStoreTest::SetUp() {
  data_dir_ = MakeTempDir("calvira-test");
  ce::SetMessageBoxEcho(false);
  ce::SetMessageBoxHook({});
  ce::TakeMessageBoxReports();
  // The store's reports in the box log, as the program shows them.
  ce::objectstore::SetReporter(&ce::ForegroundMessageBox);
  ASSERT_EQ(ce::objectstore::Mount(data_dir_), "");
}

void TempStoreTest::TearDown() {
  ce::objectstore::Unmount();
  ce::objectstore::SetReporter({});
  ce::SetMessageBoxHook({});
  ce::TakeMessageBoxReports();
  std::error_code ec;
  std::filesystem::remove_all(data_dir_, ec);
}

void TempStoreTest::Remount() {
  ce::objectstore::Unmount();
  ASSERT_EQ(ce::objectstore::Mount(data_dir_), "");
}

void TempStoreTest::MountFaulty() {
  InstallFaultVfs();
  ce::objectstore::Unmount();
  ce::objectstore::MountOptions options;
  options.vfs = kFaultVfsName;
  ASSERT_EQ(ce::objectstore::Mount(data_dir_, options), "");
}

std::vector<std::u16string> TempStoreTest::TakeBoxTexts() {
  std::vector<std::u16string> texts;
  for (auto& r : ce::TakeMessageBoxReports()) texts.push_back(r.text);
  return texts;
}

}  // namespace calvira::testing
