// The password and the store's encryption change together: a disk that fails at any write of a
// change leaves the old password over the old store, every record whole, for a password of any
// characters too.

#include <fstream>
#include <tuple>
#include <vector>

#include "diary/diary_records.h"
#include "platform/object_store.h"
#include "platform/text.h"
#include "store/password_hash.h"
#include "store/protection.h"
#include "store/settings.h"
#include "support/files.h"
#include "support/record_store.h"

namespace calvira::testing {
namespace {

namespace objectstore = ce::objectstore;

class ProtectionTest : public RecordStoreTest {
 protected:
  static void SetUpTestSuite() { LowerKeyDerivation(); }

  // The store as a start finds it with `password`: whether it is encrypted, whether the settings
  // record holds that password, and the note kept.
  std::tuple<bool, bool, std::u16string> Found(std::u16string_view password) {
    EXPECT_EQ(MountProtected(data_dir_, password), "");
    Settings settings;
    ReadSettings(&settings);
    const bool holds =
        password.empty() ? settings.password.empty() : VerifyPassword(settings.password, password);
    const std::vector<DiaryNote> notes = ReadNotes(0);
    return {objectstore::IsEncrypted(data_dir_), holds, notes.empty() ? u"no note" : notes[0].text};
  }
};

TEST_F(ProtectionTest, AFailingDiskAnywhereInAChangeLeavesTheOldPasswordOverTheOldStore) {
  const struct {
    std::u16string from, to;
    Fault fault;
  } changes[] = {{u"", u"Secret", Fault::kDiskFull},
                 // Characters beyond ASCII and beyond 16 bits: the key is their UTF-8 text.
                 {u"Secret", u"P\u00e4ssw\u00f6rd \U0001F319 \u6708", Fault::kIoError},
                 {u"Secret", u"", Fault::kDiskFull}};
  for (const auto& change : changes) {
    Fresh();
    ASSERT_TRUE(EnsureSettingsRecord());
    ASSERT_TRUE(SaveNote(0, 292136, u"Dentist"));
    if (!change.from.empty()) {
      ASSERT_EQ(ChangeProtection(data_dir_, u"", change.from), "");
    }
    objectstore::Unmount();
    const std::filesystem::path file = objectstore::StoreFile(data_dir_);
    const std::string before = ReadFile(file);
    const StoreKey key(change.from);
    InstallFaultVfs();
    // A change that nothing stops counts the writes; then the first ones fail, some in the
    // middle, and the last ones, where the copy's log goes into it and it takes the store's place.
    std::vector<int> nths = {1 << 30};
    for (size_t i = 0; i < nths.size(); ++i) {
      const int nth = nths[i];
      SCOPED_TRACE(ce::ToUtf8(change.from + u" to " + change.to) + ", write " +
                   std::to_string(nth));
      objectstore::Unmount();
      std::filesystem::remove(file.string() + "-wal");
      std::ofstream(file, std::ios::binary | std::ios::trunc) << before;
      ASSERT_EQ(objectstore::Mount(data_dir_, {.vfs = kFaultVfsName, .key = key.View()}), "");
      FailFrom(nth, change.fault);
      const std::string error = ChangeProtection(data_dir_, change.from, change.to);
      const bool struck = FaultStruck();
      ClearFault();
      EXPECT_EQ(error.empty(), !struck) << error;
      const std::u16string& now = error.empty() ? change.to : change.from;
      EXPECT_EQ(Found(now), std::tuple(!now.empty(), true, u"Dentist"));
      if (i == 0) {
        const int n = FaultCount();
        nths.insert(nths.end(), {1, 2, 3, n / 3, n / 2, 2 * n / 3, n - 3, n - 2, n - 1, n});
      }
    }
  }
}

}  // namespace
}  // namespace calvira::testing
