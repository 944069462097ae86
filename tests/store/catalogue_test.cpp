// The ten databases and the settings record, as every start of the program prepares them.
#include "store/catalogue.h"

#include <gtest/gtest.h>

#include "store/settings.h"
#include "support/temp_store.h"

namespace {

class CatalogueTest : public calvira::testing::TempStoreTest {};

std::vector<std::u16string> DatabaseNames() {
  std::vector<std::u16string> names;
  ce::HANDLE e = ce::CeFindFirstDatabase(0);
  while (ce::CEOID oid = ce::CeFindNextDatabase(e)) {
    ce::CEDBASEINFO info{};
    ce::CeGetDatabaseInfo(oid, &info);
    EXPECT_EQ(info.dwDbaseType, 0x5A513539u);
    names.push_back(info.szDbaseName);
  }
  ce::CloseHandle(e);
  return names;
}

int SettingsRecords() {
  CCeDatabase db;
  db.Open(u"Systems", 0);
  return db.RecordCount();
}

TEST_F(CatalogueTest, FirstStartCreatesTenDatabasesAndTheDefaultSettings) {
  CreateCatalogue();
  ASSERT_TRUE(EnsureSettingsRecord());
  EXPECT_EQ(DatabaseNames(),
            (std::vector<std::u16string>{u"Cycles", u"Temperature", u"Pill", u"Systems", u"Temp",
                                         u"Doctors", u"HairDressers", u"BeautyParlors", u"Fitnes",
                                         u"Miscs"}));
  CCeDatabase db;
  ASSERT_TRUE(db.Open(u"Systems", 0));
  CCePropArray settings;
  ASSERT_TRUE(db.ReadCurrRecord(settings));
  ASSERT_EQ(settings.Count(), 6u);
  EXPECT_EQ(std::u16string(settings.At(kSettingPassword).String()), u"");
  EXPECT_EQ(settings.At(kSettingScale).Type(), ce::CEVT_UI2);
  EXPECT_EQ(settings.At(kSettingScale).UI2(), 1);
  for (auto p : {kSettingPasswordSet, kSettingSpare, kSettingLogoDisabled, kSettingShowMinMax}) {
    EXPECT_EQ(settings.At(p).I2(), 0);
  }
  EXPECT_TRUE(TakeBoxTexts().empty());
}

TEST_F(CatalogueTest, LaterStartsChangeNothing) {
  CreateCatalogue();
  EnsureSettingsRecord();
  Remount();
  CreateCatalogue();
  EnsureSettingsRecord();
  EXPECT_EQ(DatabaseNames().size(), 10u);
  EXPECT_EQ(SettingsRecords(), 1);
  EXPECT_TRUE(TakeBoxTexts().empty());
}

TEST_F(CatalogueTest, ADeletedSystemsDatabaseComesBackWithDefaults) {
  CreateCatalogue();
  EnsureSettingsRecord();
  ce::CEOID systems = 0;
  ce::HANDLE h = ce::CeOpenDatabase(&systems, u"Systems", 0, 0, nullptr);
  ce::CloseHandle(h);
  ASSERT_TRUE(ce::CeDeleteDatabase(systems));
  Remount();
  CreateCatalogue();
  EnsureSettingsRecord();
  EXPECT_EQ(DatabaseNames().back(), u"Systems");  // created anew, so last
  EXPECT_EQ(SettingsRecords(), 1);
}

}  // namespace
