// A full disk on every screen that saves: the user is told in plain words that the disk is full
// and that nothing was saved, the screen stays where it was with the change refused, and the
// store is as it was.

#include "diary/diary_records.h"
#include "platform/object_store.h"
#include "scenarios/cycle_steps.h"
#include "support/fault_vfs.h"
#include "temperature/temperature_records.h"

namespace calvira::testing {
namespace {

struct Case {
  const char* name;
  // The user's way to the moment before the save.
  std::function<void(Scenario&)> reach;
  // The control that saves, the screen that stays, and the question asked before it, if any.
  int save;
  int32_t stays_on;
  const char16_t *caption = nullptr, *question = nullptr;
  // What the screen still shows of the change refused, so that nothing looks stored that is not.
  std::function<void()> kept = [] {};
};

TEST(FullDisk, EverySavingScreenSaysTheDiskIsFullAndKeepsTheStoreAsItWas) {
  const Case cases[] = {
      {"Add New Cycle", [](Scenario& s) { s.TapControl(kCtlCycleAdd); }, ce::IDOK, kAddCycleView},
      {"Edit Cycle", [](Scenario& s) { s.TapControl(kCtlCycleEdit).Type(u"7"); }, ce::IDOK,
       kEditCycleView},
      {"Cycle History",
       [](Scenario& s) { s.Menu(kCmdCycleHistory).TapControlAt(kCtlHistoryList, 20, 5); },
       kCtlHistoryDelete, kCycleHistoryView, u"Calvira", u"Delete selected cycle?"},
      {"Prediction",
       [](Scenario& s) {
         s.Menu(kCmdPrediction);
         PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2027, 3, 1));
         s.TapControl(kCtlPredict).TapControlAt(kCtlPredictionList, 20, 5);
       },
       kCtlPredictionAddCycle, kPredictionView, u"Calvira",
       u"Do you want to add date\n1/3/27 as a new cycle?"},
      {"Temp History",
       [](Scenario& s) { TapDay(s.Menu(kCmdTempHistory).TapControl(kCtlTempAdd), 24); },
       kCtlTempPicker, kTempHistoryView},
      {"My Diary", [](Scenario& s) { s.Menu(kCmdDiary).TapControlAt(kCtlDiaryList, 20, 5); },
       kCtlDiaryDelete, kDiaryView, u"Calvira", u"Delete selected note?"},
      {"Options", [](Scenario& s) { s.Menu(kCmdOptions).TapControl(kCtlOptionsShowMinMax); },
       ce::IDOK, kOptionsView},
      {"Password",
       [](Scenario& s) {
         s.Menu(kCmdPassword).TapControl(kCtlPasswordNew).Type(u"pw");
         s.TapControl(kCtlPasswordVerify).Type(u"pw");
       },
       ce::IDOK, kPasswordView, u"Password", kTextEncryptRecords},
      {"Day entry",
       [](Scenario& s) { TapDay(s.Menu(kCmdScheduleEdit), 12).TapControl(kCtlDayHeavy); },
       kCtlDayDone, kDayEntryView, nullptr, nullptr,
       [] { EXPECT_EQ(Shown(kCtlDayHeavy)->checked, 1); }},
      {"Pill History",
       [](Scenario& s) { s.Menu(kCmdPillHistory).TapListLine(kCtlPillHistoryList, 0); },
       kCtlPillHistoryDelete, kPillHistoryView, u"Calvira", u"Delete selected pill?",
       [] { EXPECT_EQ(Shown(kCtlPillHistoryList)->items->size(), 1u); }},
      {"Add Your Note",
       [](Scenario& s) { s.Menu(kCmdDiary).TapControl(kCtlDiaryAdd).Type(u"Dropped"); }, ce::IDOK,
       kNoteView, nullptr, nullptr, [] { EXPECT_EQ(Field(kCtlNoteText), "Dropped"); }},
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
    // The store mounted again over the fault-injecting file system.
    s.Check([&s] {
      InstallFaultVfs();
      ce::objectstore::Unmount();
      ce::objectstore::MountOptions options;
      options.vfs = kFaultVfsName;
      ASSERT_EQ(ce::objectstore::Mount(s.DataDir(), options), "");
    });
    c.reach(s);
    s.Check([&before] {
      before = StoreContents();
      FailFrom(1, Fault::kDiskFull);
    });
    s.TapControl(c.save);
    if (c.question != nullptr) s.ExpectBox(c.caption, c.question, ce::IDOK);
    s.ExpectBox(u"Calvira", u"The disk is full. Nothing was saved; free some space and try again.",
                ce::IDOK)
        .Check([&before, &c] {
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
