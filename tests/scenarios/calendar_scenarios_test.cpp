// The calendar as a user meets it: from the menu it schedules days and shows their entries as
// icons; opened by another screen it picks a date and goes back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cycles/day_number.h"
#include "frame/document.h"
#include "platform/window_tree.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "schedule/calendar.h"
#include "schedule/pill_records.h"
#include "schedule/schedule_view.h"
#include "store/catalogue.h"
#include "support/temp_store.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

// The scenarios' today is 6 December 2026; the grid lies under the 70-pixel band of zones.
constexpr ce::RECT kGrid{0, 70, 240, 268};

const MonthGrid kDecember = LayOutMonth(2026, 12, kGrid);

ce::POINT CellMiddle(const MonthGrid& month, int day) {
  const ce::RECT& c = month.cells[static_cast<size_t>(day - 1)];
  return {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
}

std::u16string Title() {
  for (const ce::WindowInfo& w : ce::DescribeWindows()) {
    if (w.id == kCtlMonthTitle) return w.text;
  }
  return u"(no title)";
}

// Whether the 16 x 16 square at (x, y) holds anything but the cell's grey: an icon.
bool IconAt(int32_t x, int32_t y) {
  for (int32_t dy = 0; dy < 16; ++dy) {
    for (int32_t dx = 0; dx < 16; ++dx) {
      if (Scenario::PixelAt(x + dx, y + dy) != Rgb565(198, 198, 198)) return true;
    }
  }
  return false;
}

TEST(Calendar, ScheduleEditShowsTheMonthTodayAndEachDaysIconsAndOpensTheDayEditor) {
  Scenario s("schedule edit");
  s.Before([] {
    CreateCatalogue();
    ASSERT_TRUE(SavePillDay({Day(2026, 12, 10), 2, true, u"checkup", u"12:00"}));
    ASSERT_TRUE(SavePillDay({Day(2026, 12, 12), 3, false, u"", u""}));
    // Another month: no icon in December.
    ASSERT_TRUE(SavePillDay({Day(2026, 11, 10), 1, true, u"", u"12:00"}));
  });
  const ce::RECT tenth = kDecember.cells[9];
  const ce::RECT twelfth = kDecember.cells[11];
  s.Menu(kCmdScheduleEdit)
      .Check([&] {
        EXPECT_EQ(CDocument_::GetCurrentView(), kScheduleView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kDayEntryView);
        EXPECT_EQ(Title(), u"Dec 2026");
        const ce::POINT today = CellMiddle(kDecember, 6);
        EXPECT_EQ(Scenario::PixelAt(today.x, today.y), Rgb565(0, 0, 255));
        const ce::POINT fifth = CellMiddle(kDecember, 5);
        EXPECT_EQ(Scenario::PixelAt(fifth.x + 8, fifth.y + 8), Rgb565(198, 198, 198));
        EXPECT_EQ(Scenario::PixelAt(237, 200), Rgb565(230, 230, 230));  // right of the last column
        // Bleeding top right, pill bottom right, remark bottom left; nothing where nothing is.
        EXPECT_TRUE(IconAt(tenth.right - 16, tenth.top));
        EXPECT_TRUE(IconAt(tenth.right - 16, tenth.bottom - 16));
        EXPECT_TRUE(IconAt(tenth.left, tenth.bottom - 16));
        EXPECT_TRUE(IconAt(twelfth.right - 16, twelfth.top));
        EXPECT_FALSE(IconAt(twelfth.right - 16, twelfth.bottom - 16));
        EXPECT_FALSE(IconAt(twelfth.left, twelfth.bottom - 16));
      })
      .Tap(212, 14)  // next month, into the next year
      .Check([] { EXPECT_EQ(Title(), u"Jan 2027"); })
      .Tap(12, 14)  // a year back
      .Check([] { EXPECT_EQ(Title(), u"Jan 2026"); })
      .Tap(30, 14)  // a month back, across the year
      .Check([] { EXPECT_EQ(Title(), u"Dec 2025"); })
      .Tap(229, 14)
      .Check([] {
        EXPECT_EQ(Title(), u"Dec 2026");
        const ce::POINT today = CellMiddle(kDecember, 6);
        EXPECT_EQ(Scenario::PixelAt(today.x, today.y), Rgb565(0, 0, 255));
      })
      .Tap(212, 14)
      .Tap(60, 14)  // "Today" goes back to the start-up month, today highlighted again
      .Check([] {
        EXPECT_EQ(Title(), u"Dec 2026");
        const ce::POINT today = CellMiddle(kDecember, 6);
        EXPECT_EQ(Scenario::PixelAt(today.x, today.y), Rgb565(0, 0, 255));
      })
      .Tap(CellMiddle(kDecember, 10).x, CellMiddle(kDecember, 10).y)
      .Check([] { EXPECT_EQ(CDocument_::GetCurrentView(), kDayEntryView); })
      .TapControl(kCtlDayDone)  // nothing entered: back on the calendar, still scheduling
      .Tap(180, 14)             // "Done" from the menu's calendar leads to the Cycle View
      .Check([] { EXPECT_EQ(CDocument_::GetCurrentView(), kCycleView); });
  EXPECT_EQ(s.Run(), 0);
}

TEST(Calendar, ADatePickerGoesBackToItsCallerWithOrWithoutADay) {
  Scenario s("date picking");
  // As a caller does: switch to the calendar, then name itself the screen to come back to.
  auto open_for = [](int32_t caller) {
    return [caller] {
      CDocument_::SetView(kScheduleView);
      CDocument_::SetPreviousView(caller);
    };
  };
  s.Check(open_for(kPredictionView))
      .Wait(1)
      .Check([] { EXPECT_EQ(CDocument_::GetCurrentView(), kScheduleView); })
      .Screenshot(ShotPath("calendar-pick.png"))
      .Tap(CellMiddle(kDecember, 24).x, CellMiddle(kDecember, 24).y)
      .Check([] { EXPECT_EQ(CDocument_::GetCurrentView(), kPredictionView); })
      .Check(open_for(kAddCycleView))
      .Wait(1)
      .Tap(180, 14)  // "Done": back without a day
      .Check([] { EXPECT_EQ(CDocument_::GetCurrentView(), kAddCycleView); });
  EXPECT_EQ(s.Run(), 0);
}

std::u16string ControlText(int id) {
  for (const ce::WindowInfo& w : ce::DescribeWindows()) {
    if (w.id == id && w.visible) return w.text;
  }
  return u"(none)";
}

// The callers built so far, through the real calendar: a tap on a date field opens it, a tapped
// day comes back in that field.
TEST(Calendar, AddNewCycleAndPredictionTakeThePickedDayBack) {
  Scenario s("picking for the cycle screens");
  const ce::POINT christmas_eve = CellMiddle(kDecember, 24);
  const ce::POINT third = CellMiddle(kDecember, 3);
  s.TapControl(kCtlCycleAdd)
      .Check([] { EXPECT_EQ(ControlText(kCtlAddStart), u"12/6/26"); })  // today by default
      .TapControl(kCtlAddStart)
      .Check([] {
        EXPECT_EQ(CDocument_::GetCurrentView(), kScheduleView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kAddCycleView);
      })
      .Tap(christmas_eve.x, christmas_eve.y)
      .Check([] {
        EXPECT_EQ(CDocument_::GetCurrentView(), kAddCycleView);
        EXPECT_EQ(ControlText(kCtlAddStart), u"12/24/26");
      })
      .TapControl(ce::IDCANCEL)
      .Menu(kCmdPrediction)
      .TapControl(kCtlPredictionEnd)
      .Check([] { EXPECT_EQ(CDocument_::GetPreviousView(), kPredictionView); })
      .Tap(third.x, third.y)
      .Check([] {
        EXPECT_EQ(CDocument_::GetCurrentView(), kPredictionView);
        EXPECT_EQ(ControlText(kCtlPredictionEnd), u"12/3/26");
      });
  EXPECT_EQ(s.Run(), 0);
}

}  // namespace
}  // namespace calvira::testing
