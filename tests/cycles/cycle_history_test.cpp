// Cycle History's rules: the padded list line, the average field, and deleting cycles, which
// joins the neighbours of a deleted cycle and recalculates what remains.
#include "cycles/cycle_history.h"

#include <gtest/gtest.h>

#include "store/catalogue.h"
#include "support/temp_store.h"

namespace {

DayNumber Day(uint16_t year, uint16_t month, uint16_t day) {
  DayNumber n = 0;
  EXPECT_TRUE(DateToDayNumber(year, month, day, n));
  return n;
}

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

  void Store(std::initializer_list<DayNumber> starts) {
    for (DayNumber start : starts) ASSERT_EQ(AddCycle(start, 5, 28), AddCycleResult::kAdded);
  }

  std::vector<std::pair<DayNumber, int32_t>> Cycles() {
    std::vector<std::pair<DayNumber, int32_t>> out;
    for (const CycleRecord& c : ReadCycles()) out.emplace_back(c.start, c.cycleLength);
    return out;
  }
};

TEST_F(CycleHistoryDeleteTest, DeletingJoinsTheNeighboursAndRecalculates) {
  const DayNumber jan1 = Day(2003, 1, 1), jan29 = Day(2003, 1, 29), feb28 = Day(2003, 2, 28),
                  mar30 = Day(2003, 3, 30);
  struct Case {
    const char* what;
    size_t position;
    std::vector<std::pair<DayNumber, int32_t>> left;
  };
  const Case cases[] = {
      // 58 days is stored but stays out of the average, which is 30 alone.
      {"a middle cycle", 1, {{jan1, 58}, {feb28, 30}, {mar30, 30}}},
      {"the oldest", 0, {{jan29, 30}, {feb28, 30}, {mar30, 30}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    Store({jan1, jan29, feb28, mar30});
    EXPECT_TRUE(DeleteCycleAt(c.position));
    EXPECT_EQ(Cycles(), c.left);
  }
}

TEST_F(CycleHistoryDeleteTest, DownToOneCycleNothingIsRecalculated) {
  const DayNumber jan1 = Day(2003, 1, 1), jan11 = Day(2003, 1, 11);
  Store({jan1, jan11});  // 10 days: no valid length, so the newest holds 28
  AverageCycleLength = 99;
  EXPECT_TRUE(DeleteCycleAt(1));
  // The remaining cycle keeps its real length of 10, and no average was computed.
  EXPECT_EQ(Cycles(), (std::vector<std::pair<DayNumber, int32_t>>{{jan1, 10}}));
  EXPECT_EQ(AverageCycleLength, 99);
  EXPECT_TRUE(DeleteCycleAt(0));
  EXPECT_TRUE(Cycles().empty());
}

TEST_F(CycleHistoryDeleteTest, APositionBeyondTheCyclesChangesNothing) {
  Store({Day(2003, 1, 1), Day(2003, 1, 29)});
  const auto before = Cycles();
  EXPECT_FALSE(DeleteCycleAt(2));
  EXPECT_EQ(Cycles(), before);
  EXPECT_TRUE(TakeBoxTexts().empty());
}

}  // namespace
