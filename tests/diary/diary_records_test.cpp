// The diary's five databases: one note per day and category in the order of the days, the list
// lines, deleting one or all of one category, and nothing lost when the disk refuses.
#include "diary/diary_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/object_store.h"
#include "store/catalogue.h"
#include "support/fault_vfs.h"
#include "support/temp_store.h"

namespace {

using calvira::testing::TempStoreTest;
using Notes = std::vector<std::pair<DayNumber, std::u16string>>;

constexpr size_t kDoctor = 0, kMisc = 4;

DayNumber Day(uint16_t year, uint16_t month, uint16_t day) {
  DayNumber n = 0;
  EXPECT_TRUE(DateToDayNumber(year, month, day, n));
  return n;
}

class DiaryRecordsTest : public TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
  }

  static Notes Stored(size_t category) {
    Notes out;
    for (const DiaryNote& n : ReadNotes(category)) out.emplace_back(n.day, n.text);
    return out;
  }
};

// The list's names in index order, each over a database that the catalogue creates, ordered by
// the day as the notes are opened.
TEST(DiaryCategories, NameTheCataloguesDatabases) {
  const char16_t* shown[] = {u"Doctor", u"Hair Dresser", u"Beauty Parlor", u"Fitness", u"Misc"};
  const char16_t* databases[] = {u"Doctors", u"HairDressers", u"BeautyParlors", u"Fitnes",
                                 u"Miscs"};
  for (size_t i = 0; i < kDiaryCategoryCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::u16string(DiaryCategories()[i].shown), shown[i]);
    EXPECT_EQ(std::u16string(DiaryCategories()[i].database), databases[i]);
    const auto catalogue = DatabaseCatalogue();
    const auto entry = std::find_if(catalogue.begin(), catalogue.end(), [&](const auto& e) {
      return std::u16string(e.name) == databases[i];
    });
    ASSERT_NE(entry, catalogue.end());
    EXPECT_EQ(entry->sort1, ce::PropId(0, ce::CEVT_UI4));
  }
}

TEST(NoteLine, PadsTheDateToSixteenCharacters) {
  struct Case {
    DayNumber day;
    const char16_t* text;
    const char16_t* line;
  };
  const Case cases[] = {
      {Day(2003, 1, 5), u"Dentist", u"1/5/03          Dentist"},
      {Day(2003, 11, 5), u"Dentist", u"11/5/03         Dentist"},
      {Day(2003, 11, 20), u"Dentist", u"11/20/03        Dentist"},
      {Day(2003, 11, 20), u"", u"11/20/03        "},
      {Day(2026, 12, 6), u"12345678901234567890", u"12/6/26         12345678901234567890"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NoteLine({c.day, c.text}), c.line);
  }
}

TEST_F(DiaryRecordsTest, DeletingOneOrAllOfOneCategory) {
  const DayNumber days[] = {Day(2003, 1, 5), Day(2003, 1, 6), Day(2003, 1, 7)};
  ASSERT_TRUE(SaveNote(kMisc, days[0], u"kept"));
  struct Case {
    size_t position;
    bool deleted;
    std::vector<DayNumber> left;
  };
  const Case cases[] = {
      {0, true, {days[1], days[2]}},
      {1, true, {days[0], days[2]}},
      {2, true, {days[0], days[1]}},
      {3, false, {days[0], days[1], days[2]}},  // beyond the notes: nothing changes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    ASSERT_TRUE(DeleteAllNotes(kDoctor));
    // Entered out of order: positions count in the order of the days.
    for (DayNumber d : {days[2], days[0], days[1]}) ASSERT_TRUE(SaveNote(kDoctor, d, u"note"));
    EXPECT_EQ(DeleteNoteAt(kDoctor, c.position), c.deleted);
    std::vector<DayNumber> left;
    for (const DiaryNote& n : ReadNotes(kDoctor)) left.push_back(n.day);
    EXPECT_EQ(left, c.left);
  }
  EXPECT_TRUE(DeleteAllNotes(kDoctor));
  EXPECT_EQ(NoteCount(kDoctor), 0u);
  EXPECT_TRUE(DeleteAllNotes(kDoctor));  // nothing to delete is no failure
  EXPECT_FALSE(DeleteNoteAt(kDoctor, 0));
  // The other category kept its note throughout.
  EXPECT_EQ(Stored(kMisc), (Notes{{days[0], u"kept"}}));
  EXPECT_TRUE(TakeBoxTexts().empty());
}

// On a full disk a save and Delete All change nothing and fail; the store keeps every note.
TEST_F(DiaryRecordsTest, AFullDiskKeepsEveryNote) {
  calvira::testing::InstallFaultVfs();
  ce::objectstore::Unmount();
  ce::objectstore::MountOptions options;
  options.vfs = calvira::testing::kFaultVfsName;
  ASSERT_EQ(ce::objectstore::Mount(data_dir_, options), "");
  for (uint16_t d = 1; d <= 5; ++d) {
    ASSERT_TRUE(SaveNote(kDoctor, Day(2003, 1, d), u"note " + std::u16string(1, u'0' + d)));
  }
  const Notes before = Stored(kDoctor);
  calvira::testing::FailFrom(1, calvira::testing::Fault::kDiskFull);
  EXPECT_FALSE(DeleteAllNotes(kDoctor));
  EXPECT_FALSE(SaveNote(kDoctor, Day(2003, 1, 2), u"replaced"));
  EXPECT_FALSE(SaveNote(kDoctor, Day(2003, 1, 9), u"added"));
  EXPECT_TRUE(calvira::testing::FaultStruck());
  calvira::testing::ClearFault();
  // A refused save says so at once: the note's OK then leaves nothing looking stored.
  const std::vector<std::u16string> boxes = TakeBoxTexts();
  EXPECT_NE(std::find(boxes.begin(), boxes.end(),
                      u"The disk is full. Nothing was saved; free some space and try again."),
            boxes.end());
  Remount();
  EXPECT_EQ(Stored(kDoctor), before);
}

}  // namespace
