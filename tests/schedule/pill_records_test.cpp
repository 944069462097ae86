// The "Pill" database: one record per day with an entry, no empty records, pills cleared without
// losing the day, and nothing half-written when the disk refuses.
#include "schedule/pill_records.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "platform/object_store.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "support/days.h"
#include "support/fault_vfs.h"
#include "support/temp_store.h"

void PrintTo(const PillDay& d, std::ostream* out) {
  *out << "{day " << d.day << ", level " << d.level << ", pill " << d.pill << ", remark "
       << d.remark.size() << " chars, time " << d.time.size() << " chars}";
}

namespace {

using calvira::testing::TempStoreTest;

using calvira::testing::Day;

class PillRecordsTest : public TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
  }

  // A record as another program could have left it: any properties, no rule kept.
  static void WriteRaw(DayNumber day, int16_t level, bool pill, const char16_t* remark,
                       const char16_t* time) {
    CCeDatabase db;
    ASSERT_TRUE(db.Open(u"Pill", 0));
    CCePropArray record;
    CCePropVal v;
    v.SetUI4(day);
    record.Append(v);
    v.SetI2(level);
    record.Append(v);
    v.SetBool(pill ? 1 : 0);
    record.Append(v);
    v.SetString(remark);
    record.Append(v);
    v.SetString(time);
    record.Append(v);
    ASSERT_TRUE(db.WriteNew(record));
    db.Close();
  }
};

TEST_F(PillRecordsTest, SavingKeepsOneRecordPerDayInDayOrderAndDropsEmptyDays) {
  const DayNumber a = Day(2004, 1, 31), b = Day(2004, 2, 1), c = Day(2004, 3, 3);
  struct Step {
    PillDay save;
    std::vector<PillDay> after;
  };
  const Step steps[] = {
      // A remark alone is a record; the time goes with the pill only.
      {{c, 0, false, u"remark", u"19:05"}, {{c, 0, false, u"remark", u""}}},
      {{a, 2, true, u"", u"8:30"}, {{a, 2, true, u"", u"8:30"}, {c, 0, false, u"remark", u""}}},
      {{b, 3, false, u"", u""},
       {{a, 2, true, u"", u"8:30"}, {b, 3, false, u"", u""}, {c, 0, false, u"remark", u""}}},
      // A day saved again is overwritten.
      {{a, 1, true, u"x", u"9:00"},
       {{a, 1, true, u"x", u"9:00"}, {b, 3, false, u"", u""}, {c, 0, false, u"remark", u""}}},
      // Cleared of everything, the day goes.
      {{b, 0, false, u"", u"12:00"}, {{a, 1, true, u"x", u"9:00"}, {c, 0, false, u"remark", u""}}},
      // An empty day that has no record stays without one.
      {{b, 0, false, u"", u""}, {{a, 1, true, u"x", u"9:00"}, {c, 0, false, u"remark", u""}}},
  };
  for (const Step& step : steps) {
    EXPECT_TRUE(SavePillDay(step.save));
    EXPECT_EQ(ReadPillDays(), step.after);
  }
  EXPECT_EQ(LoadPillDay(a), (PillDay{a, 1, true, u"x", u"9:00"}));
  EXPECT_FALSE(LoadPillDay(b).has_value());
  EXPECT_TRUE(TakeBoxTexts().empty());
}

TEST_F(PillRecordsTest, TextsAreCutToWhatTheStoreHolds) {
  const DayNumber a = Day(2004, 1, 31);
  const std::u16string long_text(kPillTextLimit + 50, u'r');
  EXPECT_TRUE(SavePillDay({a, 0, true, long_text, long_text}));
  const PillDay stored = *LoadPillDay(a);
  EXPECT_EQ(stored.remark, long_text.substr(0, kPillTextLimit));
  EXPECT_EQ(stored.time, long_text.substr(0, kPillTextLimit));
  // A character of two code units across the limit goes whole, never in half.
  const std::u16string moon = std::u16string(kPillTextLimit - 1, u'r') + u"\U0001F319";
  EXPECT_TRUE(SavePillDay({a, 0, true, moon, u""}));
  EXPECT_EQ(LoadPillDay(a)->remark, moon.substr(0, kPillTextLimit - 1));
}

TEST_F(PillRecordsTest, ASecondRecordOfADayGoesWhenTheDayIsSavedOrDeleted) {
  const DayNumber a = Day(2004, 1, 31), b = Day(2004, 2, 1);
  WriteRaw(a, 1, false, u"first", u"");
  WriteRaw(a, 2, true, u"second", u"7:00");
  WriteRaw(b, 3, false, u"", u"");
  EXPECT_EQ(LoadPillDay(a)->remark, u"first");
  EXPECT_TRUE(SavePillDay({a, 3, false, u"saved", u""}));
  EXPECT_EQ(ReadPillDays(),
            (std::vector<PillDay>{{a, 3, false, u"saved", u""}, {b, 3, false, u"", u""}}));
  WriteRaw(a, 2, true, u"again", u"7:00");
  EXPECT_TRUE(DeletePillDay(a));
  EXPECT_EQ(ReadPillDays(), (std::vector<PillDay>{{b, 3, false, u"", u""}}));
  EXPECT_FALSE(DeletePillDay(a));  // nothing left to delete
}

TEST_F(PillRecordsTest, ShortOrOddRecordsReadAsEmptyFields) {
  CCeDatabase db;
  ASSERT_TRUE(db.Open(u"Pill", 0));
  CCePropArray record;
  CCePropVal v;
  v.SetUI4(Day(2004, 1, 31));
  record.Append(v);
  v.SetI2(2);
  record.Append(v);
  ASSERT_TRUE(db.WriteNew(record));  // day and level only
  record.Clear();
  v.SetUI4(Day(2004, 2, 1));
  record.Append(v);
  v.SetI2(0);
  record.Append(v);
  v.SetBool(1);
  record.Append(v);
  v.SetI4(77);  // a number where the remark should be
  record.Append(v);
  ASSERT_TRUE(db.WriteNew(record));
  db.Close();
  EXPECT_EQ(ReadPillDays(), (std::vector<PillDay>{{Day(2004, 1, 31), 2, false, u"", u""},
                                                  {Day(2004, 2, 1), 0, true, u"", u""}}));
}

// Every change is one unit: a disk that fails at any write or sync leaves the old days whole,
// and the change is reported as failed, to the caller and to the user.
TEST_F(PillRecordsTest, AFailingDiskLeavesTheOldDaysWhole) {
  MountFaulty();
  const DayNumber a = Day(2004, 1, 31);
  for (int d = 0; d < 4; ++d) ASSERT_TRUE(SavePillDay({a + d, 2, true, u"r", u"8:00"}));
  WriteRaw(a, 1, false, u"twin", u"");
  struct Change {
    const char* name;
    bool (*run)();
  };
  const Change changes[] = {
      {"save",
       [] {
         return SavePillDay({Day(2004, 1, 31), 3, false, u"new", u""});
       }},
      {"clear all", [] { return ClearAllPills(); }},
      {"delete", [] { return DeletePillDay(Day(2004, 2, 1)); }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    const std::vector<PillDay> before = ReadPillDays();
    bool done = false;
    for (int nth = 1; nth <= 20 && !done; ++nth) {
      calvira::testing::FailFrom(nth, calvira::testing::Fault::kIoError);
      done = change.run();
      calvira::testing::ClearFault();
      const std::vector<std::u16string> said = TakeBoxTexts();
      MountFaulty();
      if (!done) {
        EXPECT_EQ(ReadPillDays(), before) << "failing from write " << nth;
        // Never in silence: the user hears that the change was not kept.
        EXPECT_FALSE(said.empty()) << "failing from write " << nth;
      }
    }
    EXPECT_TRUE(done);
    EXPECT_NE(ReadPillDays(), before);
  }
}

}  // namespace
