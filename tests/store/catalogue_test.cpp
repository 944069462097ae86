// What every start prepares: the ten databases and the settings record. A fresh start is checked
// whole by calvira-data's dump; here, a catalogue that lost a database.
#include "store/catalogue.h"

#include <gtest/gtest.h>

#include "store/settings.h"
#include "support/temp_store.h"

namespace {

class CatalogueTest : public calvira::testing::TempStoreTest {};

TEST_F(CatalogueTest, ADeletedSystemsDatabaseComesBackWithItsDefaultsAndNothingElseChanges) {
  CreateCatalogue();
  ASSERT_TRUE(EnsureSettingsRecord());
  ce::CEOID systems = 0;
  ce::CloseHandle(ce::CeOpenDatabase(&systems, u"Systems", 0, 0, nullptr));
  ASSERT_TRUE(ce::CeDeleteDatabase(systems));
  Remount();
  CreateCatalogue();
  ASSERT_TRUE(EnsureSettingsRecord());
  std::vector<std::u16string> names;
  ce::HANDLE e = ce::CeFindFirstDatabase(0);
  while (ce::CEOID oid = ce::CeFindNextDatabase(e)) {
    ce::CEDBASEINFO info{};
    ce::CeGetDatabaseInfo(oid, &info);
    names.push_back(info.szDbaseName);
  }
  ce::CloseHandle(e);
  EXPECT_EQ(names.size(), 10u);
  EXPECT_EQ(names.back(), u"Systems");  // created anew, so last
  CCeDatabase db;
  ASSERT_TRUE(db.Open(u"Systems", 0));
  EXPECT_EQ(db.RecordCount(), 1);
  Settings settings;
  ASSERT_TRUE(ReadSettings(&settings));
  EXPECT_EQ(settings.scale, 1);
  EXPECT_EQ(settings.password, u"");
  EXPECT_TRUE(TakeBoxTexts().empty());
}

}  // namespace
