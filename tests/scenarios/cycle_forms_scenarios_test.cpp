// Add New Cycle and Edit Cycle as a user meets them: the defaults and the predicted end, the
// length fields, the period rules, a start already stored, the calendar's hand-over, and what
// Edit Cycle writes and where it returns.

#include <map>
#include <tuple>

#include "cycles/add_cycle_view.h"
#include "cycles/cycle_view.h"
#include "scenarios/cycle_steps.h"
#include "support/files.h"

namespace calvira::testing {
namespace {

// --- Add New Cycle ---

// Today, 5 and 28 by default; the length fields keep three digits and an empty one disables OK;
// a refused period keeps the form open (the verdicts are the rules' own table); a start picked
// on the calendar waits through Cancel until an OK stores it, and the next visit starts from
// today again.
TEST(AddCycleScreen, DefaultsFieldsRefusalsAndAPickedStartThatWaitsThroughCancel) {
  Scenario s("add");
  s.Today(2003, 1, 20);
  // The form's look with its defaults is the committed picture's.
  s.TapControl(kCtlCycleAdd).Check([] { EXPECT_EQ(Field(kCtlAddStart), "1/20/03"); });
  // The period field has the focus with its text selected; Tab selects the presumed length.
  s.Key(ce::VK_TAB).Type(u"30").Type(u"15").Check([] {
    // The fourth digit is cut again; the caret stays after the third.
    EXPECT_EQ(Field(kCtlAddPresumed), "301");
    EXPECT_EQ(Field(kCtlAddEnd), "11/16/03");  // 20 January + 300
  });
  s.Key(ce::VK_BACK).Key(ce::VK_BACK).Key(ce::VK_BACK).Check([] { EXPECT_FALSE(OkEnabled()); });
  s.Key(ce::VK_RETURN).Check([] { ExpectView(kAddCycleView); });  // nor is it pressed by Enter
  s.Type(u"29").Check([] { EXPECT_TRUE(OkEnabled()); });
  // Back to the period: four digits give three; emptying it disables OK.
  s.Key(ce::VK_TAB).Key(ce::VK_TAB).Key(ce::VK_TAB).Type(u"1234").Check([] {
    EXPECT_EQ(Field(kCtlAddPeriod), "123");
  });
  s.Key(ce::VK_BACK).Key(ce::VK_BACK).Key(ce::VK_BACK).Check([] { EXPECT_FALSE(OkEnabled()); });
  s.Key(ce::VK_ESCAPE).Check([] { ExpectView(kCycleView); });
  const struct {
    const char16_t *period, *presumed, *caption, *refusal;
  } refusals[] = {{u"15", u"30", u"Calvira", u"Incorrect period length"},
                  {u"0", u"28", u"Add New Cycle", u"Period length must be more than zero"}};
  for (const auto& r : refusals) {
    s.TapControl(kCtlCycleAdd).Type(r.period).Key(ce::VK_TAB).Type(r.presumed);
    s.TapControl(ce::IDOK)
        .ExpectBox(r.caption, r.refusal, ce::IDOK)
        .Check([] { ExpectView(kAddCycleView); })
        .TapControl(ce::IDCANCEL);
  }
  s.TapControl(kCtlCycleAdd);
  PickDate(s, kAddCycleView, kCtlAddStart, Day(2003, 1, 5));
  s.Check([] { EXPECT_EQ(Field(kCtlAddStart) + " " + Field(kCtlAddEnd), "1/5/03 2/1/03"); });
  s.TapControl(ce::IDCANCEL).Check([] { EXPECT_TRUE(ReadCycles().empty()); });
  s.TapControl(kCtlCycleAdd).Check([] { EXPECT_EQ(Field(kCtlAddStart), "1/5/03"); });
  s.TapControl(ce::IDOK).Check([] { ExpectCycles({{Day(2003, 1, 5), 5, 28}}); });
  // The next visit starts from today again. A second cycle gives the first its real length, and
  // the average replaces whatever presumed length is typed on the new one; the same start again
  // is refused.
  s.TapControl(kCtlCycleAdd).Check([] { EXPECT_EQ(Field(kCtlAddStart), "1/20/03"); });
  s.Key(ce::VK_TAB).Type(u"35").TapControl(ce::IDOK).Check([] {
    ExpectCycles({{Day(2003, 1, 5), 5, 15}, {Day(2003, 1, 20), 5, 15}});
    EXPECT_EQ(std::tuple(AverageCycleLength, CCycleView::Find()->ShownCycleIndex()),
              std::tuple(15, 0));
  });
  s.TapControl(kCtlCycleAdd)
      .TapControl(ce::IDOK)
      .ExpectBox(u"Calvira", u"Cycle already exists", ce::IDOK)
      .Check([] {
        ExpectView(kCycleView);
        EXPECT_EQ(ReadCycles().size(), 2u);
      });
  s.RunCleanly();
}

// --- Edit Cycle ---

// Three cycles stored and the middle one shown: a refused period writes nothing and keeps the
// form, the field keeps three digits, Cancel shows the newest again; an unchanged OK writes
// nothing, a new period is stored alone, and the edited cycle stays shown.
TEST(EditCycleScreen, RefusedUnchangedAndNewPeriods) {
  Scenario s("edit");
  // Every file of the store, its bytes and time: nothing written, nothing changed.
  std::map<std::string, std::string> files;
  s.Before([] { StoreCycles(kThreeCycles); });
  const auto unchanged = [&] {
    EXPECT_TRUE(Snapshot(s.DataDir()) == files);
    ExpectCycles(kThreeCycles);
  };
  s.Tap(12, 7);  // the older arrow
  s.TapControl(kCtlCycleEdit).Check([&] {
    files = Snapshot(s.DataDir());
    EXPECT_EQ(Field(kCtlEditStart) + " " + Field(kCtlEditPeriod) + " " + Field(kCtlEditLength),
              "2/2/03 6 26");
  });
  // The field's text is selected: typing replaces it. 26 / 2 - 1 = 12 is the longest.
  s.Type(u"13")
      .TapControl(ce::IDOK)
      .ExpectBox(u"Calvira", u"Incorrect period length", ce::IDOK)
      .Check([&] {
        ExpectView(kEditCycleView);
        unchanged();
      });
  Refill(s, kCtlEditPeriod, u"").Check([] { EXPECT_FALSE(OkEnabled()); });
  s.Type(u"0")
      .TapControl(ce::IDOK)
      .ExpectBox(u"Edit Cycle", u"Period length must be more than zero", ce::IDOK)
      .Check(unchanged);
  Refill(s, kCtlEditPeriod, u"1234").Check([] { EXPECT_EQ(Field(kCtlEditPeriod), "123"); });
  s.TapControl(ce::IDCANCEL).Check([&] {
    ExpectView(kCycleView);
    EXPECT_EQ(
        std::tuple(CCycleView::Find()->KeepShownCycle(), CCycleView::Find()->ShownCycleIndex()),
        std::tuple(false, 0));
    unchanged();
  });
  const auto middle_kept = [] {
    ExpectView(kCycleView);
    EXPECT_EQ(
        std::tuple(CCycleView::Find()->KeepShownCycle(), CCycleView::Find()->ShownCycleIndex()),
        std::tuple(true, 1));
    EXPECT_EQ(Scenario::PixelAt(50, 10), kTimeLineColour);  // the 26-day cycle's second tick
  };
  s.Tap(12, 7).TapControl(kCtlCycleEdit).TapControl(ce::IDOK).Check([&] {
    middle_kept();
    unchanged();
  });
  s.TapControl(kCtlCycleEdit).Type(u"12").TapControl(ce::IDOK).Check([&] {
    middle_kept();
    ExpectCycles({kThreeCycles[0], {kThreeCycles[1].start, 12, 26}, kThreeCycles[2]});
  });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
