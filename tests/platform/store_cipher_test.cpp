// A store encrypted under a password: nothing of it readable without the password, opened with
// it alone, re-keyed and made plain again, and every conversion safe from a crash at any moment.

#include "platform/text.h"
#include "support/fault_vfs.h"
#include "support/files.h"
#include "support/store_calls.h"
#include "support/temp_store.h"

namespace ce {
namespace {

namespace fs = std::filesystem;
using namespace calvira::testing;

const std::u16string kNotes[] = {u"Dentist appointment", u"Ovulation pain left"};

void StoreNotes() {
  ASSERT_NE(calvira::testing::CreateDb(), 0u);
  HANDLE h = CeOpenDatabase(nullptr, u"Notes", 0, 0, nullptr);
  for (uint32_t i = 0; i < 2; ++i) {
    ASSERT_NE(Write(h, {Int(0, CEVT_UI4, 292136 + i), Text(1, kNotes[i].c_str())}), 0u);
  }
  CloseHandle(h);
}

// The notes as the mounted store holds them, one per line.
std::string Notes() {
  std::string out;
  HANDLE h = CeOpenDatabase(nullptr, u"Notes", 0, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "no notes";
  Walk(h, [&out](const CePropBuffer& b) { out += ToUtf8(b.props()[1].val.lpwstr) + "\n"; });
  CloseHandle(h);
  return out;
}

std::string Mounted(const fs::path& dir, std::string_view key) {
  objectstore::MountOptions options;
  options.key = key;
  const std::string error = objectstore::Mount(dir, options);
  return error.empty() ? Notes() : error;
}

class StoreCipherTest : public TempStoreTest {
 protected:
  static void SetUpTestSuite() { LowerKeyDerivation(); }
};

TEST_F(StoreCipherTest, EncryptedNothingIsReadableAndOnlyItsPasswordOpensIt) {
  StoreNotes();
  const std::string notes = Notes();
  ASSERT_EQ(objectstore::ConvertStore(data_dir_, "", "s3cret"), "");
  const std::string bytes = AllBytes(data_dir_);
  EXPECT_NE(bytes.substr(0, 15), "SQLite format 3");
  for (const std::u16string& note : kNotes) {
    const std::string wide(reinterpret_cast<const char*>(note.data()), note.size() * 2);
    EXPECT_EQ(bytes.find(ToUtf8(note)), std::string::npos);
    EXPECT_EQ(bytes.find(wide), std::string::npos);
  }
  EXPECT_NE(Mounted(data_dir_, "").find("is encrypted; its password is needed"), std::string::npos);
  EXPECT_NE(Mounted(data_dir_, "S3cret").find("the password does not open"), std::string::npos);
  EXPECT_EQ(Mounted(data_dir_, "s3cret"), notes);
  ASSERT_EQ(objectstore::ConvertStore(data_dir_, "s3cret", "n3w"), "");
  EXPECT_NE(Mounted(data_dir_, "s3cret").find("the password does not open"), std::string::npos);
  EXPECT_EQ(Mounted(data_dir_, "n3w"), notes);
  EXPECT_NE(objectstore::ConvertStore(data_dir_, "wrong", ""), "");
  ASSERT_EQ(objectstore::ConvertStore(data_dir_, "n3w", ""), "");
  EXPECT_EQ(AllBytes(data_dir_).substr(0, 15), "SQLite format 3");
  EXPECT_EQ(Mounted(data_dir_, ""), notes);
}

// Cut at any write or sync, as by kill -9: the next open finds the old store or the new one,
// whole, and no converted copy lying beside it once a writer has mounted.
TEST_F(StoreCipherTest, AConversionCutShortAnywhereLeavesOneWholeStore) {
  StoreNotes();
  const std::string notes = Notes();
  objectstore::Unmount();
  HandToPlainUser(data_dir_);
  const auto opened = [this] {
    return RunAsPlainUser([this] {
      std::string shown = Mounted(data_dir_, "");
      if (shown.find("is encrypted") != std::string::npos) shown = Mounted(data_dir_, "pw");
      objectstore::Unmount();
      for (const auto& entry : fs::directory_iterator(data_dir_)) {
        if (entry.path().filename().string().starts_with("."))
          shown += "left: " + entry.path().string();
      }
      return shown;
    });
  };
  const auto cut_at = [this](int nth) {
    return RunAsPlainUser([this, nth] {
      InstallFaultVfs();
      FailFrom(nth, Fault::kCrash);
      return objectstore::ConvertStore(data_dir_, "", "pw", kFaultVfsName);
    });
  };
  // Every fifth write or sync (each cut costs two key derivations), then each of the last ones,
  // where the copy is synced and put in place.
  int last = 0;
  bool finished = false;
  for (int nth = 1; nth < 400 && !finished; nth += 5) {
    finished = cut_at(nth) == "";
    last = nth;
    EXPECT_EQ(opened(), notes) << "cut at write or sync " << nth;
  }
  for (int nth = last - 4; finished && nth < last; ++nth) {
    if (cut_at(nth) == "") break;
    EXPECT_EQ(opened(), notes) << "cut at write or sync " << nth;
  }
  EXPECT_TRUE(finished);
  EXPECT_NE(AllBytes(data_dir_).substr(0, 15), "SQLite format 3");
}

}  // namespace
}  // namespace ce
