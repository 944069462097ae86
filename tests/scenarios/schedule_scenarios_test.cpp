// The schedule as a user meets it: a day tapped on the calendar opens the day entry editor; its
// levels, pill, time and remark land in the day's record; the time picker runs over the editor;
// Pill History lists and clears the pills. Every check reads the store itself.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "frame/document.h"
#include "platform/dialog.h"
#include "platform/object_store.h"
#include "platform/window_tree.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "schedule/calendar.h"
#include "schedule/pill_records.h"
#include "store/catalogue.h"
#include "support/fault_vfs.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace calvira::testing {
namespace {}  // namespace
}  // namespace calvira::testing

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

// The scenarios' today is 6 December 2026.
const MonthGrid kDecember = LayOutMonth(2026, 12, ce::RECT{0, 70, 240, 268});

ce::POINT CellMiddle(int day) {
  const ce::RECT& c = kDecember.cells[static_cast<size_t>(day - 1)];
  return {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
}

// From the menu: the calendar, then the day's editor.
Scenario& OpenDay(Scenario& s, int day) {
  return s.Menu(kCmdScheduleEdit).Tap(CellMiddle(day).x, CellMiddle(day).y);
}

std::optional<ce::WindowInfo> Shown(int id) {
  for (const ce::WindowInfo& w : ce::DescribeWindows()) {
    if (w.id == id && w.visible) return w;
  }
  return std::nullopt;
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

// Sets the picker to hour:tens units from its noon start by the arrows.
Scenario& SetPicker(Scenario& s, int hour, int tens, int units) {
  TapPicker(s, 20, 40);  // the hour
  for (int h = 12; h != hour; h = h % 12 + 1) TapPicker(s, 147, 30);
  TapPicker(s, 80, 40);  // the tens
  for (int t = 0; t < tens; ++t) TapPicker(s, 147, 30);
  TapPicker(s, 110, 40);  // the units
  for (int u = 0; u < units; ++u) TapPicker(s, 147, 30);
  return s;
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
        EXPECT_EQ(Shown(kCtlDayRemark)->text, u"");
      })
      // One level at a time; ticking the ticked box again leaves none.
      .TapControl(kCtlDayHeavy)
      .TapControl(kCtlDayNormal)
      .Check([] {
        EXPECT_TRUE(Ticked(kCtlDayNormal));
        EXPECT_FALSE(Ticked(kCtlDayHeavy));
      })
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
  // Each level in turn, and a remark alone, is what the next visit shows.
  for (int level = 1; level <= 3; ++level) {
    const int box[] = {0, kCtlDaySlight, kCtlDayNormal, kCtlDayHeavy};
    s.Tap(CellMiddle(11 + level).x, CellMiddle(11 + level).y)
        .TapControl(box[level])
        .TapControl(kCtlDayDone)
        .Check([level] {
          ExpectStored(Entry(11 + level, static_cast<int16_t>(level), false, u"", u""));
        });
  }
  s.Tap(CellMiddle(13).x, CellMiddle(13).y)
      .Check([] { EXPECT_TRUE(Ticked(kCtlDayNormal)); })
      .TapControl(kCtlDayNormal)  // no level left
      .TapControl(kCtlDayRemark)
      .Type(u"a remark alone")
      .TapControl(kCtlDayDone)
      .Check([] { ExpectStored(Entry(13, 0, false, u"a remark alone", u"")); });
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
        EXPECT_TRUE(Ticked(kCtlDayPill));
        EXPECT_EQ(Shown(kCtlDayTime)->text, u"19:05");
        EXPECT_EQ(Shown(kCtlDayRemark)->text, u"note");
      })
      .TapControl(kCtlDayPill)
      .Check([] { EXPECT_FALSE(Shown(kCtlDayTime).has_value()); })
      .TapControl(kCtlDayDone)
      .Check([] { ExpectStored(Entry(10, 2, false, u"note", u"")); })
      // Everything cleared: Done asks, and Cancel keeps the record as it was.
      .Tap(CellMiddle(10).x, CellMiddle(10).y)
      .TapControl(kCtlDayNormal)
      .TapControl(kCtlDayRemark)
      .Key(ce::VK_END)
      .Key(ce::VK_BACK)
      .Key(ce::VK_BACK)
      .Key(ce::VK_BACK)
      .Key(ce::VK_BACK)
      .TapControl(kCtlDayDone)
      .ExpectBox(kTextCalvira, kTextDeleteCurrentStage, ce::IDCANCEL)
      .Check([] {
        ExpectStored(Entry(10, 2, false, u"note", u""));
        ExpectView(kScheduleView);
      })
      .Tap(CellMiddle(10).x, CellMiddle(10).y)
      .TapControl(kCtlDayDelete)
      .ExpectBox(kTextCalvira, kTextDeleteCurrentStage, ce::IDOK)
      .Check([] {
        ExpectNoRecord(10);
        ExpectView(kScheduleView);
      })
      // Delete on a day without a record asks nothing.
      .Tap(CellMiddle(10).x, CellMiddle(10).y)
      .TapControl(kCtlDayDelete)
      .Check([] { ExpectView(kScheduleView); })
      // Cancel keeps the store as it was and the next day opens clear.
      .Tap(CellMiddle(10).x, CellMiddle(10).y)
      .TapControl(kCtlDayHeavy)
      .TapControl(kCtlDayPill)
      .TapControl(ce::IDCANCEL)
      .Check([] {
        ExpectNoRecord(10);
        ExpectView(kCycleView);
      });
  OpenDay(s, 11).Check([] {
    EXPECT_FALSE(Ticked(kCtlDayHeavy) || Ticked(kCtlDayPill));
    EXPECT_FALSE(Shown(kCtlDayTime).has_value());
  });
  s.RunCleanly();
}

TEST(DayEntry, TheRemarkTakesWhatTheRecordKeeps) {
  Scenario s("long remark");
  s.Before([] { CreateCatalogue(); });
  const std::u16string typed(kPillTextLimit + 6, u'x');
  OpenDay(s, 10)
      .TapControl(kCtlDayRemark)
      .Type(typed)
      .Check([] { EXPECT_EQ(Shown(kCtlDayRemark)->text.size(), kPillTextLimit); })
      .TapControl(kCtlDayDone)
      .Check([] { ExpectStored(Entry(10, 0, false, std::u16string(kPillTextLimit, u'x'), u"")); });
  s.RunCleanly();
}

TEST(PillTime, ThePickerSetsTheEditorsTimeOnTheTwentyFourHourClock) {
  Scenario s("pill time");
  s.Before([] { CreateCatalogue(); });
  struct Case {
    int hour, tens, units;
    bool pm;
    const char16_t* text;
  };
  const Case cases[] = {
      {7, 0, 5, false, u"7:05"},
      {7, 0, 5, true, u"19:05"},
      {12, 3, 0, false, u"0:30"},  // half past midnight
      {12, 3, 0, true, u"12:30"},  // half past noon
  };
  OpenDay(s, 10).TapControl(kCtlDayPill);
  bool first = true;
  for (const Case& c : cases) {
    s.TapControl(kCtlDayTime).Check([] {
      ExpectView(kPillTimeView);
      EXPECT_FALSE(EditorEnabled());  // the editor waits under the picker
    });
    if (first) s.Screenshot(ShotPath("pill-time.png"));
    first = false;
    SetPicker(s, c.hour, c.tens, c.units);
    TapPicker(s, c.pm ? 212 : 177, 40);
    s.TapControl(ce::IDOK).Check([c] {
      ExpectView(kDayEntryView);
      EXPECT_TRUE(EditorEnabled());
      EXPECT_EQ(TimeButton(), c.text);
    });
  }
  // Untouched, the picker gives noon; Cancel keeps the button as it was.
  s.TapControl(kCtlDayTime)
      .TapControl(ce::IDCANCEL)
      .Check([] {
        ExpectView(kDayEntryView);
        EXPECT_TRUE(EditorEnabled());
        EXPECT_EQ(TimeButton(), u"12:30");
      })
      .TapControl(kCtlDayTime)
      .TapControl(ce::IDOK)
      .Check([] { EXPECT_EQ(TimeButton(), u"12:00"); })
      .TapControl(kCtlDayTime);
  SetPicker(s, 8, 3, 0);
  TapPicker(s, 177, 40);  // AM
  s.TapControl(ce::IDOK).TapControl(kCtlDayDone).Check([] {
    ExpectStored(Entry(10, 0, true, u"", u"8:30"));
    ExpectView(kScheduleView);
  });
  s.RunCleanly();
}

// The menu stays usable over the modal screens: leaving through it takes their dialogs away
// (the picker's and the editor's under it too), and the next visit starts a fresh run.
TEST(DayEntry, LeavingThroughTheMenuClosesTheCalendarTheEditorAndThePicker) {
  Scenario s("leaving through the menu");
  s.Before([] { CreateCatalogue(); });
  const auto nothing_modal_left = [] {
    EXPECT_FALSE(Shown(kCtlMonthTitle).has_value());
    EXPECT_FALSE(Shown(kCtlDayDone).has_value());
    EXPECT_FALSE(Shown(kCtlPillTimeColon).has_value());
    EXPECT_TRUE(ce::IsWindowEnabled(CDocument_::GetMainWnd()));
  };
  s.Menu(kCmdScheduleEdit).Menu(kCmdPillHistory).Check([&] {
    ExpectView(kPillHistoryView);
    nothing_modal_left();
  });
  OpenDay(s, 10).TapControl(kCtlDayHeavy).Menu(kCmdPillHistory).Check([&] {
    ExpectView(kPillHistoryView);
    nothing_modal_left();
    ExpectNoRecord(10);
  });
  OpenDay(s, 10)
      .TapControl(kCtlDayPill)
      .TapControl(kCtlDayTime)
      .Check([] { ExpectView(kPillTimeView); })
      .Menu(kCmdPillHistory)
      .Check([&] {
        ExpectView(kPillHistoryView);
        nothing_modal_left();
      });
  OpenDay(s, 10)
      .Check([] {
        EXPECT_TRUE(EditorEnabled());
        EXPECT_FALSE(Ticked(kCtlDayPill));
      })
      .TapControl(kCtlDayPill)
      .TapControl(kCtlDayDone)
      .Check([] { ExpectStored(Entry(10, 0, true, u"", u"12:00")); });
  s.RunCleanly();
}

// A disk that refuses the day: the user is told, the editor stays with what was entered, and
// Done once the disk takes it stores it. Pill History's clearing likewise keeps the list true.
TEST(DayEntry, ADayTheDiskRefusesStaysInTheEditor) {
  Scenario s("day entry disk full");
  s.Before([] {
    CreateCatalogue();
    ASSERT_TRUE(SavePillDay(Entry(11, 0, true, u"", u"8:00")));
  });
  s.Check([&s] {
    InstallFaultVfs();
    ce::objectstore::Unmount();
    ce::objectstore::MountOptions options;
    options.vfs = kFaultVfsName;
    ASSERT_EQ(ce::objectstore::Mount(s.DataDir(), options), "");
  });
  OpenDay(s, 10)
      .TapControl(kCtlDayHeavy)
      .Check([] { FailFrom(1, Fault::kDiskFull); })
      .TapControl(kCtlDayDone)
      .ExpectBox(kTextCalvira, kDiskFullText, ce::IDOK)
      .Check([] {
        ExpectView(kDayEntryView);
        EXPECT_TRUE(Ticked(kCtlDayHeavy));
        ExpectNoRecord(10);
        ClearFault();
      })
      .TapControl(kCtlDayDone)
      .Check([] { ExpectStored(Entry(10, 3, false, u"", u"")); })
      .Menu(kCmdPillHistory)
      .TapListLine(kCtlPillHistoryList, 0)
      .Check([] { FailFrom(1, Fault::kDiskFull); })
      .TapControl(kCtlPillHistoryDelete)
      .ExpectBox(kTextCalvira, kTextDeleteSelectedPill, ce::IDOK)
      .ExpectBox(kTextCalvira, kDiskFullText, ce::IDOK)
      .Check([] {
        ClearFault();
        ExpectStored(Entry(11, 0, true, u"", u"8:00"));
        EXPECT_EQ(Shown(kCtlPillHistoryList)->items->size(), 1u);
      });
  s.RunCleanly();
}

TEST(Calendar, EditedDaysShowTheirIconsAtTheirCorners) {
  Scenario s("calendar icons");
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
  auto icon_at = [](int32_t x, int32_t y) {
    for (int32_t dy = 0; dy < 16; ++dy) {
      for (int32_t dx = 0; dx < 16; ++dx) {
        if (Scenario::PixelAt(x + dx, y + dy) != Rgb565(198, 198, 198)) return true;
      }
    }
    return false;
  };
  s.Menu(kCmdScheduleEdit).Check([&] {
    const auto cell = [](int day) { return kDecember.cells[static_cast<size_t>(day - 1)]; };
    for (int day : {1, 2, 3}) EXPECT_TRUE(icon_at(cell(day).right - 16, cell(day).top)) << day;
    EXPECT_FALSE(icon_at(cell(8).right - 16, cell(8).top));
    EXPECT_TRUE(icon_at(cell(2).right - 16, cell(2).bottom - 16));
    EXPECT_TRUE(icon_at(cell(8).right - 16, cell(8).bottom - 16));
    EXPECT_FALSE(icon_at(cell(1).right - 16, cell(1).bottom - 16));
    EXPECT_TRUE(icon_at(cell(3).left, cell(3).bottom - 16));
    EXPECT_FALSE(icon_at(cell(2).left, cell(2).bottom - 16));
    // Each level has its own picture.
    const ce::RECT one = cell(1), three = cell(3);
    bool differ = false;
    for (int32_t y = 0; y < 16 && !differ; ++y) {
      for (int32_t x = 0; x < 16 && !differ; ++x) {
        differ = Scenario::PixelAt(one.right - 16 + x, one.top + y) !=
                 Scenario::PixelAt(three.right - 16 + x, three.top + y);
      }
    }
    EXPECT_TRUE(differ);
  });
  s.Screenshot(ShotPath("calendar-schedule.png"));
  s.RunCleanly();
}

TEST(PillHistory, ListsPillDaysAndClearsOnlyTheirPills) {
  Scenario s("pill history");
  s.Before([] {
    CreateCatalogue();
    ASSERT_TRUE(SavePillDay({Day(2004, 2, 1), 2, true, u"", u"8:30"}));
    ASSERT_TRUE(SavePillDay({Day(2004, 1, 31), 0, true, u"", u"8:30"}));
    ASSERT_TRUE(SavePillDay({Day(2004, 11, 25), 0, true, u"", u"19:05"}));
    ASSERT_TRUE(SavePillDay({Day(2004, 3, 3), 3, false, u"no pill", u""}));
    // Two days a century apart that the list writes alike.
    ASSERT_TRUE(SavePillDay({Day(1903, 1, 5), 1, true, u"old", u"7:00"}));
    ASSERT_TRUE(SavePillDay({Day(2003, 1, 5), 0, true, u"new", u"7:00"}));
  });
  auto lines = [] {
    for (const ce::WindowInfo& w : ce::DescribeWindows()) {
      if (w.id == kCtlPillHistoryList && w.items) return *w.items;
    }
    return std::vector<std::u16string>{u"(no list)"};
  };
  s.Menu(kCmdPillHistory)
      .Check([&] {
        ExpectView(kPillHistoryView);
        const std::vector<std::u16string> expected = {
            u"1/5/03" + std::u16string(12, u' ') + u"7:00",
            u"1/5/03" + std::u16string(12, u' ') + u"7:00",
            u"1/31/04" + std::u16string(10, u' ') + u"8:30",
            u"2/1/04" + std::u16string(12, u' ') + u"8:30",
            u"11/25/04" + std::u16string(8, u' ') + u"19:05",
        };
        EXPECT_EQ(lines(), expected);
      })
      .Screenshot(ShotPath("pill-history.png"))
      .TapControl(kCtlPillHistoryDelete)
      .ExpectBox(kTextCalvira, kTextSelectPillToDelete, ce::IDOK)
      .TapListLine(kCtlPillHistoryList, 3)  // 2/1/04
      .TapControl(kCtlPillHistoryDelete)
      .ExpectBox(kTextCalvira, kTextDeleteSelectedPill, ce::IDCANCEL)
      .Check([&] { EXPECT_EQ(lines().size(), 5u); })
      .TapControl(kCtlPillHistoryDelete)
      .ExpectBox(kTextCalvira, kTextDeleteSelectedPill, ce::IDOK)
      .Check([&] {
        EXPECT_EQ(lines().size(), 4u);
        ExpectStored({Day(2004, 2, 1), 2, false, u"", u""});
        ExpectStored({Day(2004, 1, 31), 0, true, u"", u"8:30"});
      })
      .TapListLine(kCtlPillHistoryList, 1)  // the second 1/5/03: 2003
      .TapControl(kCtlPillHistoryDelete)
      .ExpectBox(kTextCalvira, kTextDeleteSelectedPill, ce::IDOK)
      .Check([] {
        ExpectStored({Day(1903, 1, 5), 1, true, u"old", u"7:00"});
        ExpectStored({Day(2003, 1, 5), 0, false, u"new", u""});
      })
      .TapControl(kCtlPillHistoryDeleteAll)
      .ExpectBox(kTextCalvira, kTextDeleteAllPills, ce::IDOK)
      .Check([&] {
        EXPECT_TRUE(lines().empty());
        // Every record stays, with its level and remark, even one left with neither.
        EXPECT_EQ(PillRecordCount(), 6u);
        ExpectStored({Day(1903, 1, 5), 1, false, u"old", u""});
        ExpectStored({Day(2004, 1, 31), 0, false, u"", u""});
        ExpectStored({Day(2004, 3, 3), 3, false, u"no pill", u""});
      });
  s.RunCleanly();
}

// Esc is the dialog's close command: back to the screen before.
TEST(PillHistory, AnEmptyDatabaseAsksNothingAndEscGoesBack) {
  Scenario s("empty pill history");
  s.Before([] { CreateCatalogue(); });
  s.Menu(kCmdCycleHistory)
      .Menu(kCmdPillHistory)
      .TapControl(kCtlPillHistoryDelete)
      .TapControl(kCtlPillHistoryDeleteAll)
      .Check([] { ExpectView(kPillHistoryView); })
      .Key(ce::VK_ESCAPE)
      .Check([] { ExpectView(kCycleHistoryView); });
  s.RunCleanly();  // any box shown would fail it
}

}  // namespace
}  // namespace calvira::testing
