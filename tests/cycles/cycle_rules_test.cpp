// The arithmetic of cycles: the days of a cycle, the period verdict of Add New Cycle and Edit
// Cycle at its boundaries, the predicted end at the ends of the field's range, and Prediction's
// starts over a period with the refusals it reports. The range text, the question and what the
// stored cycles say are met in the Prediction scenarios.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "cycles/cycle_forms.h"
#include "cycles/cycle_math.h"
#include "cycles/prediction.h"
#include "support/days.h"

namespace {

using calvira::testing::Day;

TEST(CycleMath, DaysOfACycleAcrossMonthLeapDayAndYearEnd) {
  const DayNumber mar1 = Day(2004, 3, 1), jan1 = Day(2003, 1, 1);
  // Got, expected. An odd length shares the ovulation window of the even length below it; an
  // emptied presumed length predicts the day before the start; a one-day period ends on it.
  const std::pair<DayNumber, DayNumber> cases[] = {
      {CycleEnd(mar1, 28), mar1 + 27},
      {PeriodEnd(mar1, 5), mar1 + 4},
      {OvulationFirstDay(mar1, 28), mar1 + 13},
      {OvulationLastDay(mar1, 28), mar1 + 18},
      {OvulationFirstDay(mar1, 29), mar1 + 13},
      {OvulationLastDay(mar1, 29), mar1 + 18},
      {PredictedCycleEnd(mar1, 28), mar1 + 27},
      {CycleEnd(Day(2004, 2, 15), 28), Day(2004, 3, 13)},
      {CycleEnd(Day(2003, 2, 15), 28), Day(2003, 3, 14)},
      {CycleEnd(Day(2003, 12, 20), 30), Day(2004, 1, 18)},
      {PredictedCycleEnd(jan1, 0), jan1 - 1},
      {PeriodEnd(jan1, 1), jan1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].first, cases[i].second) << i;
}

TEST(CycleForms, PeriodVerdicts) {
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
}

TEST(CycleForms, PredictedEnd) {
  const DayNumber start = Day(2003, 1, 20);
  // 28 days, 300 and an emptied field are the Add New Cycle scenarios'; here the ends.
  EXPECT_EQ(PredictedEndText(start, u"1/20/03", false, 1), u"1/20/03");
  EXPECT_EQ(PredictedEndText(start, u"1/20/03", false, 999), FormatDate(start + 998));
}

TEST(PredictionSteps, OneStartEveryAverageDaysNoneAfterTheEnd) {
  const DayNumber m = Day(2004, 3, 1);
  using Days = std::vector<DayNumber>;
  // Start, end, average; the refusals (zero average, start not before the end) and the days.
  const std::tuple<DayNumber, DayNumber, uint32_t, bool, bool, Days> cases[] = {
      {m, Day(2004, 6, 1), 28, false, false, {m + 28, m + 56, m + 84}},
      {m, m + 56, 28, false, false, {m + 28, m + 56}},  // a step that lands on the end
      {m, m + 29, 30, false, false, {}},
      {m, m, 28, false, true, {}},
      {m + 1, m, 28, false, true, {}},
      {m, m + 92, 0, true, false, {}},
      {m + 1, m, 0, true, true, {}},
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

}  // namespace
