// The README's screenshots, taken on the headless display. `make screenshots` sets
// CALVIRA_SCREENSHOT_DIR to docs/screenshots; otherwise they go to a temporary directory and
// the test only checks that every one was written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cycles/cycle_records.h"
#include "frame/app.h"
#include "frame/document.h"
#include "frame/ui_resources.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/window.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "support/temp_store.h"
#include "tools/password_hash.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

std::filesystem::path ShotDir() {
  if (const char* dir = std::getenv("CALVIRA_SCREENSHOT_DIR")) return dir;
  static const std::filesystem::path temp = MakeTempDir("screenshots");
  return temp;
}

TEST(Screenshots, TheCycleScreens) {
  const std::filesystem::path dir = ShotDir();
  Scenario s("cycle screenshots");
  s.Today(2026, 12, 6).Before([] {
    CreateCatalogue();
    // Two cycles: the shown one runs from 20 November over the month's end.
    AddCycle(Day(2026, 10, 23), 5, 28);
    AddCycle(Day(2026, 11, 20), 5, 28);
  });
  s.Screenshot(dir / "cycle-view.png")
      .TapControl(kCtlCycleAdd)
      .Screenshot(dir / "add-cycle.png")
      .TapControl(ce::IDCANCEL);
  EXPECT_EQ(s.Run(), 0);

  Scenario i("invalid cycle screenshot");
  i.Today(2026, 12, 6).Before([] {
    CreateCatalogue();
    AddCycle(Day(2026, 11, 2), 5, 45);
  });
  i.Screenshot(dir / "cycle-view-invalid.png");
  EXPECT_EQ(i.Run(), 0);

  for (const char* name : {"cycle-view.png", "cycle-view-invalid.png", "add-cycle.png"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
  }
}

// The logo is on the screen until the first screen paints over it, which happens before the
// program first waits for input; so it is taken the moment the first screen is switched to,
// with the menu bar painted as it would be.
std::filesystem::path g_logo_shot;

void ShootLogo() {
  ce::UpdateWindow(CDocument_::GetMenuBar());
  ce::FlushDisplay();
  EXPECT_EQ(ce::WritePng565(g_logo_shot.string(), ce::FrameBufferPixels(), ce::kScreenWidth,
                            ce::kFrameHeight),
            "");
}

TEST(Screenshots, TheProgramsScreens) {
  const std::filesystem::path dir = ShotDir();
  Scenario s("screenshots");
  const ce::UINT main_menu = Scenario::MenuButtonFor(40068);
  std::filesystem::create_directories(dir);
  g_logo_shot = dir / "logo.png";
  SetFirstScreenHook(&ShootLogo);
  s.TapMenuEntry(main_menu)
      .Screenshot(dir / "menu.png")
      .TapMenuEntry(main_menu)
      .Menu(40057)
      .Screenshot(dir / "help.png")
      .TapControl(2)
      .Menu(40003)
      .Wait(1400)
      .Screenshot(dir / "about.png")
      .Tap(100, 100)
      .Menu(40080)
      .Screenshot(dir / "mirror.png")
      .Tap(100, 100)
      .Menu(40070)
      .Screenshot(dir / "message-box.png")
      .ExpectBox(u"Calvira", u"There are no finished cycles!", ce::IDOK);
  EXPECT_EQ(s.Run(), 0);
  SetFirstScreenHook(nullptr);

  Scenario p("password screenshot");
  p.Before([] {
    CreateCatalogue();
    Settings settings;
    settings.password = HashPassword(u"Secret");
    settings.logo_disabled = true;
    ASSERT_TRUE(WriteSettings(settings));
  });
  p.Type(u"Sec").Screenshot(dir / "password.png").Key(ce::VK_ESCAPE);
  EXPECT_EQ(p.Run(), 0);

  // Cycle History with several cycles, and Prediction with its results.
  Scenario c("cycle lists screenshots");
  c.Today(2004, 3, 1).Before([] {
    CreateCatalogue();
    Settings settings;
    settings.logo_disabled = true;
    ASSERT_TRUE(WriteSettings(settings));
    const uint16_t starts[][2] = {{8, 5},   {9, 2},   {9, 30}, {10, 29},
                                  {11, 27}, {12, 24}, {13, 21}};  // {month from 2003, day}
    for (const auto& [month, day] : starts) {
      DayNumber start = 0;
      DateToDayNumber(month > 12 ? 2004 : 2003, month > 12 ? month - 12 : month, day, start);
      AddCycle(start, 5, 28);
    }
  });
  c.Menu(40069)
      .Tap(40, 95)
      .Screenshot(dir / "cycle-history.png")
      .Menu(40077)
      .Tap(55, 190)  // the end date: the calendar opens
      .Check([] {
        // The calendar's hand-over when 1 July 2004 is tapped.
        ViewParams params;
        DayNumber july1 = 0;
        DateToDayNumber(2004, 7, 1, july1);
        params.day_number = july1;
        FormatDate(july1).copy(params.date_text, 9);
        CDocument_::PassParams(CDocument_::GetPreviousView(), &params);
        CDocument_::GoBack();
      })
      .Wait(10)
      .Tap(197, 219)  // Predict
      .Tap(150, 116)  // the first predicted date
      .Screenshot(dir / "prediction.png");
  EXPECT_EQ(c.Run(), 0);

  for (const char* name :
       {"logo.png", "menu.png", "help.png", "about.png", "mirror.png", "message-box.png",
        "password.png", "cycle-history.png", "prediction.png"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
  }
}

}  // namespace
}  // namespace calvira::testing
