// The "Cycles" database: adding, refusing duplicates and recalculating lengths and the average.
#include "cycles/cycle_records.h"

#include <gtest/gtest.h>

#include "store/catalogue.h"
#include "support/days.h"
#include "support/fault_vfs.h"
#include "support/temp_store.h"

namespace {

using calvira::testing::Day;

class CycleRecordsTest : public calvira::testing::TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
    AverageCycleLength = 0;
  }

  std::vector<int32_t> Lengths() {
    std::vector<int32_t> lengths;
    for (const CycleRecord& c : ReadCycles()) lengths.push_back(c.cycleLength);
    return lengths;
  }
};

TEST_F(CycleRecordsTest, LengthsAndTheAverageFollowTheStarts) {
  struct Case {
    std::vector<DayNumber> starts;
    std::vector<int32_t> lengths;
    int32_t average;
  };
  const Case cases[] = {
      {{Day(2003, 1, 1), Day(2003, 1, 29), Day(2003, 2, 28)}, {28, 30, 29}, 29},
      // A five-day gap is stored but does not count; no valid length leaves the default 28.
      {{Day(2003, 1, 1), Day(2003, 1, 6)}, {5, 28}, 0},
      // 10 is out, 40 is in.
      {{Day(2003, 1, 1), Day(2003, 1, 11), Day(2003, 2, 20)}, {10, 40, 40}, 40},
      // 57 / 2 truncates.
      {{Day(2003, 1, 1), Day(2003, 1, 29), Day(2003, 2, 27)}, {28, 29, 28}, 28},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.average);
    TearDown();
    SetUp();
    // Entered out of order: the store keeps them by start.
    for (auto it = c.starts.rbegin(); it != c.starts.rend(); ++it) {
      EXPECT_EQ(AddCycle(*it, 5, 31), AddCycleResult::kAdded);
    }
    EXPECT_EQ(Lengths(), c.lengths);
    EXPECT_EQ(AverageCycleLength, c.average);
    const auto cycles = ReadCycles();
    for (size_t i = 0; i < cycles.size(); ++i) {
      EXPECT_EQ(cycles[i].start, c.starts[i]);
      EXPECT_EQ(cycles[i].periodLength, 5);
    }
  }
}

TEST_F(CycleRecordsTest, ALoneCycleKeepsItsPresumedLengthUntilASecondArrives) {
  ASSERT_EQ(AddCycle(Day(2004, 3, 1), 5, 33), AddCycleResult::kAdded);
  EXPECT_EQ(Lengths(), std::vector<int32_t>{33});
  EXPECT_EQ(AverageCycleLength, 0);
  int32_t min = 0, max = 0;
  ASSERT_TRUE(CycleLengthRange(min, max));
  EXPECT_EQ(min, 33);
  EXPECT_EQ(max, 33);

  ASSERT_EQ(AddCycle(Day(2004, 3, 27), 4, 33), AddCycleResult::kAdded);
  EXPECT_EQ(Lengths(), (std::vector<int32_t>{26, 26}));
  EXPECT_EQ(CycleCount(), 2u);
}

TEST_F(CycleRecordsTest, RangeCoversEveryCycleIncludingTheNewest) {
  int32_t min = -1, max = -1;
  EXPECT_FALSE(CycleLengthRange(min, max));
  EXPECT_EQ(min, -1);
  for (DayNumber start : {Day(2003, 1, 1), Day(2003, 1, 11), Day(2003, 2, 20)}) {
    AddCycle(start, 3, 28);
  }
  ASSERT_TRUE(CycleLengthRange(min, max));
  EXPECT_EQ(min, 10);
  EXPECT_EQ(max, 40);
}

TEST_F(CycleRecordsTest, ARefusedWriteIsNotReportedAsAdded) {
  AddCycle(Day(2003, 1, 1), 5, 28);
  MountFaulty();
  calvira::testing::FailFrom(1, calvira::testing::Fault::kDiskFull);
  EXPECT_EQ(AddCycle(Day(2003, 1, 29), 5, 28), AddCycleResult::kWriteFailed);
  calvira::testing::ClearFault();
  Remount();
  EXPECT_EQ(Lengths(), std::vector<int32_t>{28});
}

}  // namespace
