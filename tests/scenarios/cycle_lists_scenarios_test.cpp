// Cycle History and Prediction as a user meets them: the list and its average, deleting one
// cycle or all, predicting over a period picked on the calendar, the messages, storing a
// predicted date as a cycle.

#include <string>
#include <vector>

#include "cycles/cycle_history_view.h"
#include "cycles/prediction_view.h"
#include "scenarios/cycle_steps.h"

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

// Delete's questions and the cycle of the selected line deleted (how its neighbours join is the
// history's own table), Delete All's, the emptied screen, and Add. The lines and the average are
// the history's own tables, and the committed picture shows them right after a start.
TEST(CycleHistory, DeleteAsksForASelectionThenForConfirmationAndAddOpensAddNewCycle) {
  Scenario s("history delete");
  s.Before([] { StoreCycles(kFourCycles); });
  s.Menu(kCmdCycleHistory)
      .TapControl(kCtlHistoryDelete)
      .ExpectBox(u"Calvira", u"Please,select a cycle to delete", ce::IDOK)
      .TapControlAt(kCtlHistoryList, 20, 5)
      .Key(ce::VK_DOWN)
      .TapControl(kCtlHistoryDelete)
      .ExpectBox(u"Calvira", u"Delete selected cycle?", ce::IDCANCEL)
      .TapControl(kCtlHistoryDeleteAll)
      .ExpectBox(u"Calvira", u"Delete all cycles?", ce::IDCANCEL)
      .Check([] { EXPECT_EQ(ReadCycles().size(), 4u); })
      .TapControl(kCtlHistoryDelete)
      .ExpectBox(u"Calvira", u"Delete selected cycle?", ce::IDOK)
      .Check([] {
        // Jan 1 now runs to Feb 28 (58 days, out of the average); 31 alone is the average.
        EXPECT_EQ(StoredCycles(), (std::vector<std::pair<DayNumber, int32_t>>{
                                      {kJan1, 58}, {kFeb28, 31}, {kMar31, 31}}));
        EXPECT_EQ(ListLines(HistoryDialog(), kCtlHistoryList),
                  (std::vector<std::u16string>{u"1/1/03          58", u"2/28/03         31",
                                               u"3/31/03         N/A"}));
        EXPECT_EQ(Text(HistoryDialog(), kCtlHistoryAverage), u"31");
      })
      .TapControl(kCtlHistoryDeleteAll)
      .ExpectBox(u"Calvira", u"Delete all cycles?", ce::IDOK)
      .Check([] {
        EXPECT_TRUE(ReadCycles().empty());
        EXPECT_TRUE(ListLines(HistoryDialog(), kCtlHistoryList).empty());
        EXPECT_EQ(Text(HistoryDialog(), kCtlHistoryAverage), u"N/A");
        // Whole on one line, not "N/" with the rest wrapped out of sight.
        ce::HWND average = ce::GetDlgItem(HistoryDialog(), kCtlHistoryAverage);
        ce::RECT field{};
        ce::GetClientRect(average, &field);
        EXPECT_LE(TextWidth(average, u"N/A"), field.right - field.left);
      })
      // With nothing stored, neither button asks anything.
      .TapControl(kCtlHistoryDelete)
      .TapControl(kCtlHistoryDeleteAll)
      .TapControl(kCtlHistoryAdd)
      .Check([] {
        ExpectView(kAddCycleView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kCycleHistoryView);
        EXPECT_EQ(HistoryDialog(), nullptr);
      });
  s.RunCleanly();
}

// --- Prediction ---

// Three starts from March to June by 28; Add Cycle stores the selected date once and only when
// asked; OK leaves, and the period stays for the next visit; a date handed over is read within
// its block; the menu takes the dialog along.
TEST(Prediction, ThreeStartsFromMarchToJuneAndAddCycleStoresOne) {
  Scenario s("prediction worked example");
  s.Today(2004, 3, 1).Before([] { StoreCycles({}); });
  const auto ask = [&s](int answer) {
    s.TapControl(kCtlPredictionAddCycle)
        .ExpectBox(u"Calvira", u"Do you want to add date\n3/29/04 as a new cycle?", answer);
  };
  s.Menu(kCmdPrediction).Check([] {
    // Without cycles: yesterday, 28 and no range; the period is today to today + 28.
    ce::HWND dialog = PredictionDialog();
    EXPECT_EQ(Text(dialog, kCtlPredictionLastEnd), u"2/29/04");
    EXPECT_EQ(Text(dialog, kCtlPredictionAverage), u"28");
    EXPECT_EQ(Text(dialog, kCtlPredictionRange), u"");
    EXPECT_EQ(Text(dialog, kCtlPredictionStart), u"3/1/04");
    EXPECT_EQ(Text(dialog, kCtlPredictionEnd), u"3/29/04");
  });
  PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2004, 6, 1));
  s.TapControl(kCtlPredict).Check([] {
    EXPECT_EQ(ListLines(PredictionDialog(), kCtlPredictionList),
              (std::vector<std::u16string>{u"3/29/04", u"4/26/04", u"5/24/04"}));
  });
  // Nothing selected: nothing asked, nothing stored.
  s.TapControl(kCtlPredictionAddCycle).TapControlAt(kCtlPredictionList, 20, 5);
  ask(ce::IDCANCEL);
  s.Check([] { EXPECT_TRUE(ReadCycles().empty()); });
  ask(ce::IDOK);
  s.Check([] {
    ExpectCycles({{Day(2004, 3, 29), 5, 28}});
    // Still on Prediction, with its list as it was.
    ExpectView(kPredictionView);
    EXPECT_EQ(ListLines(PredictionDialog(), kCtlPredictionList).size(), 3u);
    EXPECT_TRUE(ce::IsWindowEnabled(PredictionDialog()));
  });
  // The same date again is refused by the store's rule.
  ask(ce::IDOK);
  s.ExpectBox(u"Calvira", u"Cycle already exists", ce::IDOK).Check([] {
    EXPECT_EQ(ReadCycles().size(), 1u);
  });
  // OK goes to the Cycle View; the period stays for the next visit.
  s.TapControl(ce::IDOK).Check([] {
    ExpectView(kCycleView);
    auto* view = static_cast<CPredictionView*>(CDocument_::FindView(kPredictionView));
    EXPECT_TRUE(view->PredictedDays().empty());
    EXPECT_EQ(view->Start(), Day(2004, 3, 1));
    EXPECT_EQ(view->End(), Day(2004, 6, 1));
  });
  // A date handed over is read only within its block: ten characters and no terminator.
  s.Menu(kCmdPrediction).TapControl(kCtlPredictionStart).Check([] {
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
  // Leaving through the menu takes the dialog along.
  s.Menu(kCmdCycleHistory).Check([] {
    ExpectView(kCycleHistoryView);
    EXPECT_EQ(PredictionDialog(), nullptr);
    EXPECT_FALSE(CDocument_::FindView(kPredictionView)->IsActive());
    ASSERT_NE(HistoryDialog(), nullptr);
    EXPECT_EQ(ce::GetActiveWindow(), HistoryDialog());
  });
  s.RunCleanly();
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

}  // namespace
}  // namespace calvira::testing
