// Prediction's rules: the predicted starts over a period, the range text, and what the stored
// cycles say before anything is predicted.
#include "cycles/prediction.h"

#include <gtest/gtest.h>

#include "cycles/cycle_records.h"
#include "store/catalogue.h"
#include "support/temp_store.h"

namespace {

DayNumber Day(uint16_t year, uint16_t month, uint16_t day) {
  DayNumber n = 0;
  EXPECT_TRUE(DateToDayNumber(year, month, day, n));
  return n;
}

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

TEST(PredictionSteps, TenYearsByTwentyEight) {
  const DayNumber start = Day(2004, 3, 1), end = Day(2014, 3, 1);
  const PredictionResult r = PredictCycleStarts(start, end, 28);
  ASSERT_EQ(r.days.size(), (end - start) / 28);
  EXPECT_LE(r.days.back(), end);
  EXPECT_GT(r.days.back() + 28, end);
}

TEST(PredictionTexts, RangeAndQuestion) {
  EXPECT_EQ(LengthRangeText(28, 28), u"(28)");
  EXPECT_EQ(LengthRangeText(27, 30), u"(27-30)");
  EXPECT_EQ(LengthRangeText(5, 58), u"(5-58)");
  EXPECT_EQ(AddPredictedCycleQuestion(u"3/29/04"),
            u"Do you want to add date\n3/29/04 as a new cycle?");
}

class PredictionBasisTest : public calvira::testing::TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
  }
};

TEST_F(PredictionBasisTest, WithoutCyclesYesterdayAnd28AndNoRange) {
  const PredictionBasis b = ReadPredictionBasis(Day(2004, 3, 1));
  EXPECT_EQ(b.last_cycle_end, Day(2004, 2, 29));
  EXPECT_EQ(b.average, 28);
  EXPECT_EQ(b.range_text, u"");
}

TEST_F(PredictionBasisTest, TheNewestCycleGivesTheAverageAndTheEnd) {
  // Lengths 27 and 30, and the newest gets their average, 28.
  const DayNumber jan1 = Day(2004, 1, 1);
  for (DayNumber start : {jan1, jan1 + 27, jan1 + 57}) {
    ASSERT_EQ(AddCycle(start, 5, 28), AddCycleResult::kAdded);
  }
  PredictionBasis b = ReadPredictionBasis(Day(2004, 6, 1));
  EXPECT_EQ(b.range_text, u"(27-30)");
  EXPECT_EQ(b.average, 28);
  EXPECT_EQ(b.last_cycle_end, jan1 + 57 + 27);

  TearDown();
  SetUp();
  // A lone cycle keeps the length it was entered with.
  ASSERT_EQ(AddCycle(jan1, 5, 31), AddCycleResult::kAdded);
  b = ReadPredictionBasis(Day(2004, 6, 1));
  EXPECT_EQ(b.range_text, u"(31)");
  EXPECT_EQ(b.average, 31);
  EXPECT_EQ(b.last_cycle_end, jan1 + 30);
}

}  // namespace
