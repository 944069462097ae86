// Cycle History and Prediction as a user meets them: the list and its average, deleting one
// cycle or all, predicting over a period picked on the calendar, the messages, storing a
// predicted date as a cycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cycles/cycle_history_view.h"
#include "cycles/cycle_records.h"
#include "cycles/prediction_view.h"
#include "frame/document.h"
#include "frame/frame_fonts.h"
#include "platform/dialog.h"
#include "platform/text.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

ce::HWND HistoryDialog() {
  return static_cast<CCycleHistoryView*>(CDocument_::FindView(kCycleHistoryView))->Dialog();
}

ce::HWND PredictionDialog() {
  return static_cast<CPredictionView*>(CDocument_::FindView(kPredictionView))->Dialog();
}

// Four cycles of 2003 whose stored lengths are those a recalculation left: 28, 30, 31 and the
// average 29 on the newest.
const DayNumber kJan1 = Day(2003, 1, 1), kJan29 = Day(2003, 1, 29), kFeb28 = Day(2003, 2, 28),
                kMar31 = Day(2003, 3, 31);
const std::vector<CycleRecord> kFourCycles = {
    {kJan1, 5, 28}, {kJan29, 5, 30}, {kFeb28, 5, 31}, {kMar31, 5, 29}};

// --- Cycle History ---

TEST(CycleHistory, ListsEveryCycleAndShowsTheStoredAverageRightAfterAStart) {
  struct Case {
    std::vector<CycleRecord> cycles;
    std::vector<std::u16string> lines;
    std::u16string average;
  };
  const Case cases[] = {
      // Dates of 6, 7 and 8 characters; the average is the newest cycle's stored length, though
      // nothing was recalculated yet.
      {{{Day(2003, 1, 5), 5, 28}, {Day(2003, 11, 2), 5, 30}, {Day(2003, 12, 2), 5, 29}},
       {u"1/5/03          28", u"11/2/03         30", u"12/2/03         N/A"},
       u"29"},
      {{{Day(2003, 1, 5), 5, 31}}, {u"1/5/03          N/A"}, u"N/A"},
      {{}, {}, u"N/A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.size());
    Scenario s("history lines");
    s.Before([&c] { StoreCycles(c.cycles); });
    s.Menu(kCmdCycleHistory).Check([&c] {
      ExpectView(kCycleHistoryView);
      ce::HWND dialog = HistoryDialog();
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(ListLines(dialog, kCtlHistoryList), c.lines);
      EXPECT_EQ(AverageCycleLength, 0);
      EXPECT_EQ(Text(dialog, kCtlHistoryAverage), c.average);
      // Whole on one line, not "N/" with the rest wrapped out of sight.
      ce::HWND average = ce::GetDlgItem(dialog, kCtlHistoryAverage);
      ce::RECT field{};
      ce::GetClientRect(average, &field);
      EXPECT_LE(TextWidth(average, c.average), field.right - field.left);
      // The columns line up because the list is in the fixed-pitch font.
      EXPECT_EQ(reinterpret_cast<ce::HFONT>(
                    ce::SendDlgItemMessage(dialog, kCtlHistoryList, ce::WM_GETFONT, 0, 0)),
                FixedFont());
    });
    // With nothing stored, neither button asks anything.
    if (c.cycles.empty()) s.TapControl(kCtlHistoryDelete).TapControl(kCtlHistoryDeleteAll);
    s.RunCleanly();
  }
}

// The screen painted, Delete's and Delete All's questions, and Add.
TEST(CycleHistory, DeleteAsksForASelectionThenForConfirmationAndAddOpensAddNewCycle) {
  Scenario s("history delete messages");
  s.Before([] { StoreCycles(kFourCycles); });
  s.Menu(kCmdCycleHistory)
      .Check([] {
        // Title white on blue, buttons and statics black on cyan, over the list background.
        EXPECT_EQ(Scenario::PixelAt(80, 5), 0x001F);
        EXPECT_EQ(Scenario::PixelAt(12, 250), 0x07FF);
        EXPECT_EQ(Scenario::PixelAt(166, 222), 0x07FF);
      })
      .TapControl(kCtlHistoryDelete)
      .ExpectBox(u"Calvira", u"Please,select a cycle to delete", ce::IDOK)
      .TapControlAt(kCtlHistoryList, 20, 5)
      .TapControl(kCtlHistoryDelete)
      .ExpectBox(u"Calvira", u"Delete selected cycle?", ce::IDCANCEL)
      .Check([] { EXPECT_EQ(ReadCycles().size(), 4u); })
      .TapControl(kCtlHistoryDeleteAll)
      .ExpectBox(u"Calvira", u"Delete all cycles?", ce::IDCANCEL)
      .Check([] {
        EXPECT_EQ(ReadCycles().size(), 4u);
        EXPECT_EQ(ListLines(HistoryDialog(), kCtlHistoryList).size(), 4u);
      })
      .TapControl(kCtlHistoryDeleteAll)
      .ExpectBox(u"Calvira", u"Delete all cycles?", ce::IDOK)
      .Check([] {
        EXPECT_TRUE(ReadCycles().empty());
        EXPECT_TRUE(ListLines(HistoryDialog(), kCtlHistoryList).empty());
        EXPECT_EQ(Text(HistoryDialog(), kCtlHistoryAverage), u"N/A");
      })
      .TapControl(kCtlHistoryAdd)
      .Check([] {
        ExpectView(kAddCycleView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kCycleHistoryView);
        EXPECT_EQ(HistoryDialog(), nullptr);
      });
  s.RunCleanly();
}

TEST(CycleHistory, DeletingACycleJoinsItsNeighboursAndRecalculates) {
  struct Case {
    const char* what;
    std::vector<CycleRecord> stored;
    int line;
    std::vector<std::pair<DayNumber, int32_t>> left;
    std::vector<std::u16string> lines;
    std::u16string average;
  };
  const Case cases[] = {
      // Jan 1 now runs to Feb 28 (58 days, out of the average); 31 alone is the average.
      {"a middle cycle",
       kFourCycles,
       1,
       {{kJan1, 58}, {kFeb28, 31}, {kMar31, 31}},
       {u"1/1/03          58", u"2/28/03         31", u"3/31/03         N/A"},
       u"31"},
      // Feb 28 becomes the newest: N/A, and the average of 28 and 30 stored as its length.
      {"the newest",
       kFourCycles,
       3,
       {{kJan1, 28}, {kJan29, 30}, {kFeb28, 29}},
       {u"1/1/03          28", u"1/29/03         30", u"2/28/03         N/A"},
       u"29"},
      {"the last but one",
       kFourCycles,
       2,
       {{kJan1, 28}, {kJan29, 61}, {kMar31, 28}},
       {u"1/1/03          28", u"1/29/03         61", u"3/31/03         N/A"},
       u"28"},
      // The one left keeps its length.
      {"down to one",
       {{kJan1, 5, 28}, {kJan29, 5, 28}},
       1,
       {{kJan1, 28}},
       {u"1/1/03          N/A"},
       u"N/A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scenario s(c.what);
    s.Before([&c] { StoreCycles(c.stored); });
    s.Menu(kCmdCycleHistory).TapControlAt(kCtlHistoryList, 20, 5);
    for (int i = 0; i < c.line; ++i) s.Key(ce::VK_DOWN);
    s.TapControl(kCtlHistoryDelete)
        .ExpectBox(u"Calvira", u"Delete selected cycle?", ce::IDOK)
        .Check([&c] {
          EXPECT_EQ(StoredCycles(), c.left);
          EXPECT_EQ(ListLines(HistoryDialog(), kCtlHistoryList), c.lines);
          EXPECT_EQ(Text(HistoryDialog(), kCtlHistoryAverage), c.average);
        });
    s.RunCleanly();
  }
}

// --- Prediction ---

// Three starts from March to June by 28; Add Cycle stores the selected date once and only when
// asked; OK leaves, and the period stays for the next visit.
TEST(Prediction, ThreeStartsFromMarchToJuneAndAddCycleStoresOne) {
  Scenario s("prediction worked example");
  s.Today(2004, 3, 1).Before([] { StoreCycles({}); });
  s.Menu(kCmdPrediction).Check([] {
    ExpectView(kPredictionView);
    ce::HWND dialog = PredictionDialog();
    ASSERT_NE(dialog, nullptr);
    // Without cycles: yesterday, 28 and no range; the period is today to today + 28.
    EXPECT_EQ(Text(dialog, kCtlPredictionLastEnd), u"2/29/04");
    EXPECT_EQ(Text(dialog, kCtlPredictionAverage), u"28");
    EXPECT_EQ(Text(dialog, kCtlPredictionRange), u"");
    EXPECT_EQ(Text(dialog, kCtlPredictionStart), u"3/1/04");
    EXPECT_EQ(Text(dialog, kCtlPredictionEnd), u"3/29/04");
  });
  PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2004, 6, 1));
  s.Check([] { EXPECT_EQ(Text(PredictionDialog(), kCtlPredictionEnd), u"6/1/04"); });
  s.TapControl(kCtlPredict).Check([] {
    EXPECT_EQ(ListLines(PredictionDialog(), kCtlPredictionList),
              (std::vector<std::u16string>{u"3/29/04", u"4/26/04", u"5/24/04"}));
    auto* view = static_cast<CPredictionView*>(CDocument_::FindView(kPredictionView));
    EXPECT_EQ(view->PredictedDays(),
              (std::vector<DayNumber>{Day(2004, 3, 29), Day(2004, 4, 26), Day(2004, 5, 24)}));
  });
  // Nothing selected: nothing asked, nothing stored.
  s.TapControl(kCtlPredictionAddCycle).Check([] { EXPECT_TRUE(ReadCycles().empty()); });
  s.TapControlAt(kCtlPredictionList, 20, 5);
  s.TapControl(kCtlPredictionAddCycle)
      .ExpectBox(u"Calvira", u"Do you want to add date\n3/29/04 as a new cycle?", ce::IDCANCEL)
      .Check([] { EXPECT_TRUE(ReadCycles().empty()); });
  s.TapControl(kCtlPredictionAddCycle)
      .ExpectBox(u"Calvira", u"Do you want to add date\n3/29/04 as a new cycle?", ce::IDOK)
      .Check([] {
        const auto cycles = ReadCycles();
        ASSERT_EQ(cycles.size(), 1u);
        EXPECT_EQ(cycles[0].start, Day(2004, 3, 29));
        EXPECT_EQ(cycles[0].periodLength, 5);
        EXPECT_EQ(cycles[0].cycleLength, 28);
        // Still on Prediction, with its list as it was.
        ExpectView(kPredictionView);
        EXPECT_EQ(ListLines(PredictionDialog(), kCtlPredictionList).size(), 3u);
        EXPECT_TRUE(ce::IsWindowEnabled(PredictionDialog()));
      });
  // The same date again is refused by the store's rule; the next one joins and recalculates.
  s.TapControl(kCtlPredictionAddCycle)
      .ExpectBox(u"Calvira", u"Do you want to add date\n3/29/04 as a new cycle?", ce::IDOK)
      .ExpectBox(u"Calvira", u"Cycle already exists", ce::IDOK)
      .Check([] { EXPECT_EQ(ReadCycles().size(), 1u); });
  s.TapControlAt(kCtlPredictionList, 20, 5).Key(ce::VK_DOWN);
  s.TapControl(kCtlPredictionAddCycle)
      .ExpectBox(u"Calvira", u"Do you want to add date\n4/26/04 as a new cycle?", ce::IDOK)
      .Check([] {
        EXPECT_EQ(StoredCycles(), (std::vector<std::pair<DayNumber, int32_t>>{
                                      {Day(2004, 3, 29), 28}, {Day(2004, 4, 26), 28}}));
      });
  // OK goes to the Cycle View; the period stays for the next visit.
  s.TapControl(ce::IDOK).Check([] {
    ExpectView(kCycleView);
    auto* view = static_cast<CPredictionView*>(CDocument_::FindView(kPredictionView));
    EXPECT_TRUE(view->PredictedDays().empty());
    EXPECT_EQ(view->Start(), Day(2004, 3, 1));
    EXPECT_EQ(view->End(), Day(2004, 6, 1));
  });
  s.RunCleanly();
}

TEST(Prediction, TheRangeAndTheAverageComeFromTheStoredCycles) {
  struct Case {
    std::vector<CycleRecord> cycles;
    std::u16string range, average, last_end;
  };
  const Case cases[] = {
      {{{kJan1, 5, 27}, {Day(2003, 1, 28), 5, 30}, {Day(2003, 2, 27), 5, 28}},
       u"(27-30)",
       u"28",
       u"3/26/03"},
      {{{kJan1, 5, 28}, {kJan29, 5, 28}}, u"(28)", u"28", u"2/25/03"},
      {{{kJan1, 5, 31}}, u"(31)", u"31", u"1/31/03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ce::ToUtf8(c.range));
    Scenario s("prediction basis");
    s.Before([&c] { StoreCycles(c.cycles); });
    s.Menu(kCmdPrediction).Check([&c] {
      EXPECT_EQ(Text(PredictionDialog(), kCtlPredictionRange), c.range);
      EXPECT_EQ(Text(PredictionDialog(), kCtlPredictionAverage), c.average);
      EXPECT_EQ(Text(PredictionDialog(), kCtlPredictionLastEnd), c.last_end);
    });
    s.RunCleanly();
  }
}

TEST(Prediction, TheMessagesOfAWrongPeriodOrAverage) {
  Scenario s("prediction messages");
  s.Today(2004, 3, 1).Before([] { StoreCycles({}); });
  s.Menu(kCmdPrediction);
  s.TapControl(kCtlPredict).Check([] {
    EXPECT_EQ(ListLines(PredictionDialog(), kCtlPredictionList),
              (std::vector<std::u16string>{u"3/29/04"}));
  });
  // The end on the start: refused, and the list stays as it was.
  PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2004, 3, 1));
  s.TapControl(kCtlPredict)
      .ExpectBox(u"Prediction", u"Start date must be earlier than the end one", ce::IDOK);
  // The start after the end, with an average of 0: both messages.
  PickDate(s, kPredictionView, kCtlPredictionStart, Day(2004, 3, 2));
  s.TapControl(kCtlPredictionAverage).Key(ce::VK_END).Key(ce::VK_BACK).Key(ce::VK_BACK).Type(u"0");
  s.TapControl(kCtlPredict)
      .ExpectBox(u"Prediction", u"Average cycle length must be more than zero!", ce::IDOK)
      .ExpectBox(u"Prediction", u"Start date must be earlier than the end one", ce::IDOK);
  // A 29-day period and an average of 0: the list is emptied after the message.
  PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2004, 3, 31));
  s.Check([] {
    ce::SendDlgItemMessage(PredictionDialog(), kCtlPredictionList, ce::LB_ADDSTRING, 0,
                           reinterpret_cast<ce::LPARAM>(u"stale"));
    ce::SetDlgItemText(PredictionDialog(), kCtlPredictionAverage, u"0");
  });
  s.TapControl(kCtlPredict)
      .ExpectBox(u"Prediction", u"Average cycle length must be more than zero!", ce::IDOK)
      .Check([] { EXPECT_TRUE(ListLines(PredictionDialog(), kCtlPredictionList).empty()); });
  // 30 over those 29 days: no prediction and no message.
  s.Check([] { ce::SetDlgItemText(PredictionDialog(), kCtlPredictionAverage, u"30"); });
  s.TapControl(kCtlPredict).Check([] {
    EXPECT_TRUE(ListLines(PredictionDialog(), kCtlPredictionList).empty());
    ExpectView(kPredictionView);
  });
  s.RunCleanly();
}

// A date handed over is read only within its block; leaving through the menu takes the dialog
// along.
TEST(Prediction, AHandedOverDateIsReadOnlyWithinItsBlockAndTheMenuTakesTheDialogAlong) {
  Scenario s("prediction full date block");
  s.Before([] { StoreCycles(kFourCycles); });
  s.Menu(kCmdPrediction);
  s.TapControl(kCtlPredictionStart).Check([] {
    // Ten characters and no terminator: nothing past the block may be read.
    ViewParams params;
    std::u16string(u"12/31/2004").copy(params.date_text, 10);
    params.day_number = Day(2004, 12, 31);
    CDocument_::PassParams(kPredictionView, &params);
    CDocument_::GoBack();
  });
  s.Wait(10).Check([] {
    EXPECT_EQ(Text(PredictionDialog(), kCtlPredictionStart), u"12/31/2004");
    auto* view = static_cast<CPredictionView*>(CDocument_::FindView(kPredictionView));
    EXPECT_EQ(view->Start(), Day(2004, 12, 31));
  });
  s.Menu(kCmdCycleHistory).Check([] {
    ExpectView(kCycleHistoryView);
    EXPECT_EQ(PredictionDialog(), nullptr);
    EXPECT_FALSE(CDocument_::FindView(kPredictionView)->IsActive());
    ASSERT_NE(HistoryDialog(), nullptr);
    EXPECT_EQ(ce::GetActiveWindow(), HistoryDialog());
  });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
