// Prediction's rule: the predicted starts over a period, with the refusals it reports. The range
// text, the question and what the stored cycles say are met in the Prediction scenarios.
#include "cycles/prediction.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/days.h"

namespace {

using calvira::testing::Day;

TEST(PredictionSteps, OneStartEveryAverageDaysNoneAfterTheEnd) {
  const DayNumber m = Day(2004, 3, 1);
  using Days = std::vector<DayNumber>;
  // Start, end, average; the refusals (zero average, start not before the end) and the days.
  const std::tuple<DayNumber, DayNumber, uint32_t, bool, bool, Days> cases[] = {
      {m,
       Day(2004, 6, 1),
       28,
       false,
       false,
       {Day(2004, 3, 29), Day(2004, 4, 26), Day(2004, 5, 24)}},
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
