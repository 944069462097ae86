// Pill History's lines: the filler that lines the times up, and only the days with a pill.
#include "schedule/pill_history.h"

#include <gtest/gtest.h>

namespace {

TEST(PillHistoryLines, TheFillerDependsOnTheDateLength) {
  struct Case {
    const char16_t* date;
    size_t blanks;
  };
  const Case cases[] = {
      {u"1/5/04", 12}, {u"1/31/04", 10}, {u"11/25/04", 8}, {u"1/5/4", 0}, {u"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PillLineText(c.date, u"8:30"),
              std::u16string(c.date) + std::u16string(c.blanks, u' ') + u"8:30");
  }
  // A pill without a time text shows the date and the filler only.
  EXPECT_EQ(PillLineText(u"2/1/04", u""), u"2/1/04" + std::u16string(12, u' '));
}

TEST(PillHistoryLines, OneLinePerPillDayCarryingItsOwnDay) {
  DayNumber jan31 = 0, feb1 = 0, old = 0;
  ASSERT_TRUE(DateToDayNumber(2004, 1, 31, jan31));
  ASSERT_TRUE(DateToDayNumber(2004, 2, 1, feb1));
  ASSERT_TRUE(DateToDayNumber(1904, 2, 1, old));
  const std::vector<PillLine> lines = PillHistoryLines({
      {old, 0, true, u"", u"7:00"},
      {jan31, 3, false, u"no pill", u""},
      {feb1, 1, true, u"", u"19:05"},
  });
  ASSERT_EQ(lines.size(), 2u);
  // The two lines read alike but stand for days a century apart.
  EXPECT_EQ(lines[0].day, old);
  EXPECT_EQ(lines[0].text, u"2/1/04" + std::u16string(12, u' ') + u"7:00");
  EXPECT_EQ(lines[1].day, feb1);
  EXPECT_EQ(lines[1].text, u"2/1/04" + std::u16string(12, u' ') + u"19:05");
}

}  // namespace
