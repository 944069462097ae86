// Cycle History's rules: the padded list line, the average field, and deleting cycles, which
// joins the neighbours of a deleted cycle and recalculates what remains.
#include "cycles/cycle_history.h"

#include <gtest/gtest.h>

#include "store/catalogue.h"
#include "support/days.h"
#include "support/temp_store.h"

namespace {

using calvira::testing::Day;

TEST(CycleHistoryLine, EveryLengthStartsInColumnSeventeen) {
  struct Case {
    std::u16string date;
    int32_t length;
    bool newest;
    std::u16string line;
  };
  const Case cases[] = {
      {u"1/5/03", 28, false, u"1/5/03          28"},
      {u"11/5/03", 30, false, u"11/5/03         30"},
      {u"12/25/03", 5, false, u"12/25/03        5"},
      {u"12/25/03", 58, true, u"12/25/03        N/A"},
      {u"1/5/03", 28, true, u"1/5/03          N/A"},
      {u"1/5/03", 100, false, u"1/5/03          100"},
  };
  for (const Case& c : cases) {
    const std::u16string line = HistoryLine(c.date, c.length, c.newest);
    EXPECT_EQ(line, c.line);
    EXPECT_EQ(line.find_first_not_of(u' ', c.date.size()), kHistoryDateColumn);
  }
}

TEST(CycleHistoryAverage, NAUnderTwoCyclesThenTheNewestStoredLength) {
  const CycleRecord one[] = {{Day(2003, 1, 5), 5, 31}};
  const CycleRecord two[] = {{Day(2003, 1, 5), 5, 30}, {Day(2003, 2, 4), 5, 30}};
  const CycleRecord three[] = {{Day(2003, 1, 5), 5, 28}, {Day(2003, 2, 2), 5, 31}, {0, 5, 29}};
  EXPECT_EQ(HistoryAverageText({}), u"N/A");
  EXPECT_EQ(HistoryAverageText(one), u"N/A");
  EXPECT_EQ(HistoryAverageText(two), u"30");
  EXPECT_EQ(HistoryAverageText(three), u"29");
}

class CycleHistoryDeleteTest : public calvira::testing::TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
  }
};

// A middle cycle, the newest and the last but one are the Cycle History scenarios'; here the
// oldest, the last two (no average is computed from one cycle) and a position beyond the list.
TEST_F(CycleHistoryDeleteTest, DeletingJoinsTheNeighboursAndRecalculates) {
  const DayNumber jan1 = Day(2003, 1, 1), jan11 = Day(2003, 1, 11), jan29 = Day(2003, 1, 29),
                  feb28 = Day(2003, 2, 28), mar30 = Day(2003, 3, 30);
  using Cycles = std::vector<std::pair<DayNumber, int32_t>>;
  struct Case {
    const char* what;
    std::vector<DayNumber> stored;
    size_t position;
    bool deleted;
    Cycles left;
  };
  const Case cases[] = {
      {"the oldest", {jan1, jan29, feb28, mar30}, 0, true, {{jan29, 30}, {feb28, 30}, {mar30, 30}}},
      {"beyond the cycles", {jan1, jan29}, 2, false, {{jan1, 28}, {jan29, 28}}},
      // 10 days: no valid length, so the newest held 28; the one left keeps its real 10.
      {"down to one", {jan1, jan11}, 1, true, {{jan1, 10}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    for (DayNumber start : c.stored) ASSERT_EQ(AddCycle(start, 5, 28), AddCycleResult::kAdded);
    AverageCycleLength = 99;
    EXPECT_EQ(DeleteCycleAt(c.position), c.deleted);
    Cycles left;
    for (const CycleRecord& r : ReadCycles()) left.emplace_back(r.start, r.cycleLength);
    EXPECT_EQ(left, c.left);
    if (c.stored.size() == 2) {
      EXPECT_EQ(AverageCycleLength, 99);
    }
    EXPECT_TRUE(TakeBoxTexts().empty());
  }
  EXPECT_TRUE(DeleteCycleAt(0));  // the last one goes too
  EXPECT_TRUE(ReadCycles().empty());
}

}  // namespace
