// Pill History's lines: the filler that lines the times up, and only the days with a pill.
#include "schedule/pill_history.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "support/days.h"

namespace {

using calvira::testing::Day;

TEST(PillHistoryLines, TheFillerDependsOnTheDateLength) {
  const std::pair<std::u16string, size_t> cases[] = {
      {u"1/5/04", 12}, {u"1/31/04", 10}, {u"11/25/04", 8}, {u"1/5/4", 0}, {u"", 0},
  };
  for (const auto& [date, blanks] : cases) {
    EXPECT_EQ(PillLineText(date, u"8:30"), date + std::u16string(blanks, u' ') + u"8:30");
  }
  // A pill without a time text shows the date and the filler only.
  EXPECT_EQ(PillLineText(u"2/1/04", u""), u"2/1/04" + std::u16string(12, u' '));
}

TEST(PillHistoryLines, OneLinePerPillDayCarryingItsOwnDay) {
  const DayNumber jan31 = Day(2004, 1, 31), feb1 = jan31 + 1, old = Day(1904, 2, 1);
  const std::vector<PillLine> lines = PillHistoryLines({
      {old, 0, true, u"", u"7:00"},
      {jan31, 3, false, u"no pill", u""},
      {feb1, 1, true, u"", u"19:05"},
  });
  ASSERT_EQ(lines.size(), 2u);
  // The two lines read alike but stand for days a century apart.
  const std::u16string date = u"2/1/04" + std::u16string(12, u' ');
  EXPECT_EQ(std::tuple(lines[0].day, lines[0].text), std::tuple(old, date + u"7:00"));
  EXPECT_EQ(std::tuple(lines[1].day, lines[1].text), std::tuple(feb1, date + u"19:05"));
}

}  // namespace
