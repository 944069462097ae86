// The diary's databases: deleting one note or all of one category by the position in the order
// of the days, and nothing lost when the disk refuses. The category names, the list lines and
// one note per day are the Diary scenarios'.
#include "diary/diary_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/object_store.h"
#include "store/catalogue.h"
#include "support/days.h"
#include "support/fault_vfs.h"
#include "support/temp_store.h"

namespace {

using calvira::testing::TempStoreTest;
using Notes = std::vector<std::pair<DayNumber, std::u16string>>;

constexpr size_t kDoctor = 0, kMisc = 4;

using calvira::testing::Day;

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
  MountFaulty();
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
