// The calendar as a user meets it: from the menu it schedules days and shows their entries as
// icons; opened by another screen it picks a date and goes back.
#include <gtest/gtest.h>

#include "frame/document.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "schedule/calendar.h"
#include "schedule/pill_records.h"
#include "store/catalogue.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

// The scenarios' today is 6 December 2026; the grid lies under the 70-pixel band of zones.
const MonthGrid kDecember = LayOutMonth(2026, 12, {0, 70, 240, 268});

ce::RECT Cell(int day) {
  return kDecember.cells[static_cast<size_t>(day - 1)];
}

PillDay Entry(int day, int16_t level, bool pill, std::u16string remark, std::u16string time) {
  return {Day(2026, 12, static_cast<uint16_t>(day)), level, pill, std::move(remark),
          std::move(time)};
}

std::u16string Title() {
  const auto title = Shown(kCtlMonthTitle);
  return title ? title->text : u"(no title)";
}

void ExpectToday() {
  EXPECT_EQ(Title(), u"Dec 2026");
  const ce::POINT today = DecemberCell(6);
  EXPECT_EQ(Scenario::PixelAt(today.x, today.y), Rgb565(0, 0, 255));
}

Scenario& TapDay(Scenario& s, int day) {
  return s.Tap(DecemberCell(day).x, DecemberCell(day).y);
}

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
    const ce::POINT fifth = DecemberCell(5);
    EXPECT_EQ(Scenario::PixelAt(fifth.x + 8, fifth.y + 8), Rgb565(198, 198, 198));
    EXPECT_EQ(Scenario::PixelAt(237, 200), Rgb565(230, 230, 230));  // right of the last column
    // The level top right, the pill bottom right, the remark bottom left; nothing where nothing
    // is.
    for (int day : {1, 2, 3}) EXPECT_TRUE(IconAt(Cell(day).right - 16, Cell(day).top)) << day;
    EXPECT_FALSE(IconAt(Cell(8).right - 16, Cell(8).top));
    EXPECT_TRUE(IconAt(Cell(2).right - 16, Cell(2).bottom - 16));
    EXPECT_TRUE(IconAt(Cell(8).right - 16, Cell(8).bottom - 16));
    EXPECT_FALSE(IconAt(Cell(1).right - 16, Cell(1).bottom - 16));
    EXPECT_TRUE(IconAt(Cell(3).left, Cell(3).bottom - 16));
    EXPECT_FALSE(IconAt(Cell(2).left, Cell(2).bottom - 16));
    // Each level has its own picture.
    bool differ = false;
    for (int32_t y = 0; y < 16 && !differ; ++y) {
      for (int32_t x = 0; x < 16 && !differ; ++x) {
        differ = Scenario::PixelAt(Cell(1).right - 16 + x, Cell(1).top + y) !=
                 Scenario::PixelAt(Cell(3).right - 16 + x, Cell(3).top + y);
      }
    }
    EXPECT_TRUE(differ);
  });
  s.Screenshot(ShotPath("calendar-schedule.png"))
      .Tap(212, 14)  // next month, into the next year
      .Check([] { EXPECT_EQ(Title(), u"Jan 2027"); })
      .Tap(12, 14)  // a year back
      .Check([] { EXPECT_EQ(Title(), u"Jan 2026"); })
      .Tap(30, 14)  // a month back, across the year
      .Check([] { EXPECT_EQ(Title(), u"Dec 2025"); })
      .Tap(229, 14)
      .Check(ExpectToday)
      .Tap(212, 14)
      .Tap(60, 14)  // "Today" goes back to the start-up month, today highlighted again
      .Check(ExpectToday);
  TapDay(s, 1)
      .Check([] { ExpectView(kDayEntryView); })
      .TapControl(kCtlDayDone)  // nothing changed: back on the calendar, still scheduling
      .Tap(180, 14)             // "Done" from the menu's calendar leads to the Cycle View
      .Check([] { ExpectView(kCycleView); });
  EXPECT_EQ(s.Run(), 0);
}

// As a caller does: switch to the calendar, then name itself the screen to come back to.
TEST(Calendar, ADatePickerGoesBackToItsCaller) {
  Scenario s("date picking");
  s.Check([] {
     CDocument_::SetView(kScheduleView);
     CDocument_::SetPreviousView(kPredictionView);
   })
      .Wait(1)
      .Check([] { ExpectView(kScheduleView); })
      .Screenshot(ShotPath("calendar-pick.png"));
  TapDay(s, 24).Check([] { ExpectView(kPredictionView); });
  EXPECT_EQ(s.Run(), 0);
}

// The callers built so far, through the real calendar: a tap on a date field opens it, a tapped
// day comes back in that field.
TEST(Calendar, AddNewCycleAndPredictionTakeThePickedDayBack) {
  Scenario s("picking for the cycle screens");
  s.TapControl(kCtlCycleAdd)
      .Check([] { EXPECT_EQ(Shown(kCtlAddStart)->text, u"12/6/26"); })  // today by default
      .TapControl(kCtlAddStart)
      .Check([] {
        ExpectView(kScheduleView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kAddCycleView);
      });
  TapDay(s, 24)
      .Check([] {
        ExpectView(kAddCycleView);
        EXPECT_EQ(Shown(kCtlAddStart)->text, u"12/24/26");
      })
      .TapControl(ce::IDCANCEL)
      .Menu(kCmdPrediction)
      .TapControl(kCtlPredictionEnd)
      .Check([] { EXPECT_EQ(CDocument_::GetPreviousView(), kPredictionView); });
  TapDay(s, 3).Check([] {
    ExpectView(kPredictionView);
    EXPECT_EQ(Shown(kCtlPredictionEnd)->text, u"12/3/26");
  });
  EXPECT_EQ(s.Run(), 0);
}

}  // namespace
}  // namespace calvira::testing
