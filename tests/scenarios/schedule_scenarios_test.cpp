// The schedule as a user meets it: a day tapped on the calendar opens the day entry editor; its
// levels, pill, time and remark land in the day's record; the time picker runs over the editor;
// Pill History lists and clears the pills. Every check reads the store itself.

#include <optional>
#include <ostream>
#include <string>

#include "scenarios/cycle_steps.h"
#include "schedule/pill_records.h"
#include "store/catalogue.h"
#include "ui/texts.h"

// Readable failures: a day as the store holds it.
void PrintTo(const PillDay& d, std::ostream* out) {
  *out << "{day " << d.day << ", level " << d.level << ", pill " << d.pill << ", remark "
       << d.remark.size() << " chars, time \"" << std::string(d.time.begin(), d.time.end())
       << "\"}";
}

namespace calvira::testing {
namespace {

constexpr const char16_t* kDiskFullText =
    u"The disk is full. Nothing was saved; free some space and try again.";

// A day tapped on the calendar shown (the scenarios' today is 6 December 2026).
Scenario& TapDay(Scenario& s, int day) {
  return s.Tap(DecemberCell(day).x, DecemberCell(day).y);
}

// From the menu: the calendar, then the day's editor.
Scenario& OpenDay(Scenario& s, int day) {
  return TapDay(s.Menu(kCmdScheduleEdit), day);
}

bool Ticked(int id) {
  const auto w = Shown(id);
  return w && w->checked == 1;
}

std::u16string TimeButton() {
  for (const ce::WindowInfo& w : ce::DescribeWindows()) {
    if (w.id == kCtlDayTime) return w.text;
  }
  return u"(none)";
}

bool EditorEnabled() {
  const auto pill = Shown(kCtlDayPill);
  return pill && ce::IsWindowEnabled(pill->parent);
}

PillDay Entry(int day, int16_t level, bool pill, std::u16string remark, std::u16string time) {
  return {Day(2026, 12, static_cast<uint16_t>(day)), level, pill, std::move(remark),
          std::move(time)};
}

void ExpectStored(const PillDay& expected) {
  const std::optional<PillDay> stored = LoadPillDay(expected.day);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, expected);
}

void ExpectNoRecord(int day) {
  EXPECT_FALSE(LoadPillDay(Day(2026, 12, static_cast<uint16_t>(day))).has_value());
}

// A tap at a point of the picker's client area, found from its colon's place there.
Scenario& TapPicker(Scenario& s, int32_t x, int32_t y) {
  return s.TapControlAt(kCtlPillTimeColon, x - ce::DialogUnitsToPixels(26),
                        y - ce::DialogUnitsToPixels(18));
}

TEST(DayEntry, LevelsPillAndRemarkOfANewDayAreItsOneRecord) {
  Scenario s("day entry");
  s.Before([] { CreateCatalogue(); });
  OpenDay(s, 10)
      .Check([] {
        ExpectView(kDayEntryView);
        EXPECT_EQ(Shown(kCtlTitle)->text, u"12/10/26");
        EXPECT_FALSE(Ticked(kCtlDayHeavy) || Ticked(kCtlDayNormal) || Ticked(kCtlDaySlight));
        EXPECT_FALSE(Ticked(kCtlDayPill));
        EXPECT_FALSE(Shown(kCtlDayTime).has_value());  // hidden until a pill is ticked
        EXPECT_EQ(TimeButton(), u"12:00");
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
    TapDay(s, 11 + level).TapControl(box).TapControl(kCtlDayDone).Check([level] {
      ExpectStored(Entry(11 + level, static_cast<int16_t>(level), false, u"", u""));
    });
  }
  // A remark alone, as long as the record keeps: the field takes no more.
  const std::u16string long_remark(kPillTextLimit, u'x');
  TapDay(s, 13)
      .Check([] { EXPECT_TRUE(Ticked(kCtlDayNormal)); })
      .TapControl(kCtlDayNormal)  // no level left
      .TapControl(kCtlDayRemark)
      .Type(long_remark + u"xxxxxx")
      .Check([] { EXPECT_EQ(Shown(kCtlDayRemark)->text.size(), kPillTextLimit); })
      .TapControl(kCtlDayDone)
      .Check([long_remark] { ExpectStored(Entry(13, 0, false, long_remark, u"")); });
  s.RunCleanly();
}

TEST(DayEntry, UntickingClearsTheTimeAndAnEmptyDayIsDeletedOnlyWhenConfirmed) {
  Scenario s("day entry clearing");
  s.Before([] {
    CreateCatalogue();
    ASSERT_TRUE(SavePillDay(Entry(10, 2, true, u"note", u"19:05")));
  });
  OpenDay(s, 10)
      .Check([] {
        EXPECT_TRUE(Ticked(kCtlDayNormal));
        EXPECT_EQ(Shown(kCtlDayTime)->text, u"19:05");
        EXPECT_EQ(Shown(kCtlDayRemark)->text, u"note");
      })
      .TapControl(kCtlDayPill)
      .Check([] { EXPECT_FALSE(Shown(kCtlDayTime).has_value()); })
      .TapControl(kCtlDayDone)
      .Check([] { ExpectStored(Entry(10, 2, false, u"note", u"")); });
  // Everything cleared: Done asks, and Cancel keeps the record as it was.
  TapDay(s, 10).TapControl(kCtlDayNormal).TapControl(kCtlDayRemark).Key(ce::VK_END);
  for (int i = 0; i < 4; ++i) s.Key(ce::VK_BACK);
  s.TapControl(kCtlDayDone)
      .ExpectBox(kTextCalvira, kTextDeleteCurrentStage, ce::IDCANCEL)
      .Check([] {
        ExpectStored(Entry(10, 2, false, u"note", u""));
        ExpectView(kScheduleView);
      });
  TapDay(s, 10)
      .TapControl(kCtlDayDelete)
      .ExpectBox(kTextCalvira, kTextDeleteCurrentStage, ce::IDOK)
      .Check([] { ExpectNoRecord(10); });
  // Delete on a day without a record asks nothing; Cancel keeps the store as it was.
  TapDay(s, 10).TapControl(kCtlDayDelete).Check([] { ExpectView(kScheduleView); });
  TapDay(s, 10).TapControl(kCtlDayHeavy).TapControl(ce::IDCANCEL).Check([] {
    ExpectNoRecord(10);
    ExpectView(kCycleView);
  });
  s.RunCleanly();
}

// The picker's taps and its text are the picker's own table; here its time reaches the editor
// and the record, and Cancel keeps the button as it was.
TEST(PillTime, ThePickerSetsTheEditorsTime) {
  Scenario s("pill time");
  s.Before([] { CreateCatalogue(); });
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
    EXPECT_EQ(TimeButton(), u"13:00");
  });
  s.TapControl(kCtlDayTime).TapControl(ce::IDCANCEL).Check([] {
    EXPECT_TRUE(EditorEnabled());
    EXPECT_EQ(TimeButton(), u"13:00");
  });
  s.TapControl(kCtlDayDone).Check([] { ExpectStored(Entry(10, 0, true, u"", u"13:00")); });
  s.RunCleanly();
}

// The menu stays usable over the modal screens: leaving through it takes their dialogs away
// (the picker's and the editor's under it too), and the next visit starts a fresh run. Then a
// disk that refuses the day: the user is told, the editor stays with what was entered, and Done
// once the disk takes it stores it. Pill History's clearing likewise keeps the list true.
TEST(DayEntry, LeavingThroughTheMenuClosesTheModalScreensAndARefusedDayStaysInTheEditor) {
  Scenario s("leaving through the menu");
  s.Before([] { CreateCatalogue(); });
  const auto nothing_modal_left = [] {
    ExpectView(kPillHistoryView);
    EXPECT_FALSE(Shown(kCtlMonthTitle).has_value());
    EXPECT_FALSE(Shown(kCtlDayDone).has_value());
    EXPECT_FALSE(Shown(kCtlPillTimeColon).has_value());
    EXPECT_TRUE(ce::IsWindowEnabled(CDocument_::GetMainWnd()));
  };
  // Pill History of an empty database asks nothing; Esc, the dialog's close command, goes back
  // to the screen before.
  s.Menu(kCmdCycleHistory)
      .Menu(kCmdPillHistory)
      .TapControl(kCtlPillHistoryDelete)
      .TapControl(kCtlPillHistoryDeleteAll)
      .Key(ce::VK_ESCAPE)
      .Check([] { ExpectView(kCycleHistoryView); });
  s.Menu(kCmdScheduleEdit).Menu(kCmdPillHistory).Check(nothing_modal_left);
  OpenDay(s, 10).TapControl(kCtlDayHeavy).Menu(kCmdPillHistory).Check([&] {
    nothing_modal_left();
    ExpectNoRecord(10);
  });
  OpenDay(s, 10)
      .TapControl(kCtlDayPill)
      .TapControl(kCtlDayTime)
      .Check([] { ExpectView(kPillTimeView); })
      .Menu(kCmdPillHistory)
      .Check(nothing_modal_left);
  OpenDay(s, 10)
      .Check([] {
        EXPECT_TRUE(EditorEnabled());
        EXPECT_FALSE(Ticked(kCtlDayPill));
      })
      .TapControl(kCtlDayPill)
      .TapControl(kCtlDayDone)
      .Check([&s] {
        ExpectStored(Entry(10, 0, true, u"", u"12:00"));
        MountFaultStore(s.DataDir());
      });
  TapDay(s, 12)
      .TapControl(kCtlDayHeavy)
      .Check([] { FailFrom(1, Fault::kDiskFull); })
      .TapControl(kCtlDayDone)
      .ExpectBox(kTextCalvira, kDiskFullText, ce::IDOK)
      .Check([] {
        ExpectView(kDayEntryView);
        EXPECT_TRUE(Ticked(kCtlDayHeavy));
        ExpectNoRecord(12);
        ClearFault();
      })
      .TapControl(kCtlDayDone)
      .Check([] { ExpectStored(Entry(12, 3, false, u"", u"")); })
      .Menu(kCmdPillHistory)
      .TapListLine(kCtlPillHistoryList, 0)
      .Check([] { FailFrom(1, Fault::kDiskFull); })
      .TapControl(kCtlPillHistoryDelete)
      .ExpectBox(kTextCalvira, kTextDeleteSelectedPill, ce::IDOK)
      .ExpectBox(kTextCalvira, kDiskFullText, ce::IDOK)
      .Check([] {
        ClearFault();
        ExpectStored(Entry(10, 0, true, u"", u"12:00"));
        EXPECT_EQ(Shown(kCtlPillHistoryList)->items->size(), 1u);
      });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
