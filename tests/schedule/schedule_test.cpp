// The calendar's rules without a window: grids, tap zones, the bounded steps and the keyboard's
// day (the month's title is the day entry scenario's). The pill time picker: what each tap and
// key does to the state, and the time text it gives. Pill History's lines: the filler that lines
// the times up, and only the days with a pill. The "Pill" database: one record per day with an
// entry, no empty records, pills cleared without losing the day, and nothing half-written when the
// disk refuses.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "schedule/calendar.h"
#include "schedule/pill_history.h"
#include "schedule/pill_records.h"
#include "schedule/pill_time.h"
#include "support/days.h"
#include "support/record_store.h"

namespace {

using calvira::testing::Bool, calvira::testing::Day, calvira::testing::I2, calvira::testing::Str,
    calvira::testing::UI4;

// The usual client area under the 70-pixel band of zones.
constexpr ce::RECT kGrid{0, 70, 240, 268};

TEST(Calendar, GridsOfFourFiveAndSixWeekRows) {
  // Year, month; the weekday of the 1st, the rows and their height. Where the cells of December
  // 2026 lie is the calendar pictures'.
  const std::tuple<int, int, int, int, int> cases[] = {
      {2015, 2, 0, 4, 49},   // a common February starting on a Sunday
      {2003, 11, 6, 6, 33},  // 30 days from a Saturday
      {2016, 1, 5, 6, 33},   // 31 days from a Friday
      {2026, 12, 2, 5, 39}, {2000, 2, 2, 5, 39},  {1900, 2, 4, 5, 39},
      {1582, 1, 5, 6, 33},  {9366, 12, 1, 5, 39},
  };
  for (const auto& [year, month, weekday, rows, row_height] : cases) {
    EXPECT_EQ(WeekdayOfFirst(year, month), weekday) << year << "-" << month;
    const MonthGrid m = LayOutMonth(year, month, kGrid);
    EXPECT_EQ(std::tuple(m.rows, m.row_height, m.column_width), std::tuple(rows, row_height, 34))
        << year << "-" << month;
  }
}

TEST(Calendar, TapsFindDaysFirstThenTheZonesAboveTheGrid) {
  const MonthGrid m = LayOutMonth(2026, 12, kGrid);
  using Z = CalendarZone;
  // x, y; zone, day. Nothing on the two-pixel line between cells (101, 80) and on the title
  // plate (120, 14).
  const std::tuple<int, int, CalendarZone, int> cases[] = {
      {70, 72, Z::kDay, 1},          {100, 107, Z::kDay, 1},         {101, 80, Z::kNone, 0},
      {140, 230, Z::kDay, 31},       {161, 5, Z::kLeave, 0},         {203, 23, Z::kLeave, 0},
      {39, 5, Z::kCurrentMonth, 0},  {238, 23, Z::kNextYear, 0},     {4, 5, Z::kPreviousYear, 0},
      {24, 8, Z::kPreviousMonth, 0}, {36, 21, Z::kPreviousMonth, 0}, {24, 22, Z::kNone, 0},
      {206, 8, Z::kNextMonth, 0},    {120, 14, Z::kNone, 0},
  };
  for (const auto& [x, y, zone, day] : cases) {
    int found = 0;
    EXPECT_EQ((std::tuple{ZoneAt(m, x, y, &found), found}), std::tuple(zone, day)) << x << "," << y;
  }
}

TEST(Calendar, StepsCrossYearsAndStopWhereNoDayCanBeNamed) {
  // Year, month, the step in months (m) or years (y); then whether it stepped, and where to.
  // The last year still steps within itself.
  const std::tuple<int32_t, int32_t, char, int, bool, int32_t, int32_t> cases[] = {
      {2004, 1, 'm', -1, true, 2003, 12},   {2003, 12, 'm', +1, true, 2004, 1},
      {2004, 1, 'y', +1, true, 2005, 1},    {1582, 1, 'm', -1, false, 1582, 1},
      {1582, 1, 'y', -1, false, 1582, 1},   {9366, 12, 'm', +1, false, 9366, 12},
      {9366, 12, 'y', +1, false, 9366, 12}, {9366, 3, 'm', +1, true, 9366, 4},
  };
  for (auto [year, month, unit, step, stepped, then_year, then_month] : cases) {
    const bool done = unit == 'm' ? StepMonth(&year, &month, step) : StepYear(&year, month, step);
    EXPECT_EQ(std::tuple(done, year, month), std::tuple(stepped, then_year, then_month));
  }
  // The keyboard's day: across months and years, a month step kept within the shorter month,
  // and no move out of the calendar's range.
  using enum DayMove;
  const std::tuple<CalendarDay, DayMove, bool, CalendarDay> moves[] = {
      {{2004, 3, 1}, kPreviousDay, true, {2004, 2, 29}},
      {{2003, 12, 29}, kNextWeek, true, {2004, 1, 5}},
      {{2004, 1, 5}, kPreviousWeek, true, {2003, 12, 29}},
      {{2003, 1, 31}, kNextMonth, true, {2003, 2, 28}},
      {{2004, 3, 31}, kPreviousMonth, true, {2004, 2, 29}},
      {{1582, 1, 1}, kPreviousDay, false, {1582, 1, 1}},
      {{1582, 1, 3}, kPreviousWeek, false, {1582, 1, 3}},
      {{9366, 12, 31}, kNextDay, false, {9366, 12, 31}},
      {{9366, 12, 31}, kNextMonth, false, {9366, 12, 31}},
  };
  for (auto [at, move, moved, then] : moves) {
    EXPECT_EQ(MoveDay(&at, move), moved);
    EXPECT_EQ(at, then);
  }
}

PillTime Tapped(const std::vector<ce::POINT>& taps, PillTime time = PickerStart()) {
  for (const ce::POINT& p : taps) time = TapPicker(time, p.x, p.y);
  return time;
}

constexpr ce::POINT kHour{20, 40}, kTens{70, 40}, kUnits{110, 40}, kUp{147, 30}, kDown{147, 45},
    kAm{170, 40}, kPm{220, 40};

TEST(PillTimePicker, TapsChangeTheStateAsTheZonesSay) {
  using F = TimeField;
  const std::tuple<const char*, std::vector<ce::POINT>, PillTime> cases[] = {
      {"noon at the start", {}, {12, 0, 0, true, F::kHour}},
      {"hour wraps down from 1 to 12", {kUp, kDown}, {12, 0, 0, true, F::kHour}},
      {"tens wraps down from 0 to 5", {kTens, kDown}, {12, 5, 0, true, F::kTens}},
      {"tens wraps up from 5 to 0", {kTens, kDown, kUp}, {12, 0, 0, true, F::kTens}},
      {"units wraps down from 0 to 9", {kUnits, kDown}, {12, 0, 9, true, F::kUnits}},
      {"units wraps up from 9 to 0", {kUnits, kDown, kUp}, {12, 0, 0, true, F::kUnits}},
      {"AM half", {kAm}, {12, 0, 0, false, F::kHour}},
      {"AM then PM", {kAm, kPm}, {12, 0, 0, true, F::kHour}},
      // Shared edges: the later zone wins, so x 195 is PM, x 96 the units, and y 39 steps up
      // and down again.
      {"x 195 on the switch", {kAm, {195, 40}}, {12, 0, 0, true, F::kHour}},
      {"x 96 on the tiles", {{96, 40}}, {12, 0, 0, true, F::kUnits}},
      {"y 39 on the arrows", {{147, 39}}, {12, 0, 0, true, F::kHour}},
      // Outside every zone: nothing moves.
      {"between the tiles", {{50, 40}}, {12, 0, 0, true, F::kHour}},
      {"above the tiles", {{20, 30}}, {12, 0, 0, true, F::kHour}},
      {"right of the switch", {{231, 40}}, {12, 0, 0, true, F::kHour}},
      {"below the arrows", {{147, 54}}, {12, 0, 0, true, F::kHour}},
  };
  for (const auto& [name, taps, expected] : cases) EXPECT_EQ(Tapped(taps), expected) << name;
  // Keys tap the same zones: Left and Right stop at the first and last tiles.
  using enum PickerKey;
  const std::tuple<std::vector<PickerKey>, PillTime> keyed[] = {
      {{kUp, kUp}, {2, 0, 0, true, F::kHour}},
      {{kLeft, kDown}, {11, 0, 0, true, F::kHour}},
      {{kRight, kDown}, {12, 5, 0, true, F::kTens}},
      {{kRight, kRight, kRight, kUp, kAm}, {12, 0, 1, false, F::kUnits}},
      {{kRight, kRight, kLeft, kAm, kPm}, {12, 0, 0, true, F::kTens}},
  };
  for (const auto& [keys, expected] : keyed) {
    PillTime time = PickerStart();
    for (const PickerKey key : keys) time = KeyPicker(time, key);
    EXPECT_EQ(time, expected);
  }
}

TEST(PillTimePicker, TheTextIsOnTheTwentyFourHourClock) {
  // Hour, tens, units, PM; the text. Untouched, the editor's own default; half past midnight
  // and half past noon.
  const std::tuple<int, int, int, bool, const char16_t*> cases[] = {
      {12, 0, 0, true, u"12:00"}, {7, 0, 5, false, u"7:05"},   {7, 0, 5, true, u"19:05"},
      {12, 3, 0, false, u"0:30"}, {12, 3, 0, true, u"12:30"},  {1, 0, 0, false, u"1:00"},
      {11, 5, 9, true, u"23:59"}, {10, 1, 0, false, u"10:10"},
  };
  for (const auto& [hour, tens, units, pm, text] : cases) {
    EXPECT_EQ(PickerText({hour, tens, units, pm, TimeField::kHour}), text);
  }
}

TEST(PillHistoryLines, TheFillerDependsOnTheDateLength) {
  // Dates of six, seven and eight characters are the Pill History picture's; here other lengths,
  // and a pill without a time text, which shows the date and the filler only.
  const std::tuple<std::u16string, size_t, std::u16string> cases[] = {
      {u"1/5/4", 0, u"8:30"}, {u"", 0, u"8:30"}, {u"2/1/04", 12, u""}};
  for (const auto& [date, blanks, time] : cases) {
    EXPECT_EQ(PillLineText(date, time), date + std::u16string(blanks, u' ') + time);
  }
}

TEST(PillHistoryLines, OneLinePerPillDayCarryingItsOwnDay) {
  const DayNumber jan31 = Day(2004, 1, 31), feb1 = jan31 + 1, old = Day(1904, 2, 1);
  const std::vector<PillLine> lines = PillHistoryLines({
      {old, 0, true, u"", u"7:00"},
      {jan31, 3, false, u"no pill", u""},
      {feb1, 1, true, u"", u"19:05"},
  });
  ASSERT_EQ(lines.size(), 2u);
  // The two lines read alike but stand for days a century apart.
  const std::u16string date = u"2/1/04" + std::u16string(12, u' ');
  EXPECT_EQ(std::tuple(lines[0].day, lines[0].text), std::tuple(old, date + u"7:00"));
  EXPECT_EQ(std::tuple(lines[1].day, lines[1].text), std::tuple(feb1, date + u"19:05"));
}

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
