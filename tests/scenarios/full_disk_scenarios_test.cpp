// A full disk on every screen that saves: the user is told in plain words that the disk is full
// and that nothing was saved, the screen stays where it was with the change refused, and the
// store is as it was.

#include "diary/diary_records.h"
#include "platform/object_store.h"
#include "scenarios/cycle_steps.h"
#include "temperature/temperature_records.h"

namespace calvira::testing {
namespace {

struct Case {
  const char* name;
  // The user's way to the moment before the save.
  std::function<void(Scenario&)> reach;
  // What saves, with the questions asked before it.
  std::function<void(Scenario&)> save;
  int32_t stays_on;
  // What the screen still shows of the change refused, so that nothing looks stored that is not.
  std::function<void()> kept = [] {};
};

TEST(FullDisk, EverySavingScreenSaysTheDiskIsFullAndKeepsTheStoreAsItWas) {
  const Case cases[] = {
      {"Add New Cycle", [](Scenario& s) { s.TapControl(kCtlCycleAdd); },
       [](Scenario& s) { s.TapControl(ce::IDOK); }, kAddCycleView},
      {"Edit Cycle", [](Scenario& s) { s.TapControl(kCtlCycleEdit).Type(u"7"); },
       [](Scenario& s) { s.TapControl(ce::IDOK); }, kEditCycleView},
      {"Cycle History",
       [](Scenario& s) { s.Menu(kCmdCycleHistory).TapControlAt(kCtlHistoryList, 20, 5); },
       [](Scenario& s) {
         s.TapControl(kCtlHistoryDelete).ExpectBox(u"Calvira", u"Delete selected cycle?", ce::IDOK);
       },
       kCycleHistoryView},
      {"Prediction",
       [](Scenario& s) {
         s.Menu(kCmdPrediction);
         PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2027, 3, 1));
         s.TapControl(kCtlPredict).TapControlAt(kCtlPredictionList, 20, 5);
       },
       [](Scenario& s) {
         s.TapControl(kCtlPredictionAddCycle)
             .ExpectBox(u"Calvira", u"Do you want to add date\n1/3/27 as a new cycle?", ce::IDOK);
       },
       kPredictionView},
      {"Temp History",
       [](Scenario& s) {
         const ce::POINT cell = DecemberCell(24);
         s.Menu(kCmdTempHistory).TapControl(kCtlTempAdd).Tap(cell.x, cell.y);
       },
       [](Scenario& s) { s.TapControlAt(kCtlTempPicker, 10, 5); }, kTempHistoryView},
      {"My Diary", [](Scenario& s) { s.Menu(kCmdDiary).TapControlAt(kCtlDiaryList, 20, 5); },
       [](Scenario& s) {
         s.TapControl(kCtlDiaryDelete).ExpectBox(u"Calvira", u"Delete selected note?", ce::IDOK);
       },
       kDiaryView},
      {"Options", [](Scenario& s) { s.Menu(kCmdOptions).TapControl(kCtlOptionsShowMinMax); },
       [](Scenario& s) { s.TapControl(ce::IDOK); }, kOptionsView},
      {"Password",
       [](Scenario& s) {
         s.Menu(kCmdPassword).TapControl(kCtlPasswordNew).Type(u"pw");
         s.TapControl(kCtlPasswordVerify).Type(u"pw");
       },
       [](Scenario& s) {
         s.TapControl(ce::IDOK).ExpectBox(u"Password", kTextEncryptRecords, ce::IDOK);
       },
       kPasswordView},
      {"Day entry",
       [](Scenario& s) { TapDay(s.Menu(kCmdScheduleEdit), 12).TapControl(kCtlDayHeavy); },
       [](Scenario& s) { s.TapControl(kCtlDayDone); }, kDayEntryView,
       [] { EXPECT_EQ(Shown(kCtlDayHeavy)->checked, 1); }},
      {"Pill History",
       [](Scenario& s) { s.Menu(kCmdPillHistory).TapListLine(kCtlPillHistoryList, 0); },
       [](Scenario& s) {
         s.TapControl(kCtlPillHistoryDelete)
             .ExpectBox(u"Calvira", u"Delete selected pill?", ce::IDOK);
       },
       kPillHistoryView, [] { EXPECT_EQ(Shown(kCtlPillHistoryList)->items->size(), 1u); }},
      {"Add Your Note",
       [](Scenario& s) { s.Menu(kCmdDiary).TapControl(kCtlDiaryAdd).Type(u"Dropped"); },
       [](Scenario& s) { s.TapControl(ce::IDOK); }, kNoteView,
       [] { EXPECT_EQ(Field(kCtlNoteText), "Dropped"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s(c.name);
    std::string before;
    s.Before([] {
      StoreCycles(
          {{Day(2026, 10, 6), 5, 28}, {Day(2026, 11, 3), 5, 28}, {Day(2026, 12, 1), 5, 28}});
      ASSERT_TRUE(SaveNote(0, Day(2026, 1, 5), u"Dentist"));
      ASSERT_TRUE(SavePillDay(Entry(10, 0, true, u"", u"12:00")));
    });
    s.Check([&s] { MountFaultStore(s.DataDir()); });
    c.reach(s);
    s.Check([&before] {
      before = StoreContents();
      FailFrom(1, Fault::kDiskFull);
    });
    c.save(s);
    s.ExpectBox(u"Calvira", kDiskFullText, ce::IDOK).Check([&before, &c] {
      ClearFault();
      ExpectView(c.stays_on);
      EXPECT_EQ(StoreContents(), before);
      c.kept();
    });
    s.RunCleanly();
  }
}

}  // namespace
}  // namespace calvira::testing
