// The diary's databases: deleting one note or all of one category by the position in the order
// of the days, and nothing lost when the disk refuses. The category names, the list lines and
// one note per day are the Diary scenarios'.
#include "diary/diary_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/days.h"
#include "support/record_store.h"

namespace {

using calvira::testing::Day;
using Notes = std::vector<std::pair<DayNumber, std::u16string>>;

constexpr size_t kDoctor = 0, kMisc = 4;

Notes Stored(size_t category) {
  Notes out;
  for (const DiaryNote& n : ReadNotes(category)) out.emplace_back(n.day, n.text);
  return out;
}

class DiaryRecordsTest : public calvira::testing::RecordStoreTest {};

TEST_F(DiaryRecordsTest, DeletingOneOrAllOfOneCategory) {
  ASSERT_TRUE(SaveNote(kMisc, Day(2003, 1, 5), u"kept"));
  ExpectDeletesByPosition([](DayNumber d) { return SaveNote(kDoctor, d, u"note"); },
                          [](size_t position) { return DeleteNoteAt(kDoctor, position); },
                          [] { return ReadNotes(kDoctor); },
                          [] { return DeleteAllNotes(kDoctor); });
  // The other category kept its note.
  EXPECT_EQ(Stored(kMisc), (Notes{{Day(2003, 1, 5), u"kept"}}));
  EXPECT_TRUE(TakeBoxTexts().empty());
}

// On a full disk a save and Delete All change nothing and fail; the store keeps every note.
TEST_F(DiaryRecordsTest, AFullDiskKeepsEveryNote) {
  MountFaulty();
  for (uint16_t d = 1; d <= 5; ++d) ASSERT_TRUE(SaveNote(kDoctor, Day(2003, 1, d), u"note"));
  const Notes before = Stored(kDoctor);
  calvira::testing::FailFrom(1, calvira::testing::Fault::kDiskFull);
  EXPECT_FALSE(DeleteAllNotes(kDoctor));
  EXPECT_FALSE(SaveNote(kDoctor, Day(2003, 1, 2), u"replaced"));
  EXPECT_FALSE(SaveNote(kDoctor, Day(2003, 1, 9), u"added"));
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
