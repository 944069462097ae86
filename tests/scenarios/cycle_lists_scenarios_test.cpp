// Prediction as a user meets it: predicting over a period picked on the calendar, the messages,
// storing a predicted date as a cycle, and the way on to Cycle History and its Add.

#include "cycles/prediction_view.h"
#include "scenarios/cycle_steps.h"

namespace calvira::testing {
namespace {

CPredictionView* Prediction() {
  return static_cast<CPredictionView*>(CDocument_::FindView(kPredictionView));
}

// --- Prediction ---

// Three starts from March to June by 28; Add Cycle stores the selected date once and only when
// asked; OK leaves, and the period stays for the next visit; a date handed over is read within
// its block; the messages of a wrong period or average.
TEST(Prediction, ThreeStartsFromMarchToJuneAddCycleStoresOneAndTheMessages) {
  Scenario s("prediction worked example");
  s.Today(2004, 3, 1).Before([] { StoreCycles({}); });
  const auto ask = [&s](int answer) {
    s.TapControl(kCtlPredictionAddCycle)
        .ExpectBox(u"Calvira", u"Do you want to add date\n3/29/04 as a new cycle?", answer);
  };
  s.Menu(kCmdPrediction).Check([] {
    // Without cycles: yesterday, 28 and no range; the period is today to today + 28.
    EXPECT_EQ(Shown(kCtlPredictionLastEnd)->text, u"2/29/04");
    EXPECT_EQ(Shown(kCtlPredictionAverage)->text, u"28");
    EXPECT_EQ(Shown(kCtlPredictionRange)->text, u"");
    EXPECT_EQ(Shown(kCtlPredictionStart)->text, u"3/1/04");
    EXPECT_EQ(Shown(kCtlPredictionEnd)->text, u"3/29/04");
  });
  PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2004, 6, 1));
  s.TapControl(kCtlPredict).Check([] {
    EXPECT_EQ(Items(kCtlPredictionList),
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
    EXPECT_EQ(Items(kCtlPredictionList).size(), 3u);
    EXPECT_TRUE(ce::IsWindowEnabled(Prediction()->Dialog()));
  });
  // The same date again is refused by the store's rule.
  ask(ce::IDOK);
  s.ExpectBox(u"Calvira", u"Cycle already exists", ce::IDOK).Check([] {
    EXPECT_EQ(ReadCycles().size(), 1u);
  });
  // OK goes to the Cycle View; the period stays for the next visit.
  s.TapControl(ce::IDOK).Check([] {
    ExpectView(kCycleView);
    EXPECT_TRUE(Prediction()->PredictedDays().empty());
    EXPECT_EQ(std::pair(Prediction()->Start(), Prediction()->End()),
              std::pair(Day(2004, 3, 1), Day(2004, 6, 1)));
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
    EXPECT_EQ(Shown(kCtlPredictionStart)->text, u"12/31/2004");
    EXPECT_EQ(Prediction()->Start(), Day(2004, 12, 31));
  });
  // The start after the end, with an average of 0: both messages (the refusals are the
  // prediction's own table).
  PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2004, 3, 1));
  PickDate(s, kPredictionView, kCtlPredictionStart, Day(2004, 3, 2));
  Refill(s, kCtlPredictionAverage, u"0");
  s.TapControl(kCtlPredict)
      .ExpectBox(u"Prediction", u"Average cycle length must be more than zero!", ce::IDOK)
      .ExpectBox(u"Prediction", u"Start date must be earlier than the end one", ce::IDOK);
  // A 29-day period and an average of 0: the list is emptied after the message.
  PickDate(s, kPredictionView, kCtlPredictionEnd, Day(2004, 3, 31));
  s.Check([] {
    ce::SendDlgItemMessage(Prediction()->Dialog(), kCtlPredictionList, ce::LB_ADDSTRING, 0,
                           reinterpret_cast<ce::LPARAM>(u"stale"));
    ce::SetDlgItemText(Prediction()->Dialog(), kCtlPredictionAverage, u"0");
  });
  s.TapControl(kCtlPredict)
      .ExpectBox(u"Prediction", u"Average cycle length must be more than zero!", ce::IDOK)
      .Check([] { EXPECT_TRUE(Items(kCtlPredictionList).empty()); });
  // On to Cycle History (leaving through the menu is the frame's table) and its Add.
  s.Menu(kCmdCycleHistory).TapControl(kCtlHistoryAdd).Check([] { ExpectView(kAddCycleView); });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
