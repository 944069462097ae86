// The README's screenshots, taken on the headless display. `make screenshots` sets
// CALVIRA_SCREENSHOT_DIR to docs/screenshots; otherwise they go to a temporary directory and
// each is compared with the committed one.

#include "frame/app.h"
#include "frame/commands.h"
#include "frame/ui_resources.h"
#include "scenarios/cycle_steps.h"
#include "store/catalogue.h"

namespace calvira::testing {
namespace {

TEST(Screenshots, TheCycleScreens) {
  Scenario s("cycle screenshots");
  s.Before([] {
    CreateCatalogue();
    // Two cycles: the shown one runs from 20 November over the month's end.
    AddCycle(Day(2026, 10, 23), 5, 28);
    AddCycle(Day(2026, 11, 20), 5, 28);
  });
  s.Screenshot(ShotPath("cycle-view.png"))
      .TapControl(kCtlCycleAdd)
      .Screenshot(ShotPath("add-cycle.png"))
      .TapControl(ce::IDCANCEL);
  EXPECT_EQ(s.Run(), 0);

  Scenario i("invalid cycle screenshot");
  i.Before([] {
    CreateCatalogue();
    AddCycle(Day(2026, 11, 2), 5, 45);
  });
  i.Screenshot(ShotPath("cycle-view-invalid.png"));
  EXPECT_EQ(i.Run(), 0);
}

// The logo is on the screen until the first screen paints over it, which happens before the
// program first waits for input; so it is taken the moment the first screen is switched to,
// with the menu bar painted as it would be.
std::filesystem::path g_logo_shot;

void ShootLogo() {
  ce::UpdateWindow(CDocument_::GetMenuBar());
  TakeShot(g_logo_shot);
}

TEST(Screenshots, TheProgramsScreens) {
  Scenario s("screenshots");
  const ce::UINT main_menu = MenuBarButtons()[0].command;
  g_logo_shot = ShotPath("logo.png");
  SetFirstScreenHook(&ShootLogo);
  s.TapMenuEntry(main_menu)
      .Screenshot(ShotPath("menu.png"))
      .TapMenuEntry(main_menu)
      .Menu(40057)
      .Screenshot(ShotPath("help.png"))
      .TapControl(2)
      .Menu(40003)
      .Wait(1400)
      .Screenshot(ShotPath("about.png"))
      .Tap(100, 100)
      .Menu(40080)
      .Screenshot(ShotPath("mirror.png"))
      .Tap(100, 100)
      // The empty Cycle View's arrows lead nowhere and paint nothing: the box's picture shows it.
      .Tap(12, 7)
      .Tap(12, 260)
      .Menu(40070)
      .Screenshot(ShotPath("message-box.png"))
      .ExpectBox(u"Calvira", u"There are no finished cycles!", ce::IDOK);
  EXPECT_EQ(s.Run(), 0);
  SetFirstScreenHook(nullptr);

  // Cycle History with several cycles, and Prediction with its results.
  Scenario c("cycle lists screenshots");
  c.Today(2004, 3, 1).Before([] {
    StoreSettings(LogoOff());
    const uint16_t starts[][2] = {{8, 5},   {9, 2},   {9, 30}, {10, 29},
                                  {11, 27}, {12, 24}, {13, 21}};  // {month from 2003, day}
    for (const auto& [month, day] : starts) {
      AddCycle(Day(month > 12 ? 2004 : 2003, month > 12 ? month - 12 : month, day), 5, 28);
    }
  });
  c.Menu(40069).Tap(40, 95).Screenshot(ShotPath("cycle-history.png")).Menu(40077);
  PickDate(c, kPredictionView, kCtlPredictionEnd, Day(2004, 7, 1));
  c.Tap(197, 219)     // Predict
      .Tap(150, 116)  // the first predicted date
      .Screenshot(ShotPath("prediction.png"));
  EXPECT_EQ(c.Run(), 0);
}

}  // namespace
}  // namespace calvira::testing
