// The cycles' rules and their database. Day numbers and dates, both ways, and today. The
// arithmetic of cycles: the days of a cycle, the period verdict of Add New Cycle and Edit Cycle
// at its boundaries, the predicted end at the ends of the field's range, and Prediction's starts
// over a period with the refusals it reports (the range text, the question and what the stored
// cycles say are met in the Prediction scenarios). The Cycle View's time line as a plan: rows of
// the days and marks, month splits, the notice for lengths outside 14..40, the arrows' zones and
// the shown cycle's index.
// The "Cycles" database: adding, refusing duplicates and recalculating lengths and the average;
// Cycle History's rules: the padded list line, the average field, and deleting cycles, which
// joins the neighbours of a deleted cycle and recalculates what remains.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cycles/cycle_forms.h"
#include "cycles/cycle_history.h"
#include "cycles/cycle_math.h"
#include "cycles/cycle_records.h"
#include "cycles/day_number.h"
#include "cycles/prediction.h"
#include "cycles/time_line.h"
#include "platform/clock.h"
#include "support/days.h"
#include "support/record_store.h"

namespace {

using calvira::testing::Day;
using Ymd = std::tuple<int, unsigned, unsigned>;

// The date of a day number, or (0, 0, 0) when it has none.
Ymd DateOf(DayNumber n) {
  uint16_t y = 0, m = 0, d = 0;
  if (!DayNumberToDate(n, y, m, d)) return {0, 0, 0};
  return {y, m, d};
}

TEST(DayNumber, RefusesInvalidDatesAndNumbersAndLeavesOutputAlone) {
  const std::tuple<uint16_t, uint16_t, uint16_t> refused[] = {
      {1900, 2, 29}, {2003, 2, 29}, {2003, 4, 31}, {2003, 6, 31}, {1581, 12, 31}, {9367, 1, 1},
      {2003, 1, 0},  {2003, 0, 1},  {2003, 13, 1}, {2003, 1, 32}, {1200, 3, 1},   {0, 0, 0}};
  for (const auto& [year, month, day] : refused) {
    DayNumber n = 12345;
    EXPECT_FALSE(DateToDayNumber(year, month, day, n)) << year << "-" << month << "-" << day;
    EXPECT_EQ(n, 12345u);
  }
  // The count starts at 1 March 1200 (number 2), a date only the inverse still reaches.
  EXPECT_EQ(DateOf(2), Ymd(1200, 3, 1));
  for (DayNumber refused_number : {0u, 1u, UINT32_MAX}) {
    uint16_t y = 7, m = 8, d = 9;
    EXPECT_FALSE(DayNumberToDate(refused_number, y, m, d));
    EXPECT_EQ(std::tuple(y, m, d), std::tuple(7, 8, 9));
  }
}

// Every date of the range, the leap days closing a 4-year and a 400-year block alike, by an
// independent calendar; beyond it, the inverse maps numbers to the right dates while the year
// fits in 16 bits and refuses them after.
TEST(DayNumber, RoundTripsEveryDateInRangeAndAgreesWithChrono) {
  using namespace std::chrono;
  const auto chrono_date = [](DayNumber n) {
    const year_month_day ymd{sys_days{days{static_cast<int64_t>(n) - 281179}}};
    return Ymd(static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
               static_cast<unsigned>(ymd.day()));
  };
  DayNumber n = Day(1582, 1, 1);
  int leap_days = 0;
  for (Ymd date = chrono_date(n); std::get<0>(date) <= 9366; date = chrono_date(++n)) {
    const auto [y, m, d] = date;
    DayNumber got = 0;
    ASSERT_TRUE(DateToDayNumber(static_cast<uint16_t>(y), static_cast<uint16_t>(m),
                                static_cast<uint16_t>(d), got))
        << y << "-" << m << "-" << d;
    ASSERT_EQ(got, n) << y << "-" << m << "-" << d;
    ASSERT_EQ(DateOf(n), date) << n;
    leap_days += m == 2 && d == 29;
  }
  EXPECT_EQ(leap_days, 1888);
  for (DayNumber beyond : {2u, 3u, 146097u, 146098u, 146099u, 1000000u, 10000000u, 11000000u}) {
    EXPECT_EQ(DateOf(beyond), chrono_date(beyond)) << beyond;
  }
  // 31 December 65535 is the last date with a 16-bit year.
  DayNumber last = 23000000;
  while (std::get<0>(DateOf(last + 1)) != 0) ++last;
  EXPECT_EQ(DateOf(last), Ymd(65535, 12, 31));
}

// Today is the clock's date while it is in range; a number that does not convert shows as today.
TEST(FormatDate, MonthDayAndTwoDigitYearOrToday) {
  ce::clock::UseVirtual(1000, ce::SYSTEMTIME{2003, 11, 0, 20, 23, 59, 0, 0});
  EXPECT_EQ(TodayDayNumber(), 293555u);  // 20 November 2003
  // Dates of the usual lengths are on every list's picture.
  EXPECT_EQ(FormatDate(Day(2000, 2, 29)) + u" " + FormatDate(Day(9366, 12, 31)) + u" " +
                FormatDate(0) + u" " + FormatDate(UINT32_MAX),
            u"2/29/00 12/31/66 11/20/03 11/20/03");
  ce::clock::SetDate(2004, 2, 29);
  EXPECT_EQ(FormatDate(1), u"2/29/04");
  ce::clock::SetDate(1500, 6, 1);
  EXPECT_EQ(TodayDayNumber(), 0u);
  ce::clock::UseReal();
}

// On the real clock, today is the user's own calendar date. Zones 26 hours apart never share a
// date, whatever the time; the UTC date would give both the same day.
TEST(Today, IsTheLocalDateOfTheUsersTimeZone) {
  const char* saved = std::getenv("TZ");
  const std::string old = saved != nullptr ? saved : "";
  auto today_in = [](const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
    return TodayDayNumber();
  };
  const DayNumber west = today_in("WEST+12");  // twelve hours behind Greenwich
  const DayNumber east = today_in("EAST-14");  // fourteen ahead
  saved != nullptr ? ::setenv("TZ", old.c_str(), 1) : ::unsetenv("TZ");
  ::tzset();
  EXPECT_TRUE(east - west == 1 || east - west == 2) << east - west;
}

TEST(CycleMath, DaysOfACycle) {
  const DayNumber m = Day(2004, 3, 1);
  // An odd length shares the ovulation window of the even length below it; an emptied presumed
  // length predicts the day before the start; a one-day period ends on it.
  EXPECT_EQ((std::tuple{CycleEnd(m, 28), PeriodEnd(m, 5), OvulationFirstDay(m, 28),
                        OvulationLastDay(m, 28), OvulationFirstDay(m, 29), OvulationLastDay(m, 29),
                        PredictedCycleEnd(m, 28), PredictedCycleEnd(m, 0), PeriodEnd(m, 1)}),
            std::tuple(m + 27, m + 4, m + 13, m + 18, m + 13, m + 18, m + 27, m - 1, m));
}

TEST(CycleForms, PeriodVerdictsAndPredictedEnd) {
  const auto ok = PeriodVerdict::kAccepted, wrong = PeriodVerdict::kIncorrect,
             zero = PeriodVerdict::kZero;
  // Period, cycle length, verdict. Outside 14..40 any period but 0 goes; beyond what three
  // digits hold, still a plain verdict, no overflow.
  const uint32_t huge = 4000000000u;
  const std::tuple<uint32_t, uint32_t, PeriodVerdict> cases[] = {
      {15, 30, wrong}, {14, 30, ok},      {14, 29, wrong}, {13, 29, ok},    {14, 28, wrong},
      {6, 14, ok},     {7, 14, wrong},    {19, 40, ok},    {20, 40, wrong}, {99, 10, ok},
      {99, 45, ok},    {999, 13, ok},     {5, 0, ok},      {0, 28, zero},   {0, 10, zero},
      {0, 0, zero},    {huge, 28, wrong}, {5, huge, ok},
  };
  for (const auto& [period, length, verdict] : cases) {
    EXPECT_EQ(CheckPeriodLength(period, length), verdict) << period << "/" << length;
  }
  // The predicted end: 28 days, 300 and an emptied field are the Add New Cycle scenarios'; here the
  // ends.
  const DayNumber start = Day(2003, 1, 20);
  EXPECT_EQ(PredictedEndText(start, u"1/20/03", false, 1), u"1/20/03");
  EXPECT_EQ(PredictedEndText(start, u"1/20/03", false, 999), FormatDate(start + 998));
}

TEST(PredictionSteps, OneStartEveryAverageDaysNoneAfterTheEnd) {
  const DayNumber m = Day(2004, 3, 1);
  using Days = std::vector<DayNumber>;
  // Start, end, average; the refusals (zero average, start not before the end) and the days.
  // Three starts, no start in a period shorter than the average, an end on the start and a zero
  // average are the Prediction scenarios'.
  const std::tuple<DayNumber, DayNumber, uint32_t, bool, bool, Days> cases[] = {
      {m, m + 56, 28, false, false, {m + 28, m + 56}},  // a step that lands on the end
      {m + 1, m, 28, false, true, {}},
      {m, m + 3, 1, false, false, {m + 1, m + 2, m + 3}},  // every day
      {m, m + 92, 4294967295u, false, false, {}},          // an average longer than any period
  };
  for (const auto& [start, end, average, zero_average, start_not_before, days] : cases) {
    const PredictionResult r = PredictCycleStarts(start, end, average);
    EXPECT_EQ(std::tuple(r.zero_average, r.start_not_before, r.days),
              std::tuple(zero_average, start_not_before, days))
        << start - m << " " << end - m << " " << average;
  }
}

bool HasRun(const CycleDrawing& d, TimeLineRun run) {
  return std::find(d.runs.begin(), d.runs.end(), run) != d.runs.end();
}

std::string Utf8(const std::u16string& s) {
  return std::string(s.begin(), s.end());  // the time line's texts are ASCII
}

// The text placed at (x, y), or "(none)".
std::string TextAt(const CycleDrawing& d, int32_t x, int32_t y) {
  for (const TimeLineText& t : d.texts) {
    if (t.x == x && t.y == y) return Utf8(t.text);
  }
  return "(none)";
}

// Lengths outside 14..40 get the notice instead of the time line; its seven lines are the
// picture's, here the texts that vary.
TEST(TimeLine, EveryValidLengthFillsTheScreenWithShortDaysFirstAndOthersGetTheNotice) {
  for (int32_t length = 0; length <= 58; ++length) {
    const DayNumber start = Day(2003, 3, 1);
    const CycleDrawing d = PlanCycleDrawing({start, 5, length});
    if (length < 14 || length > 40) {
      EXPECT_EQ((std::tuple{d.drawable, d.runs.size(), d.texts.size()}),
                std::tuple(false, 0u, 12u));
      EXPECT_EQ(TextAt(d, 60, 220) + " " + TextAt(d, 120, 252),
                "Cycle length " + std::to_string(length) + " days " +
                    Utf8(FormatDate(start + length - 1)));
      continue;
    }
    const int32_t p = 268 / length;
    ASSERT_EQ((std::tuple{d.drawable, d.day_height, d.day_bottoms.size()}),
              std::tuple(true, p, static_cast<size_t>(length)));
    int32_t top = 0, tall_days = 0;
    for (int32_t k = 0; k < length; ++k) {
      const int32_t height = d.day_bottoms[k] - top;
      ASSERT_TRUE(height == p || height == p + 1) << length << " day " << k;
      if (height == p) {
        EXPECT_EQ(tall_days, 0) << length << ": a short day after a tall one";
      }
      tall_days += height == p + 1;
      // Each day's tick is a 20-pixel run at its top.
      EXPECT_TRUE(HasRun(d, {45, top, 20})) << length << " day " << k;
      top = d.day_bottoms[k];
    }
    // The remainder 268 mod L is spread over the last days, give or take the one day that the
    // floating-point remainder decides.
    EXPECT_TRUE(top == 267 || top == 268) << length;
    EXPECT_TRUE(HasRun(d, {45, 0, 35}) && HasRun(d, {45, 267, 35})) << length;
    // The ovulation lines close days L/2 - 2 and L/2 + 4.
    EXPECT_TRUE(HasRun(d, {45, d.day_bottoms[length / 2 - 2], 30}) &&
                HasRun(d, {45, d.day_bottoms[length / 2 + 4], 30}))
        << length;
    // Both bars fit the screen area where they are drawn.
    EXPECT_EQ(d.ovulation_bar_height, d.ovulation_end_y - d.ovulation_start_y) << length;
    EXPECT_TRUE(d.ovulation_start_y + 7 + d.ovulation_bar_height <= 268 &&
                1 + d.period_bar_height <= 268)
        << length;
  }
}

TEST(TimeLine, MonthSplits) {
  // The start; the length; the day the month changes after and the months named at the top
  // and at the bottom.
  const std::tuple<DayNumber, int32_t, int32_t, const char*, const char*> cases[] = {
      {Day(2003, 1, 20), 28, 11, "Jan", "Feb"},
      {Day(2004, 2, 15), 28, 14, "Feb", "Mar"},  // leap year: 29 days in February
      {Day(2003, 2, 15), 28, 13, "Feb", "Mar"},
      {Day(2000, 2, 10), 28, 19, "Feb", "Mar"},  // divisible by 400: a leap year
      {Day(2100, 2, 10), 28, 18, "Feb", "Mar"},  // divisible by 100 only: not one
      {Day(2003, 6, 20), 28, 10, "Jun", "Jul"},
      {Day(2003, 7, 1), 31, -1, "Jul", "Jul"},  // ends on 31 July: one month
      {Day(2003, 12, 20), 30, 11, "Dec", "Jan"},
      {Day(2003, 8, 31), 28, 0, "Aug", "Sep"},
      {Day(2003, 1, 31), 40, 0, "Jan", "Mar"},  // over February: only the end month is named
  };
  for (const auto& [start, length, split_day, top, bottom] : cases) {
    SCOPED_TRACE(Utf8(FormatDate(start)));
    EXPECT_EQ(MonthSplitDay(start, length), split_day);
    const CycleDrawing d = PlanCycleDrawing({start, 5, length});
    EXPECT_EQ(TextAt(d, 22, 26), top);
    EXPECT_EQ(TextAt(d, 22, 260), bottom);
    if (split_day < 0) continue;
    const int32_t y = d.day_bottoms[split_day];
    EXPECT_TRUE(HasRun(d, {5, y, 40}));
    // The start month's colour reaches down to the split, unless the split hides under the
    // upper arrow.
    EXPECT_EQ(d.strip_piece_height, y > 14 ? y - 14 : 0);
  }
}

TEST(TimeLine, APeriodReachingPastItsCycleLeavesTheMarkAtTheTop) {
  // Period, length; the mark's y and the bar's height.
  const std::tuple<int32_t, int32_t, int32_t, int32_t> cases[] = {
      {0, 28, 9, 15},      // no period day: the mark stays at p
      {29, 28, 9, 15},     // ends after the cycle
      {28, 28, 261, 267},  // ends on the last day
      {15, 15, 262, 267},  // the last day ends at 268: the bar is kept on the screen
  };
  for (const auto& [period, length, period_y, bar] : cases) {
    const CycleDrawing d = PlanCycleDrawing({Day(2003, 1, 1), period, length});
    EXPECT_EQ(std::tuple(d.period_y, d.period_bar_height), std::tuple(period_y, bar)) << period;
    EXPECT_TRUE(HasRun(d, {45, period_y + 6, 30})) << period << "/" << length;
  }
}

TEST(TimeLine, ArrowZonesAndShownCycleIndexesOutOfRange) {
  const auto older = CycleArrow::kOlder, newer = CycleArrow::kNewer, none = CycleArrow::kNone;
  const std::tuple<int32_t, int32_t, CycleArrow> cases[] = {
      {5, 0, older},    {19, 14, older}, {12, 7, older},   {4, 7, none},
      {20, 7, none},    {12, 15, none},  {12, 253, none},  {5, 254, newer},
      {19, 268, newer}, {12, 269, none}, {100, 100, none},
  };
  for (const auto& [x, y, arrow] : cases) EXPECT_EQ(ArrowAt(x, y), arrow) << x << "," << y;
  // Stepping and clamping within the list are the Cycle View scenarios' (the arrows at both ends,
  // a kept cycle that was deleted); here the indexes no screen should hand over.
  EXPECT_EQ((std::tuple{StepShownCycle(0, 0, CycleArrow::kOlder), ClampShownCycleIndex(5, 0),
                        ClampShownCycleIndex(-1, 3), ShownCyclePosition(9, 3)}),
            std::tuple(0, 0, 0, 0u));
}

using Lengths = std::vector<int32_t>;

Lengths StoredLengths() {
  Lengths lengths;
  for (const CycleRecord& c : ReadCycles()) lengths.push_back(c.cycleLength);
  return lengths;
}

class CycleRecordsTest : public calvira::testing::RecordStoreTest {};

TEST_F(CycleRecordsTest, LengthsTheAverageAndTheRangeFollowTheStarts) {
  const DayNumber jan1 = Day(2003, 1, 1);
  const std::tuple<std::vector<DayNumber>, Lengths, int32_t> cases[] = {
      {{jan1, jan1 + 28, jan1 + 58}, {28, 30, 29}, 29},
      // A five-day gap is stored but does not count; no valid length leaves the default 28.
      {{jan1, jan1 + 5}, {5, 28}, 0},
      {{jan1, jan1 + 10, jan1 + 50}, {10, 40, 40}, 40},  // 10 is out, 40 is in
      {{jan1, jan1 + 28, jan1 + 57}, {28, 29, 28}, 28},  // 57 / 2 truncates
      // A lone cycle keeps its presumed length until a second arrives.
      {{jan1}, {31}, 0},
      {{jan1, jan1 + 26}, {26, 26}, 26},
  };
  for (const auto& [starts, lengths, average] : cases) {
    SCOPED_TRACE(average);
    Fresh();
    AverageCycleLength = 0;
    int32_t min = -1, max = -1;
    EXPECT_FALSE(CycleLengthRange(min, max));
    // Entered out of order: the store keeps them by start, or the lengths would read reversed.
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
      EXPECT_EQ(AddCycle(*it, 5, 31), AddCycleResult::kAdded);
    }
    EXPECT_EQ(StoredLengths(), lengths);
    EXPECT_EQ(AverageCycleLength, average);
    // The range covers every cycle, the newest included.
    ASSERT_TRUE(CycleLengthRange(min, max));
    EXPECT_EQ(min, *std::min_element(lengths.begin(), lengths.end()));
    EXPECT_EQ(max, *std::max_element(lengths.begin(), lengths.end()));
  }
}

TEST_F(CycleRecordsTest, ARefusedWriteIsNotReportedAsAdded) {
  AddCycle(Day(2003, 1, 1), 5, 28);
  MountFaulty();
  calvira::testing::FailFrom(1, calvira::testing::Fault::kDiskFull);
  EXPECT_EQ(AddCycle(Day(2003, 1, 29), 5, 28), AddCycleResult::kWriteFailed);
  calvira::testing::ClearFault();
  Remount();
  EXPECT_EQ(StoredLengths(), Lengths{28});
}

TEST(CycleHistory, TheLineAndTheAverage) {
  // Every length starts in column seventeen; two-digit lengths and the newest's N/A are the
  // Cycle History picture's.
  EXPECT_EQ(HistoryLine(u"12/25/03", 5, false), u"12/25/03        5");
  EXPECT_EQ(HistoryLine(u"1/5/03", 100, false), u"1/5/03          100");
  // N/A under two cycles, then the newest stored length.
  const CycleRecord one[] = {{Day(2003, 1, 5), 5, 31}};
  const CycleRecord two[] = {{Day(2003, 1, 5), 5, 30}, {Day(2003, 2, 4), 5, 30}};
  const CycleRecord three[] = {{Day(2003, 1, 5), 5, 28}, {Day(2003, 2, 2), 5, 31}, {0, 5, 29}};
  EXPECT_EQ(HistoryAverageText({}) + u" " + HistoryAverageText(one) + u" " +
                HistoryAverageText(two) + u" " + HistoryAverageText(three),
            u"N/A N/A 30 29");
}

// A middle cycle, the newest and the last but one are the Cycle History scenarios'; here the
// oldest, the last two (no average is computed from one cycle) and a position beyond the list.
TEST_F(CycleRecordsTest, DeletingJoinsTheNeighboursAndRecalculates) {
  const DayNumber jan1 = Day(2003, 1, 1), jan11 = Day(2003, 1, 11), jan29 = Day(2003, 1, 29),
                  feb28 = Day(2003, 2, 28), mar30 = Day(2003, 3, 30);
  using Cycles = std::vector<std::pair<DayNumber, int32_t>>;
  const std::tuple<std::vector<DayNumber>, size_t, bool, Cycles> cases[] = {
      {{jan1, jan29, feb28, mar30}, 0, true, {{jan29, 30}, {feb28, 30}, {mar30, 30}}},
      {{jan1, jan29}, 2, false, {{jan1, 28}, {jan29, 28}}},  // beyond the cycles
      // 10 days: no valid length, so the newest held 28; the one left keeps its real 10.
      {{jan1, jan11}, 1, true, {{jan1, 10}}},
  };
  for (const auto& [stored, position, deleted, left] : cases) {
    SCOPED_TRACE(position);
    Fresh();
    for (DayNumber start : stored) ASSERT_EQ(AddCycle(start, 5, 28), AddCycleResult::kAdded);
    AverageCycleLength = 99;
    EXPECT_EQ(DeleteCycleAt(position), deleted);
    Cycles cycles;
    for (const CycleRecord& r : ReadCycles()) cycles.emplace_back(r.start, r.cycleLength);
    EXPECT_EQ(cycles, left);
    if (stored.size() == 2) {
      EXPECT_EQ(AverageCycleLength, 99);
    }
    EXPECT_TRUE(TakeBoxTexts().empty());
  }
  EXPECT_TRUE(DeleteCycleAt(0));  // the last one goes too
  EXPECT_TRUE(ReadCycles().empty());
}

}  // namespace
