// The calendar as a user meets it from the menu: it schedules days and shows their entries as
// icons. Opened by another screen it picks a date and goes back: the diary's and Temp History's
// walks; the diary's takes its picture.

#include "scenarios/cycle_steps.h"
#include "schedule/calendar.h"
#include "store/catalogue.h"

namespace calvira::testing {
namespace {

void ExpectToday() {
  EXPECT_EQ(Shown(kCtlMonthTitle)->text, u"Dec 2026");
  const ce::POINT today = DecemberCell(6);
  EXPECT_EQ(Scenario::PixelAt(today.x, today.y), Rgb565(0, 0, 255));
}

// Each day's icons, the level top right, the pill bottom right, the remark bottom left, are the
// committed picture's.
TEST(Calendar, ScheduleEditShowsTheMonthTodayAndEachDaysIconsAndOpensTheDayEditor) {
  Scenario s("schedule edit");
  s.Before([] {
    CreateCatalogue();
    ASSERT_TRUE(SavePillDay(Entry(1, 1, false, u"", u"")));
    ASSERT_TRUE(SavePillDay(Entry(2, 2, true, u"", u"8:00")));
    ASSERT_TRUE(SavePillDay(Entry(3, 3, false, u"dentist", u"")));
    ASSERT_TRUE(SavePillDay(Entry(8, 0, true, u"", u"8:00")));
    for (uint16_t d = 14; d <= 18; ++d) {
      ASSERT_TRUE(SavePillDay(Entry(d, d < 17 ? 2 : 1, true, u"", u"7:30")));
    }
  });
  s.Menu(kCmdScheduleEdit).Check([] {
    ExpectView(kScheduleView);
    EXPECT_EQ(CDocument_::GetPreviousView(), kDayEntryView);
    ExpectToday();
  });
  // Which zone steps how far is the calendar's own table; here a step and "Today", which goes
  // back to the start-up month with today highlighted again.
  s.Screenshot(ShotPath("calendar-schedule.png"))
      .Tap(212, 14)
      .Check([] { EXPECT_EQ(Shown(kCtlMonthTitle)->text, u"Jan 2027"); })
      .Tap(60, 14)
      .Check(ExpectToday);
  TapDay(s, 1)
      .Check([] { ExpectView(kDayEntryView); })
      .TapControl(kCtlDayDone)  // nothing changed: back on the calendar, still scheduling
      .Tap(180, 14)             // "Done" from the menu's calendar leads to the Cycle View
      .Check([] { ExpectView(kCycleView); });
  EXPECT_EQ(s.Run(), 0);
}

}  // namespace
}  // namespace calvira::testing
