// Prediction's rule: the predicted starts over a period, with the refusals it reports. The range
// text, the question and what the stored cycles say are met in the Prediction scenarios.
#include "cycles/prediction.h"

#include <gtest/gtest.h>

#include "support/days.h"

namespace {

using calvira::testing::Day;

TEST(PredictionSteps, OneStartEveryAverageDaysNoneAfterTheEnd) {
  struct Case {
    const char* what;
    DayNumber start, end;
    uint32_t average;
    bool zero_average, start_not_before;
    std::vector<DayNumber> days;
  };
  const DayNumber mar1 = Day(2004, 3, 1);
  const Case cases[] = {
      {"92 days by 28",
       mar1,
       Day(2004, 6, 1),
       28,
       false,
       false,
       {Day(2004, 3, 29), Day(2004, 4, 26), Day(2004, 5, 24)}},
      {"a step that lands on the end", mar1, mar1 + 56, 28, false, false, {mar1 + 28, mar1 + 56}},
      {"30 over 29 days", mar1, mar1 + 29, 30, false, false, {}},
      {"start equal to end", mar1, mar1, 28, false, true, {}},
      {"start after end", mar1 + 1, mar1, 28, false, true, {}},
      {"average 0", mar1, mar1 + 92, 0, true, false, {}},
      {"average 0 and start after end", mar1 + 1, mar1, 0, true, true, {}},
      {"every day", mar1, mar1 + 3, 1, false, false, {mar1 + 1, mar1 + 2, mar1 + 3}},
      {"an average longer than any period", mar1, mar1 + 92, 4294967295u, false, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PredictionResult r = PredictCycleStarts(c.start, c.end, c.average);
    EXPECT_EQ(r.zero_average, c.zero_average);
    EXPECT_EQ(r.start_not_before, c.start_not_before);
    EXPECT_EQ(r.days, c.days);
  }
}

}  // namespace
