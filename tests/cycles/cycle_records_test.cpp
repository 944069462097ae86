// The "Cycles" database: adding, refusing duplicates and recalculating lengths and the average;
// Cycle History's rules: the padded list line, the average field, and deleting cycles, which
// joins the neighbours of a deleted cycle and recalculates what remains.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "cycles/cycle_history.h"
#include "cycles/cycle_records.h"
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
  // Every length starts in column seventeen.
  const std::tuple<std::u16string, int32_t, bool, std::u16string> lines[] = {
      {u"1/5/03", 28, false, u"1/5/03          28"},
      {u"11/5/03", 30, false, u"11/5/03         30"},
      {u"1/5/03", 28, true, u"1/5/03          N/A"},
      {u"12/25/03", 5, false, u"12/25/03        5"},
      {u"12/25/03", 58, true, u"12/25/03        N/A"},
      {u"1/5/03", 100, false, u"1/5/03          100"},
  };
  for (const auto& [date, length, newest, line] : lines) {
    EXPECT_EQ(HistoryLine(date, length, newest), line);
  }
  // N/A under two cycles, then the newest stored length.
  const CycleRecord one[] = {{Day(2003, 1, 5), 5, 31}};
  const CycleRecord three[] = {{Day(2003, 1, 5), 5, 28}, {Day(2003, 2, 2), 5, 31}, {0, 5, 29}};
  EXPECT_EQ(HistoryAverageText({}) + HistoryAverageText(one) + HistoryAverageText(three),
            u"N/AN/A29");
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
