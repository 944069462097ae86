// Deleting on the four list screens, one walk per screen: Delete without a selected line asks
// for one; Delete and Delete All ask first and, cancelled, keep everything; confirmed, the
// selected line's record goes, then every record the screen lists; with nothing listed neither
// button asks anything. Which records a screen's deleting touches is its row's own check.

#include "diary/diary_records.h"
#include "scenarios/cycle_steps.h"
#include "store/catalogue.h"
#include "temperature/temperature_records.h"
#include "ui/texts.h"

namespace calvira::testing {
namespace {

struct ListScreen {
  const char* name;
  std::function<void()> prepare;
  ce::UINT command;
  int list, remove, remove_all;
  const char16_t *select_one, *remove_one, *remove_every;
  std::function<void()> after_one, after_all;
  const char* shot = nullptr;  // taken as the screen opens
  // Pill History's records outlive their pills: its buttons still ask, as on a list of them.
  bool records_stay = false;
};

TEST(ListScreens, DeleteAsksForASelectionThenForConfirmationAndDeleteAllEmptiesTheList) {
  const DayNumber jan1 = Day(2003, 1, 1), jan6 = Day(2003, 1, 6), jan7 = Day(2003, 1, 7),
                  feb28 = Day(2003, 2, 28), mar31 = Day(2003, 3, 31);
  const ListScreen screens[] = {
      // Stored lengths as a recalculation left them: 28, 30, 31 and the average 29 on the newest.
      // The second cycle deleted, Jan 1 runs to Feb 28 (58 days, out of the average); 31 alone
      // is the average. How neighbours join is the history's own table.
      {"Cycle History",
       [=] {
         StoreCycles({{jan1, 5, 28}, {Day(2003, 1, 29), 5, 30}, {feb28, 5, 31}, {mar31, 5, 29}});
       },
       kCmdCycleHistory, kCtlHistoryList, kCtlHistoryDelete, kCtlHistoryDeleteAll,
       u"Please,select a cycle to delete", u"Delete selected cycle?", u"Delete all cycles?",
       [=] {
         ExpectCycles({{jan1, 5, 58}, {feb28, 5, 31}, {mar31, 5, 31}});
         EXPECT_EQ(Shown(kCtlHistoryAverage)->text, u"31");
       },
       [] {
         EXPECT_TRUE(ReadCycles().empty());
         // "N/A" whole on one line, not "N/" with the rest wrapped out of sight.
         ce::HWND average = FindControl(kCtlHistoryAverage);
         ce::RECT field{};
         ce::GetClientRect(average, &field);
         ce::HDC dc = ce::GetDC(average);
         ce::SelectObject(
             dc, reinterpret_cast<ce::HFONT>(ce::SendMessage(average, ce::WM_GETFONT, 0, 0)));
         ce::SIZE text{};
         ce::GetTextExtentPoint32(dc, u"N/A", 3, &text);
         ce::ReleaseDC(average, dc);
         EXPECT_EQ(ce::GetWindowString(average), u"N/A");
         EXPECT_LE(text.cx, field.right - field.left);
       }},
      {"Temp History",
       [=] {
         StoreReadings(1, {{Day(2003, 1, 5), 36.5}, {jan6, 36.6}, {jan7, 36.7}});
       },
       kCmdTempHistory, kCtlTempList, kCtlTempDelete, kCtlTempDeleteAll,
       u"Please,select a temperature to delete", u"Delete selected temperature?",
       u"Delete all temperatures?",
       [=] {
         const std::vector<TemperatureReading> left = ReadTemperatures();
         EXPECT_TRUE(left.size() == 2 && left[1].day == jan7);
       },
       [] { EXPECT_EQ(TemperatureCount(), 0u); }},
      // The shown category only: the other one keeps its notes.
      {"My Diary",
       [=] {
         StoreSettings(LogoOff());
         for (const DayNumber day : {Day(2026, 10, 9), Day(2026, 1, 5), Day(2026, 3, 3)}) {
           ASSERT_TRUE(SaveNote(0, day, u"Note"));
         }
         ASSERT_TRUE(SaveNote(1, Day(2026, 3, 3), u"Cut"));
       },
       kCmdDiary, kCtlDiaryList, kCtlDiaryDelete, kCtlDiaryDeleteAll,
       u"Please,select a note to delete", u"Delete selected note?", u"Delete all notes?",
       [] {
         EXPECT_EQ(Items(kCtlDiaryList),
                   (std::vector<std::u16string>{u"1/5/26          Note", u"10/9/26         Note"}));
       },
       [] {
         EXPECT_TRUE(ReadNotes(0).empty());
         EXPECT_EQ(ReadNotes(1).size(), 1u);
       }},
      // The lines are the list's own table; here the selected line clears its own day's pill (of
      // two days a century apart that the list writes alike), and Delete All every pill but no
      // record, even one left with neither level nor remark.
      {"Pill History",
       [] {
         CreateCatalogue();
         ASSERT_TRUE(SavePillDay({Day(2004, 2, 1), 2, true, u"", u"8:30"}));
         ASSERT_TRUE(SavePillDay({Day(2004, 1, 31), 0, true, u"", u"8:30"}));
         ASSERT_TRUE(SavePillDay({Day(2004, 11, 25), 0, true, u"", u"19:05"}));
         ASSERT_TRUE(SavePillDay({Day(2004, 3, 3), 3, false, u"no pill", u""}));
         ASSERT_TRUE(SavePillDay({Day(1903, 1, 5), 1, true, u"old", u"7:00"}));
         ASSERT_TRUE(SavePillDay({Day(2003, 1, 5), 0, true, u"new", u"7:00"}));
       },
       kCmdPillHistory, kCtlPillHistoryList, kCtlPillHistoryDelete, kCtlPillHistoryDeleteAll,
       kTextSelectPillToDelete, kTextDeleteSelectedPill, kTextDeleteAllPills,
       [] {
         EXPECT_EQ(LoadPillDay(Day(1903, 1, 5)),
                   (PillDay{Day(1903, 1, 5), 1, true, u"old", u"7:00"}));
         EXPECT_EQ(LoadPillDay(Day(2003, 1, 5)), (PillDay{Day(2003, 1, 5), 0, false, u"new", u""}));
       },
       [] {
         EXPECT_EQ(PillRecordCount(), 6u);
         EXPECT_EQ(LoadPillDay(Day(2004, 1, 31)), (PillDay{Day(2004, 1, 31), 0, false, u"", u""}));
       },
       "pill-history.png", true},
  };
  for (const ListScreen& l : screens) {
    Scenario s(l.name);
    size_t lines = 0;
    s.Before(l.prepare).Menu(l.command).Check([&] { lines = Items(l.list).size(); });
    if (l.shot != nullptr) s.Screenshot(ShotPath(l.shot));
    s.TapControl(l.remove)
        .ExpectBox(kTextCalvira, l.select_one, ce::IDOK)
        .TapListLine(l.list, 1)
        .TapControl(l.remove)
        .ExpectBox(kTextCalvira, l.remove_one, ce::IDCANCEL)
        .TapControl(l.remove_all)
        .ExpectBox(kTextCalvira, l.remove_every, ce::IDCANCEL)
        .Check([&] { EXPECT_EQ(Items(l.list).size(), lines) << l.name; })
        .TapControl(l.remove)
        .ExpectBox(kTextCalvira, l.remove_one, ce::IDOK)
        .Check([&] {
          EXPECT_EQ(Items(l.list).size(), lines - 1) << l.name;
          l.after_one();
        })
        .TapControl(l.remove_all)
        .ExpectBox(kTextCalvira, l.remove_every, ce::IDOK)
        .Check([&] {
          EXPECT_EQ(Items(l.list).size(), 0u) << l.name;
          l.after_all();
        });
    if (!l.records_stay) s.TapControl(l.remove).TapControl(l.remove_all);
    s.RunCleanly();
  }
}

}  // namespace
}  // namespace calvira::testing
