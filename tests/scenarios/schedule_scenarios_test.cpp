// The schedule as a user meets it: the calendar from the menu shows the days' entries as icons;
// a day tapped on it opens the day entry editor; its levels, pill, time and remark land in the
// day's record; the time picker runs over the editor; Pill History lists and clears the pills.
// Every check reads the store itself. Opened by another screen the calendar picks a date and goes
// back: the diary's and Temp History's walks.

#include <ostream>

#include "scenarios/cycle_steps.h"
#include "schedule/calendar.h"
#include "store/catalogue.h"
#include "ui/texts.h"

namespace calvira::testing {
namespace {

// From the menu: the calendar, then the day's editor.
Scenario& OpenDay(Scenario& s, int day) {
  return TapDay(s.Menu(kCmdScheduleEdit), day);
}

bool Ticked(int id) {
  const auto w = Shown(id);
  return w && w->checked == 1;
}

bool EditorEnabled() {
  const auto pill = Shown(kCtlDayPill);
  return pill && ce::IsWindowEnabled(pill->parent);
}

void ExpectStored(const PillDay& expected) {
  const std::optional<PillDay> stored = LoadPillDay(expected.day);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, expected);
}

// A tap at a point of the picker's client area, found from its colon's place there.
Scenario& TapPicker(Scenario& s, int32_t x, int32_t y) {
  return s.TapControlAt(kCtlPillTimeColon, x - ce::DialogUnitsToPixels(26),
                        y - ce::DialogUnitsToPixels(18));
}

void ExpectToday() {
  EXPECT_EQ(Shown(kCtlMonthTitle)->text, u"Dec 2026");
  const ce::POINT today = DecemberCell(6);
  EXPECT_EQ(Scenario::PixelAt(today.x, today.y), Rgb565(0, 0, 255));
}

// Each day's icons, the level top right, the pill bottom right, the remark bottom left, are the
// committed picture's; which zone steps the month how far is the calendar's own table.
TEST(DayEntry, LevelsPillAndRemarkAreTheDaysOneRecordAndAnEmptyDayIsDeletedOnlyWhenConfirmed) {
  Scenario s("day entry");
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
  // A step, and "Today", which goes back to the start-up month with today highlighted again;
  // "Done" from the menu's calendar leads to the Cycle View.
  s.Screenshot(ShotPath("calendar-schedule.png"))
      .Tap(212, 14)
      .Check([] { EXPECT_EQ(Shown(kCtlMonthTitle)->text, u"Jan 2027"); })
      .Tap(60, 14)
      .Check(ExpectToday)
      .Tap(180, 14)
      .Check([] { ExpectView(kCycleView); });
  OpenDay(s, 10)
      .Check([] {
        ExpectView(kDayEntryView);
        EXPECT_EQ(Shown(kCtlTitle)->text, u"12/10/26");
        EXPECT_FALSE(Shown(kCtlDayTime).has_value());  // hidden until a pill is ticked
      })
      // One level at a time; ticking the ticked box again leaves none.
      .TapControl(kCtlDayHeavy)
      .TapControl(kCtlDayNormal)
      .Check([] { EXPECT_FALSE(Ticked(kCtlDayHeavy)); })
      .TapControl(kCtlDayNormal)
      .Check([] { EXPECT_FALSE(Ticked(kCtlDayNormal)); })
      .TapControl(kCtlDaySlight)
      .TapControl(kCtlDayPill)
      .Check([] { EXPECT_TRUE(Shown(kCtlDayTime).has_value()); })
      .TapControl(kCtlDayRemark)
      .Type(u"cramps")
      .Screenshot(ShotPath("day-entry.png"))
      .TapControl(kCtlDayDone)
      .Check([] {
        // Ticked without a visit to the picker, the pill keeps the button's "12:00".
        ExpectStored(Entry(10, 1, true, u"cramps", u"12:00"));
        ExpectView(kScheduleView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kDayEntryView);
      });
  // The other levels, each what the next visit shows.
  for (const auto& [level, box] : {std::pair{2, kCtlDayNormal}, std::pair{3, kCtlDayHeavy}}) {
    TapDay(s, 20 + level).TapControl(box).TapControl(kCtlDayDone).Check([level] {
      ExpectStored(Entry(20 + level, static_cast<int16_t>(level), false, u"", u""));
    });
  }
  // A remark alone, as long as the record keeps: the field takes no more.
  const std::u16string long_remark(kPillTextLimit, u'x');
  TapDay(s, 22)
      .Check([] { EXPECT_TRUE(Ticked(kCtlDayNormal)); })
      .TapControl(kCtlDayNormal)  // no level left
      .TapControl(kCtlDayRemark)
      .Type(long_remark + u"xxxxxx")
      .Check([] { EXPECT_EQ(Shown(kCtlDayRemark)->text.size(), kPillTextLimit); })
      .TapControl(kCtlDayDone)
      .Check([long_remark] { ExpectStored(Entry(22, 0, false, long_remark, u"")); });
  // The pill unticked: its time goes. Everything cleared: Done asks, and Cancel keeps the record
  // as it was; Delete asks too.
  TapDay(s, 10)
      .Check([] { EXPECT_EQ(Shown(kCtlDayRemark)->text, u"cramps"); })
      .TapControl(kCtlDayPill)
      .Check([] { EXPECT_FALSE(Shown(kCtlDayTime).has_value()); })
      .TapControl(kCtlDayDone)
      .Check([] { ExpectStored(Entry(10, 1, false, u"cramps", u"")); });
  Refill(TapDay(s, 10).TapControl(kCtlDaySlight), kCtlDayRemark, u"")
      .TapControl(kCtlDayDone)
      .ExpectBox(kTextCalvira, kTextDeleteCurrentStage, ce::IDCANCEL)
      .Check([] {
        ExpectStored(Entry(10, 1, false, u"cramps", u""));
        ExpectView(kScheduleView);
      });
  TapDay(s, 10)
      .TapControl(kCtlDayDelete)
      .ExpectBox(kTextCalvira, kTextDeleteCurrentStage, ce::IDOK)
      .Check([] { EXPECT_FALSE(LoadPillDay(Day(2026, 12, 10))); });
  // Delete on a day without a record asks nothing; Cancel keeps the store as it was.
  TapDay(s, 10).TapControl(kCtlDayDelete).Check([] { ExpectView(kScheduleView); });
  TapDay(s, 10).TapControl(kCtlDayHeavy).TapControl(ce::IDCANCEL).Check([] {
    EXPECT_FALSE(LoadPillDay(Day(2026, 12, 10)));
    ExpectView(kCycleView);
  });
  s.RunCleanly();
}

// The picker's taps and its text are the picker's own table; here its time reaches the editor
// and the record, and Cancel keeps the button as it was. First Pill History of an empty
// database: its buttons ask nothing, and Esc, the dialog's close command, goes back.
TEST(PillTime, ThePickerSetsTheEditorsTime) {
  Scenario s("pill time");
  s.Before([] { CreateCatalogue(); });
  s.Menu(kCmdCycleHistory)
      .Menu(kCmdPillHistory)
      .TapControl(kCtlPillHistoryDelete)
      .TapControl(kCtlPillHistoryDeleteAll)
      .Key(ce::VK_ESCAPE)
      .Check([] { ExpectView(kCycleHistoryView); });
  OpenDay(s, 10).TapControl(kCtlDayPill).TapControl(kCtlDayTime).Check([] {
    ExpectView(kPillTimeView);
    EXPECT_FALSE(EditorEnabled());  // the editor waits under the picker
  });
  s.Screenshot(ShotPath("pill-time.png"));
  TapPicker(s, 20, 40);   // the hour, from noon
  TapPicker(s, 147, 30);  // up: one in the afternoon
  s.TapControl(ce::IDOK).Check([] {
    ExpectView(kDayEntryView);
    EXPECT_TRUE(EditorEnabled());
    EXPECT_EQ(Shown(kCtlDayTime)->text, u"13:00");
  });
  s.TapControl(kCtlDayTime).TapControl(ce::IDCANCEL).Check([] {
    EXPECT_TRUE(EditorEnabled());
    EXPECT_EQ(Shown(kCtlDayTime)->text, u"13:00");
  });
  s.TapControl(kCtlDayDone).Check([] { ExpectStored(Entry(10, 0, true, u"", u"13:00")); });
  // The next visit shows the stored time.
  TapDay(s, 10).Check([] { EXPECT_EQ(Shown(kCtlDayTime)->text, u"13:00"); });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
