// The Ideal Body Calculator as a user meets it: a number typed into the field, units picked from
// the lists, Calculate pressed, the answer or the range message read; the mode button turning
// the calculator round; and the field refusing what is not a number as it is typed.

#include <tuple>

#include "platform/messages.h"
#include "scenarios/cycle_steps.h"
#include "tools/ideal_body_view.h"

namespace calvira::testing {
namespace {

constexpr int kFeet = 0, kMeters = 1;
constexpr int kKilograms = 1, kOunces = 5;

std::u16string Text(int id) {
  const std::optional<ce::WindowInfo> w = Shown(id);
  return w ? w->text : u"(no control)";
}

CIdealBodyView* Screen() {
  return static_cast<CIdealBodyView*>(CDocument_::FindView(kIdealBodyView));
}

Scenario& OpenCalculator(Scenario& s) {
  return s.Menu(kCmdIdealBody).Check([] { ExpectView(kIdealBodyView); });
}

// The mode button turns both lists round, each back on its first unit, and the labels with
// them; the answer stays. An answer in one mode and a refusal in the other, in the units picked;
// the refusal leaves the answer as it was (the tables, the formulas and every range are the
// rules' own tests). Every visit starts over in ideal-weight mode, without the last answer.
TEST(IdealBodyScenarios, TheModeButtonRefillsBothListsAndEachModeAnswersInTheUnitsPicked) {
  const auto expect_mode = [](BodyMode mode) {
    const bool weight = mode == BodyMode::kIdealWeight;
    EXPECT_EQ(Items(kCtlIdealInputUnit)[0], (weight ? kHeightUnits : kWeightUnits)[0].list_text);
    EXPECT_EQ(Items(kCtlIdealOutputUnit)[0], (weight ? kWeightUnits : kHeightUnits)[0].list_text);
    EXPECT_EQ(std::tuple(Screen()->Mode(), Shown(kCtlIdealInputUnit)->selected,
                         Screen()->InputUnit(), Screen()->OutputUnit(), Text(kCtlIdealInputLabel)),
              std::tuple(mode, 0, 0, 0, weight ? u"Height" : u"Weight"));
  };
  const std::u16string weight_answer =
      u"Your ideal weight, given a\nheight of 5.44 feet\nshould be 135.08 pounds";
  Scenario s("ideal body");
  OpenCalculator(s);
  Refill(s, kCtlIdealInput, u"5.44").TapControl(kCtlIdealCalculate);
  PickItem(s, kCtlIdealInputUnit, kMeters);
  PickItem(s, kCtlIdealOutputUnit, kKilograms);
  s.TapControl(kCtlIdealMode).Check([&] {
    expect_mode(BodyMode::kIdealHeight);
    EXPECT_EQ(Text(kCtlIdealResult), weight_answer);
  });
  PickItem(s, kCtlIdealInputUnit, kOunces);
  PickItem(s, kCtlIdealOutputUnit, kFeet);
  // Which characters the field refuses as they are typed is the filter's own table; here the
  // letter never reaches it.
  Refill(s, kCtlIdealInput, u"3500a")
      .TapControl(kCtlIdealCalculate)
      .ExpectBox(u"Calvira", u"Weight must be under 3491.73 ones(oz)", ce::IDOK)
      .Check([&] {
        EXPECT_EQ(Text(kCtlIdealInput) + Text(kCtlIdealResult), u"3500" + weight_answer);
      });
  s.TapControl(kCtlIdealMode).Check([&] { expect_mode(BodyMode::kIdealWeight); });
  s.TapControl(kCtlIdealMode).TapControl(ce::IDCANCEL);
  OpenCalculator(s).Check([&] {
    expect_mode(BodyMode::kIdealWeight);
    EXPECT_EQ(Text(kCtlIdealResult) + Text(kCtlIdealInput), u"");
  });
  // The look: the background, the title white on blue, the labels and buttons black on cyan.
  PickItem(s, kCtlIdealInputUnit, kMeters);
  PickItem(s, kCtlIdealOutputUnit, kKilograms);
  Refill(s, kCtlIdealInput, u"1.70")
      .TapControl(kCtlIdealCalculate)
      .Wait(100)
      .Screenshot(ShotPath("ideal-body.png"));
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
