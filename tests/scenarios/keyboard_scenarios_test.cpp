// The program by keys alone: a new user adds a cycle, a reading and a note and deletes the cycle
// with no pen, through the menu bar opened by keys and the calendar picked by keys.
#include <algorithm>

#include "diary/diary_records.h"
#include "frame/commands.h"
#include "platform/menu_bar.h"
#include "scenarios/cycle_steps.h"
#include "temperature/temp_history.h"
#include "temperature/temperature_records.h"

namespace calvira::testing {
namespace {

Scenario& Keys(Scenario& s, std::initializer_list<ce::UINT> keys) {
  for (const ce::UINT key : keys) s.Key(key);
  return s;
}

std::string Focused() {
  return ce::ToUtf8(ce::GetWindowString(ce::GetFocus()));
}

TEST(KeyboardOnly, ANewUserAddsACycleAReadingAndANoteAndDeletesTheCycle) {
  Scenario s("keyboard only");
  s.Before([] { StoreSettings(LogoOff()); });
  DayNumber today = 0;
  // Add, F4 for the calendar, three days back and a week back, Enter; the lengths as offered.
  s.Check([&today] {
    today = TodayDayNumber();
    EXPECT_EQ(Focused(), "Add");
  });
  Keys(s, {ce::VK_RETURN, ce::VK_F4}).Check([] { ExpectView(kScheduleView); });
  Keys(s, {ce::VK_LEFT, ce::VK_LEFT, ce::VK_LEFT, ce::VK_UP, ce::VK_RIGHT})
      .Screenshot(ShotPath("calendar-keys.png"))
      .Key(ce::VK_RETURN)
      .Check([&today] {
        ExpectView(kAddCycleView);
        EXPECT_EQ(Field(kCtlAddStart), ce::ToUtf8(FormatDate(today - 9)));
      })
      .Key(ce::VK_RETURN)
      .Check([&today] {
        ExpectCycles({{today - 9, 5, 28}});
      });

  // Temp History by the menu; Add picks today on the calendar by Enter; the picker takes the
  // arrows without storing what they pass over, and Enter stores the sixth value.
  s.MenuByKeys(kCmdTempHistory).Key(ce::VK_RETURN).Key(ce::VK_RETURN);
  Keys(s, {ce::VK_DOWN, ce::VK_DOWN, ce::VK_DOWN, ce::VK_DOWN, ce::VK_DOWN, ce::VK_DOWN})
      .Check([] { EXPECT_TRUE(ReadTemperatures().empty()); })
      .Key(ce::VK_RETURN)
      .Check([&today] {
        const std::vector<TemperatureReading> stored = ReadTemperatures();
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored[0].day, today);
        EXPECT_EQ(stored[0].celsius, PickedCelsius(TemperatureScale::kCelsius, 5));
        EXPECT_EQ(ce::GetDlgCtrlID(ce::GetFocus()), kCtlTempList);
      });

  // My Diary: Add, the text typed, F4 for another day, Enter for OK.
  s.MenuByKeys(kCmdDiary).Key(ce::VK_RETURN).Type(u"Dentist").Key(ce::VK_F4);
  Keys(s, {ce::VK_PRIOR, ce::VK_RETURN}).Key(ce::VK_RETURN).Check([&today] {
    ExpectView(kDiaryView);
    const std::vector<DiaryNote> notes = ReadNotes(0);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].text, u"Dentist");
    EXPECT_EQ(notes[0].day, today - 30);  // a month back from 6 December
  });

  // Cycle History opens with its list focused: Down to the cycle, Tab past Add to Delete, Enter.
  s.MenuByKeys(kCmdCycleHistory);
  Keys(s, {ce::VK_DOWN, ce::VK_TAB, ce::VK_TAB})
      .Check([] { EXPECT_EQ(Focused(), "Delete"); })
      .Key(ce::VK_RETURN)
      .ExpectBox(kTextCalvira, kTextDeleteSelectedCycle, ce::IDOK)
      .Check([] { ExpectCycles({}); });
  s.Key('Q', ce::VK_CONTROL);
  s.RunCleanly();
}

// The menu bar by keys: Alt alone or F10 opens the first menu with its first entry chosen; Left
// and Right go round the menus, Up from the first entry to the last; Esc closes with nothing
// run. A locked program's bar opens to no key. Esc leaves a picture screen as a tap does.
TEST(KeyboardOnly, TheMenuBarOpensToF10OrAltAndItsArrowsGoRound) {
  const auto open_menu_holds = [](ce::UINT command) {
    const ce::HWND menu = ce::OpenMenuWindow();
    ASSERT_NE(menu, nullptr);
    const std::vector<ce::MenuEntry> entries = ce::MenuEntries(menu);
    EXPECT_TRUE(std::any_of(entries.begin(), entries.end(),
                            [command](const ce::MenuEntry& e) { return e.id == command; }));
  };
  const auto closed = [] { EXPECT_EQ(ce::OpenMenuWindow(), nullptr); };
  Scenario s("menu keys");
  s.Before([] { StoreSettings(LogoOff()); });
  s.Key(ce::VK_MENU).Check([&] { open_menu_holds(kCmdCycleView); });
  s.Key(ce::VK_ESCAPE).Check(closed).Check([] { ExpectView(kCycleView); });
  // Left goes round to the Help menu, whose last entry is About; Esc leaves About.
  s.Key(ce::VK_F10).Key(ce::VK_LEFT).Check([&] { open_menu_holds(kCmdAbout); });
  Keys(s, {ce::VK_UP, ce::VK_RETURN}).Check([] { ExpectView(kAboutView); });
  s.Key(ce::VK_ESCAPE).Check([] { ExpectView(kCycleView); });
  Keys(s, {ce::VK_F10, ce::VK_RIGHT, ce::VK_RIGHT, ce::VK_RIGHT, ce::VK_RIGHT}).Check([&] {
    open_menu_holds(kCmdOptions);
  });
  // The Tools menu's last entry is Password: Up from its first entry goes round to it.
  Keys(s, {ce::VK_UP, ce::VK_RETURN}).Check(closed).Check([] { ExpectView(kPasswordView); });
  s.Key(ce::VK_F10).Key(ce::VK_F10).Check(closed);
  s.Key('Q', ce::VK_CONTROL);
  s.RunCleanly();

  Scenario locked("menu keys at the prompt");
  locked.Before([] { StoreLocked(); });
  locked.Key(ce::VK_F10).Key(ce::VK_MENU).Check(closed).Check([] {
    ExpectView(kPasswordEntryView);
  });
  locked.Type(u"Secret")
      .Key(ce::VK_RETURN)
      .ExpectBox(u"Password", kTextEncryptRecords, ce::IDCANCEL)
      .Key(ce::VK_F10)
      .Check([&] { open_menu_holds(kCmdCycleView); });
  locked.Key(ce::VK_ESCAPE).Key('Q', ce::VK_CONTROL);
  locked.RunCleanly();
}

// Tab passes through Prediction's date fields, where F4 opens the calendar; the pill time is set
// with the picker's keys.
TEST(KeyboardOnly, DateFieldsAndThePillTimeByKeys) {
  Scenario s("keyboard forms");
  s.Before([] { StoreCycles(kThreeCycles); });
  DayNumber today = 0;
  s.MenuByKeys(kCmdPrediction).Key(ce::VK_TAB).Key(ce::VK_TAB).Check([&today] {
    today = TodayDayNumber();
    ExpectView(kPredictionView);
    EXPECT_EQ(ce::GetDlgCtrlID(ce::GetFocus()), kCtlPredictionEnd);
  });
  Keys(s, {ce::VK_F4, ce::VK_RIGHT, ce::VK_RETURN}).Check([&today] {
    ExpectView(kPredictionView);
    EXPECT_EQ(Field(kCtlPredictionEnd), ce::ToUtf8(FormatDate(today + 1)));
  });
  // Schedule Edit: Enter picks today; Tab to the pill, Space checks it, Tab to its time, Space
  // opens the picker: the hour up twice, the tens, down once, AM; Enter for OK, back on the time;
  // Tab past the remark to Done.
  s.MenuByKeys(kCmdScheduleEdit).Key(ce::VK_RETURN);
  Keys(s, {ce::VK_TAB, ce::VK_TAB, ce::VK_TAB, ce::VK_SPACE, ce::VK_TAB, ce::VK_SPACE}).Check([] {
    ExpectView(kPillTimeView);
  });
  Keys(s, {ce::VK_UP, ce::VK_UP, ce::VK_RIGHT, ce::VK_DOWN, 'A', ce::VK_RETURN})
      .Check([] { EXPECT_EQ(Focused(), "2:50"); })
      .Key(ce::VK_TAB)
      .Key(ce::VK_TAB)
      .Check([] { EXPECT_EQ(Focused(), "Done"); })
      .Key(ce::VK_RETURN)
      .Check([&today] {
        const std::vector<PillDay> days = ReadPillDays();
        ASSERT_EQ(days.size(), 1u);
        EXPECT_EQ(days[0].day, today);
        EXPECT_TRUE(days[0].pill);
        EXPECT_EQ(days[0].time, u"2:50");
      });
  s.Key('Q', ce::VK_CONTROL);
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
