// The "Cycles" database: adding, refusing duplicates and recalculating lengths and the average.
#include "cycles/cycle_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "support/days.h"
#include "support/record_store.h"

namespace {

using calvira::testing::Day;
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
  };
  for (const auto& [starts, lengths, average] : cases) {
    SCOPED_TRACE(average);
    Fresh();
    AverageCycleLength = 0;
    int32_t min = -1, max = -1;
    EXPECT_FALSE(CycleLengthRange(min, max));
    // Entered out of order: the store keeps them by start.
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
      EXPECT_EQ(AddCycle(*it, 5, 31), AddCycleResult::kAdded);
    }
    EXPECT_EQ(StoredLengths(), lengths);
    EXPECT_EQ(AverageCycleLength, average);
    const auto cycles = ReadCycles();
    for (size_t i = 0; i < cycles.size(); ++i) EXPECT_EQ(cycles[i].start, starts[i]);
    // The range covers every cycle, the newest included.
    ASSERT_TRUE(CycleLengthRange(min, max));
    EXPECT_EQ(min, *std::min_element(lengths.begin(), lengths.end()));
    EXPECT_EQ(max, *std::max_element(lengths.begin(), lengths.end()));
  }
}

TEST_F(CycleRecordsTest, ALoneCycleKeepsItsPresumedLengthUntilASecondArrives) {
  AverageCycleLength = 0;
  ASSERT_EQ(AddCycle(Day(2004, 3, 1), 5, 33), AddCycleResult::kAdded);
  EXPECT_EQ(StoredLengths(), Lengths{33});
  EXPECT_EQ(AverageCycleLength, 0);
  int32_t min = 0, max = 0;
  ASSERT_TRUE(CycleLengthRange(min, max));
  EXPECT_EQ(std::pair(min, max), std::pair(33, 33));
  ASSERT_EQ(AddCycle(Day(2004, 3, 27), 4, 33), AddCycleResult::kAdded);
  EXPECT_EQ(StoredLengths(), (Lengths{26, 26}));
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

}  // namespace
