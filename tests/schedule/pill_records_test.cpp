// The "Pill" database: one record per day with an entry, no empty records, pills cleared without
// losing the day, and nothing half-written when the disk refuses.
#include "schedule/pill_records.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

#include "support/days.h"
#include "support/record_store.h"

void PrintTo(const PillDay& d, std::ostream* out) {
  *out << "{day " << d.day << ", level " << d.level << ", pill " << d.pill << ", remark "
       << d.remark.size() << " chars, time " << d.time.size() << " chars}";
}

namespace {

using calvira::testing::Bool, calvira::testing::Day, calvira::testing::I2, calvira::testing::Str,
    calvira::testing::UI4;
using Days = std::vector<PillDay>;

// A record as another program could have left it: any properties, no rule kept.
void WriteRaw(DayNumber day, int16_t level, bool pill, const char16_t* remark,
              const char16_t* time) {
  calvira::testing::WriteRaw(u"Pill", {UI4(day), I2(level), Bool(pill), Str(remark), Str(time)});
}

class PillRecordsTest : public calvira::testing::RecordStoreTest {};

TEST_F(PillRecordsTest, SavingKeepsOneRecordPerDayInDayOrderAndDropsEmptyDays) {
  const DayNumber a = Day(2004, 1, 31), b = Day(2004, 2, 1), c = Day(2004, 3, 3);
  const PillDay c_kept{c, 0, false, u"remark", u""}, a_kept{a, 1, true, u"x", u"9:00"};
  const std::pair<PillDay, Days> steps[] = {
      // A remark alone is a record; the time goes with the pill only.
      {{c, 0, false, u"remark", u"19:05"}, {c_kept}},
      {{a, 2, true, u"", u"8:30"}, {{a, 2, true, u"", u"8:30"}, c_kept}},
      {{b, 3, false, u"", u""}, {{a, 2, true, u"", u"8:30"}, {b, 3, false, u"", u""}, c_kept}},
      {a_kept, {a_kept, {b, 3, false, u"", u""}, c_kept}},  // a day saved again is overwritten
      {{b, 0, false, u"", u"12:00"}, {a_kept, c_kept}},     // cleared of everything, it goes
      {{b, 0, false, u"", u""}, {a_kept, c_kept}},  // an empty day without a record stays so
  };
  for (const auto& [save, after] : steps) {
    EXPECT_TRUE(SavePillDay(save));
    EXPECT_EQ(ReadPillDays(), after);
  }
  EXPECT_EQ(LoadPillDay(a), a_kept);
  EXPECT_FALSE(LoadPillDay(b).has_value());
  EXPECT_TRUE(TakeBoxTexts().empty());
}

TEST_F(PillRecordsTest, TextsAreCutToWhatTheStoreHolds) {
  const DayNumber a = Day(2004, 1, 31);
  const std::u16string long_text(kPillTextLimit + 50, u'r');
  EXPECT_TRUE(SavePillDay({a, 0, true, long_text, long_text}));
  EXPECT_EQ(*LoadPillDay(a), (PillDay{a, 0, true, long_text.substr(0, kPillTextLimit),
                                      long_text.substr(0, kPillTextLimit)}));
  // A character of two code units across the limit goes whole, never in half.
  const std::u16string moon = std::u16string(kPillTextLimit - 1, u'r') + u"\U0001F319";
  EXPECT_TRUE(SavePillDay({a, 0, true, moon, u""}));
  EXPECT_EQ(LoadPillDay(a)->remark, moon.substr(0, kPillTextLimit - 1));
}

TEST_F(PillRecordsTest, TwinRecordsAndShortOrOddRecords) {
  const DayNumber a = Day(2004, 1, 31), b = Day(2004, 2, 1), c = Day(2004, 3, 1);
  WriteRaw(a, 1, false, u"first", u"");
  WriteRaw(a, 2, true, u"second", u"7:00");
  WriteRaw(b, 3, false, u"", u"");
  // Day and level only, and a number where the remark should be: read as empty fields.
  calvira::testing::WriteRaw(u"Pill", {UI4(c), I2(2)});
  calvira::testing::WriteRaw(u"Pill", {UI4(c + 1), I2(0), Bool(1), UI4(77)});
  const Days rest = {{b, 3, false, u"", u""}, {c, 2, false, u"", u""}, {c + 1, 0, true, u"", u""}};
  // A second record of a day goes when the day is saved or deleted.
  EXPECT_EQ(LoadPillDay(a)->remark, u"first");
  EXPECT_TRUE(SavePillDay({a, 3, false, u"saved", u""}));
  Days saved = rest;
  saved.insert(saved.begin(), {a, 3, false, u"saved", u""});
  EXPECT_EQ(ReadPillDays(), saved);
  WriteRaw(a, 2, true, u"again", u"7:00");
  EXPECT_TRUE(DeletePillDay(a));
  EXPECT_EQ(ReadPillDays(), rest);
  EXPECT_FALSE(DeletePillDay(a));  // nothing left to delete
}

// Every change is one unit: a disk that fails at any write or sync leaves the old days whole,
// and the change is reported as failed, to the caller and to the user.
TEST_F(PillRecordsTest, AFailingDiskLeavesTheOldDaysWhole) {
  const DayNumber a = Day(2004, 1, 31);
  for (int d = 0; d < 4; ++d) ASSERT_TRUE(SavePillDay({a + d, 2, true, u"r", u"8:00"}));
  WriteRaw(a, 1, false, u"twin", u"");
  const std::pair<const char*, std::function<bool()>> changes[] = {
      {"save",
       [a] {
         return SavePillDay({a, 3, false, u"new", u""});
       }},
      {"clear all", [] { return ClearAllPills(); }},
      {"delete", [a] { return DeletePillDay(a + 1); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    const Days before = ReadPillDays();
    EXPECT_GT(FailEachWrite(change, [&] { EXPECT_EQ(ReadPillDays(), before); }), 0);
    EXPECT_NE(ReadPillDays(), before);
  }
}

}  // namespace
