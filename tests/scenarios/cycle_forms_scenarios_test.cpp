// Add New Cycle and Edit Cycle as a user meets them: the defaults and the predicted end, the
// length fields, the period rules, a start already stored, the calendar's hand-over, and what
// Edit Cycle writes and where it returns.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "cycles/add_cycle_view.h"
#include "cycles/cycle_records.h"
#include "cycles/cycle_view.h"
#include "frame/document.h"
#include "platform/dialog.h"
#include "platform/object_store.h"
#include "platform/text.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

// --- Add New Cycle ---

TEST(AddCycleScreen, TheLengthFieldsKeepThreeDigitsAndAnEmptyOneDisablesOk) {
  Scenario s("add fields");
  s.Today(2003, 1, 20);
  s.TapControl(kCtlCycleAdd);
  // The period field has the focus with its text selected; Tab selects the presumed length.
  s.Key(ce::VK_TAB).Type(u"30").Check([] { EXPECT_EQ(Field(kCtlAddEnd), "2/18/03"); });
  s.Type(u"15").Check([] {
    // The fourth digit is cut again; the caret stays after the third.
    EXPECT_EQ(Field(kCtlAddPresumed), "301");
    EXPECT_EQ(Field(kCtlAddEnd), "11/16/03");  // 20 January + 300
  });
  s.Key(ce::VK_BACK).Key(ce::VK_BACK).Key(ce::VK_BACK).Check([] {
    EXPECT_EQ(Field(kCtlAddPresumed), "");
    EXPECT_EQ(Field(kCtlAddEnd), "1/20/03");  // the start itself
    EXPECT_FALSE(OkEnabled());
  });
  s.Key(ce::VK_RETURN).Check([] {
    ExpectView(kAddCycleView);  // a disabled OK is not pressed by Enter either
    EXPECT_TRUE(ReadCycles().empty());
  });
  s.Type(u"29").Check([] {
    EXPECT_EQ(Field(kCtlAddEnd), "2/17/03");
    EXPECT_TRUE(OkEnabled());
  });
  // Back to the period: four digits give three; emptying it disables OK.
  s.Key(ce::VK_TAB).Key(ce::VK_TAB).Key(ce::VK_TAB).Type(u"1234").Check([] {
    EXPECT_EQ(Field(kCtlAddPeriod), "123");
  });
  s.Key(ce::VK_BACK).Key(ce::VK_BACK).Key(ce::VK_BACK).Check([] { EXPECT_FALSE(OkEnabled()); });
  s.Key(ce::VK_ESCAPE).Check([] {
    ExpectView(kCycleView);
    EXPECT_TRUE(ReadCycles().empty());
  });
  s.RunCleanly();
}

// One case per verdict; the boundaries, and the lengths the half-cycle rule skips, are the
// verdict table's.
TEST(AddCycleScreen, ThePeriodAgainstThePresumedLength) {
  struct Case {
    const char16_t* presumed;
    const char16_t* period;
    const char16_t* refusal;  // null: accepted
    const char16_t* caption;
  };
  const Case cases[] = {
      {u"30", u"15", u"Incorrect period length", u"Calvira"},
      {u"30", u"14", nullptr, nullptr},
      {u"28", u"0", u"Period length must be more than zero", u"Add New Cycle"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ce::ToUtf8(std::u16string(c.presumed) + u"/" + c.period));
    Scenario s("add period rule");
    s.Today(2003, 1, 20);
    s.TapControl(kCtlCycleAdd).Type(c.period).Key(ce::VK_TAB).Type(c.presumed);
    s.TapControl(ce::IDOK);
    if (c.refusal != nullptr) {
      s.ExpectBox(c.caption, c.refusal, ce::IDOK).Check([] {
        ExpectView(kAddCycleView);  // the form stays open
        EXPECT_TRUE(ReadCycles().empty());
      });
      s.TapControl(ce::IDCANCEL);
    } else {
      s.Check([&c] {
        ExpectView(kCycleView);
        const int32_t period = std::stoi(ce::ToUtf8(c.period));
        const int32_t presumed = std::stoi(ce::ToUtf8(c.presumed));
        ExpectCycles({{Day(2003, 1, 20), period, presumed}});
      });
    }
    s.RunCleanly();
  }
}

TEST(AddCycleScreen, WhatOkStoresBesideTheCyclesAlreadyThere) {
  struct Case {
    const char* what;
    uint16_t today;  // of January 2003
    std::vector<CycleRecord> before, after;
    const char16_t* presumed;  // typed, or null
    const char16_t* refusal;   // null: accepted
  };
  const Case cases[] = {
      {"a start already stored",
       20,
       {{Day(2003, 1, 20), 4, 30}},
       {{Day(2003, 1, 20), 4, 30}},
       nullptr,
       u"Cycle already exists"},
      // The first gets its real length, and whatever presumed length is typed, the average
      // replaces it on the new one.
      {"a second cycle",
       31,
       {{Day(2003, 1, 1), 5, 45}},
       {{Day(2003, 1, 1), 5, 30}, {Day(2003, 1, 31), 5, 30}},
       u"35",
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scenario s(c.what);
    s.Today(2003, 1, c.today).Before([&c] { StoreCycles(c.before); });
    s.TapControl(kCtlCycleAdd);
    if (c.presumed != nullptr) s.Key(ce::VK_TAB).Type(c.presumed);
    s.TapControl(ce::IDOK);
    if (c.refusal != nullptr) s.ExpectBox(u"Calvira", c.refusal, ce::IDOK);
    s.Check([&c] {
      ExpectView(kCycleView);
      ExpectCycles(c.after);
      if (c.after.size() > 1) {
        EXPECT_EQ(AverageCycleLength, 30);
        EXPECT_EQ(CCycleView::Find()->ShownCycleIndex(), 0);
      }
    });
    s.RunCleanly();
  }
}

// Today, 5 and 28 by default; a start picked on the calendar waits through Cancel until an OK
// stores it, and the next visit starts from today again.
TEST(AddCycleScreen, DefaultsAndAPickedStartThatWaitsThroughCancelUntilAnOk) {
  Scenario s("add start");
  s.Today(2003, 1, 20);
  s.TapControl(kCtlCycleAdd).Check([] {
    ExpectView(kAddCycleView);
    EXPECT_EQ(Field(kCtlTitle), "Add New Cycle");
    EXPECT_EQ(Field(kCtlAddStart), "1/20/03");
    EXPECT_EQ(Field(kCtlAddPeriod), "5");
    EXPECT_EQ(Field(kCtlAddPresumed), "28");
    EXPECT_EQ(Field(kCtlAddEnd), "2/16/03");  // today + 27
    EXPECT_TRUE(OkEnabled());
  });
  PickDate(s, kAddCycleView, kCtlAddStart, Day(2003, 1, 5));
  s.Check([] {
    ExpectView(kAddCycleView);
    EXPECT_EQ(Field(kCtlAddStart), "1/5/03");
    EXPECT_EQ(Field(kCtlAddPeriod), "5");
    EXPECT_EQ(Field(kCtlAddPresumed), "28");
    EXPECT_EQ(Field(kCtlAddEnd), "2/1/03");
  });
  s.TapControl(ce::IDCANCEL).Check([] {
    ExpectView(kCycleView);
    EXPECT_TRUE(ReadCycles().empty());
  });
  s.TapControl(kCtlCycleAdd).Check([] { EXPECT_EQ(Field(kCtlAddStart), "1/5/03"); });
  s.TapControl(ce::IDOK).Check([] { ExpectCycles({{Day(2003, 1, 5), 5, 28}}); });
  s.TapControl(kCtlCycleAdd).Check([] {
    EXPECT_EQ(Field(kCtlAddStart), "1/20/03");  // today again after the OK
  });
  s.TapControl(ce::IDCANCEL);
  s.RunCleanly();
}

// --- Edit Cycle ---

// Counts the property rows the program writes into the store's file, with a trigger.
void InstallWriteCounter(const std::filesystem::path& dir) {
  ce::objectstore::Unmount();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(ce::objectstore::StoreFile(dir).c_str(), &db), SQLITE_OK);
  const char* sql =
      "CREATE TABLE test_writes(n INTEGER);"
      "CREATE TRIGGER test_count AFTER INSERT ON props BEGIN INSERT INTO test_writes VALUES(1); "
      "END;";
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  ASSERT_EQ(ce::objectstore::Mount(dir), "");
}

int Writes(const std::filesystem::path& dir) {
  sqlite3* db = nullptr;
  int count = -1;
  if (sqlite3_open_v2(ce::objectstore::StoreFile(dir).c_str(), &db, SQLITE_OPEN_READONLY,
                      nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM test_writes", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
      count = sqlite3_column_int(st, 0);
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return count;
}

// 1 January 2003, 1 February and 28 February.
constexpr DayNumber kFirst = 293232;
const std::vector<CycleRecord> kThreeCycles = {
    {kFirst, 5, 32}, {kFirst + 32, 6, 26}, {kFirst + 58, 5, 29}};

// Three cycles stored and the middle one shown, its Edit Cycle open.
void OpenEditOnTheMiddleCycle(Scenario& s) {
  s.Before([&s] {
    StoreCycles(kThreeCycles);
    InstallWriteCounter(s.DataDir());
  });
  s.Tap(12, 7);  // the older arrow
  s.TapControl(kCtlCycleEdit).Check([] {
    ExpectView(kEditCycleView);
    EXPECT_EQ(Field(kCtlTitle), "Edit Cycle");
    EXPECT_EQ(Field(kCtlEditStart), "2/2/03");
    EXPECT_EQ(Field(kCtlEditPeriod), "6");
    EXPECT_EQ(Field(kCtlEditLength), "26");
    EXPECT_EQ(Field(kCtlEditEnd), "2/27/03");
  });
}

TEST(EditCycleScreen, ANewPeriodIsStoredAloneAndTheCycleStaysShown) {
  struct Case {
    const char16_t* typed;  // null: left as it is
    std::vector<CycleRecord> stored;
  };
  const Case cases[] = {
      {nullptr, kThreeCycles},
      // The field's text is selected: typing replaces it.
      {u"12", {kThreeCycles[0], {kFirst + 32, 12, 26}, kThreeCycles[2]}},
  };
  for (const Case& c : cases) {
    Scenario s("edit accepted");
    int writes = -1;
    OpenEditOnTheMiddleCycle(s);
    s.Check([&] { writes = Writes(s.DataDir()); });
    if (c.typed != nullptr) s.Type(c.typed);
    s.TapControl(ce::IDOK).Check([&] {
      ExpectView(kCycleView);
      ExpectCycles(c.stored);
      // An unchanged period writes nothing.
      if (c.typed == nullptr) {
        EXPECT_EQ(Writes(s.DataDir()), writes);
      }
      EXPECT_EQ(CCycleView::Find()->ShownCycleIndex(), 1);
      EXPECT_TRUE(CCycleView::Find()->KeepShownCycle());
      EXPECT_EQ(Scenario::PixelAt(50, 10), kTimeLineColour);  // the 26-day cycle's second tick
    });
    s.RunCleanly();
  }
}

TEST(EditCycleScreen, ARefusedPeriodWritesNothingAndCancelShowsTheNewestAgain) {
  struct Case {
    const char16_t* typed;
    const char16_t* caption;
    const char16_t* refusal;
  };
  const Case cases[] = {
      {u"13", u"Calvira", u"Incorrect period length"},  // 26 / 2 - 1 = 12 is the longest
      {u"0", u"Edit Cycle", u"Period length must be more than zero"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ce::ToUtf8(c.typed));
    Scenario s("edit refused");
    int writes = -1;
    OpenEditOnTheMiddleCycle(s);
    s.Check([&] { writes = Writes(s.DataDir()); })
        .Type(c.typed)
        .TapControl(ce::IDOK)
        .ExpectBox(c.caption, c.refusal, ce::IDOK)
        .Check([&] {
          ExpectView(kEditCycleView);
          EXPECT_EQ(Field(kCtlEditPeriod), ce::ToUtf8(c.typed));
          EXPECT_EQ(Writes(s.DataDir()), writes);
          ExpectCycles(kThreeCycles);
        });
    // Emptied, the field disables OK; a fourth digit is cut.
    s.TapControl(kCtlEditPeriod).Key(ce::VK_END).Key(ce::VK_BACK).Key(ce::VK_BACK).Check([] {
      EXPECT_FALSE(OkEnabled());
    });
    s.Type(u"1234").Check([] {
      EXPECT_EQ(Field(kCtlEditPeriod), "123");
      EXPECT_TRUE(OkEnabled());
    });
    s.TapControl(ce::IDCANCEL).Check([] {
      ExpectView(kCycleView);
      EXPECT_FALSE(CCycleView::Find()->KeepShownCycle());
      EXPECT_EQ(CCycleView::Find()->ShownCycleIndex(), 0);
      ExpectCycles(kThreeCycles);
    });
    s.RunCleanly();
  }
}

}  // namespace
}  // namespace calvira::testing
