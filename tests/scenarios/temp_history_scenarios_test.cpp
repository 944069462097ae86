// Temp History as a user meets it: a reading added for a day picked on the calendar and a value
// tapped in the picker, a second one for the same day, the padded rows, deleting one or all, and
// the scale of the settings.

#include "scenarios/cycle_steps.h"
#include "temperature/temp_history_view.h"
#include "temperature/temperature_records.h"
#include "temperature/temperature_scale.h"

namespace calvira::testing {
namespace {

CTempHistoryView* History() {
  return static_cast<CTempHistoryView*>(CDocument_::FindView(kTempHistoryView));
}

std::vector<std::pair<DayNumber, double>> Stored() {
  std::vector<std::pair<DayNumber, double>> out;
  for (const TemperatureReading& r : ReadTemperatures()) out.emplace_back(r.day, r.celsius);
  return out;
}

// Add, a day tapped on the real calendar, back on Temp History with the picker open.
Scenario& PickDay(Scenario& s, int day) {
  return TapDay(s.TapControl(kCtlTempAdd), day).Check([] {
    ExpectView(kTempHistoryView);
    EXPECT_TRUE(History()->DatePicked());
    EXPECT_TRUE(Shown(kCtlTempPicker));
  });
}

// Scrolls the picker to the row, as the scroll bar would, and taps it.
Scenario& PickValue(Scenario& s, int row) {
  return s
      .Check([row] {
        ce::SendDlgItemMessage(History()->Dialog(), kCtlTempPicker, ce::LB_SETTOPINDEX,
                               static_cast<ce::WPARAM>(row), 0);
      })
      .TapControlAt(kCtlTempPicker, 10, 5);
}

// The picker's rows and what each stores are the picker's own table; here a tapped row is the
// picked day's reading, and a second one for the same day replaces it. The scale of the settings
// changes the rows, from the next visit on, but not the stored values; a Fahrenheit value is
// stored in Celsius and shows as the row that was tapped. The rows, in the fixed-pitch font, the
// places at the dialog's 7/4 scale and the picker as it opens over the list are the committed
// picture's.
TEST(TempHistory, AReadingForAPickedDayReplacedByASecondInEitherScale) {
  const DayNumber dec6 = Day(2026, 12, 6);
  Scenario s("temperature added");
  s.Before([] {
    StoreReadings(1, {{Day(2026, 11, 3), 36.4},
                      {Day(2026, 11, 17), 36.5},
                      {Day(2026, 11, 18), 36.9},
                      {Day(2026, 11, 19), 37.0},
                      {Day(2026, 12, 1), 36.3},
                      {Day(2026, 12, 2), 36.4},
                      {Day(2026, 12, 5), 36.6}});
  });
  s.Menu(kCmdTempHistory).Check([] { EXPECT_FALSE(Shown(kCtlTempPicker)); });
  PickDay(s, 6)
      .Check([=] {
        EXPECT_EQ(History()->PickedDay(), dec6);
        EXPECT_EQ(Stored().size(), 7u);  // nothing before a value is tapped
        ce::SendDlgItemMessage(History()->Dialog(), kCtlTempPicker, ce::LB_SETTOPINDEX, 62, 0);
      })
      .Wait(10)
      .Screenshot(ShotPath("temp-history.png"));
  PickValue(s, 66).Check([=] {
    EXPECT_EQ(Stored().size(), 8u);
    EXPECT_EQ(Stored().back(), std::make_pair(dec6, 66 * 0.1 + 30.0));
    EXPECT_FALSE(Shown(kCtlTempPicker));
    EXPECT_EQ(Items(kCtlTempList).back(), u"12/6/26   36.6\u00B0C");
    // The picker's going repaints what it covered, and nothing paints over the other controls:
    // the title white on blue, the others black on cyan, read near their bottom right corner.
    for (int id : {kCtlTitle, kCtlTempHeader, kCtlTempDelete, kCtlTempDeleteAll}) {
      const ce::RECT r = Shown(id)->rect;
      EXPECT_EQ(Scenario::PixelAt(r.right - 3, r.bottom - 3),
                id == kCtlTitle ? Rgb565(0, 0, 255) : Rgb565(0, 255, 255))
          << id;
    }
  });
  // Leaving the calendar without a day brings no picker.
  s.TapControl(kCtlTempAdd)
      .Tap(180, 14)
      .Check([] {
        ExpectView(kTempHistoryView);
        EXPECT_FALSE(History()->DatePicked());
        EXPECT_FALSE(Shown(kCtlTempPicker));
        // As Options would store it: still Celsius until the screen is opened again.
        Settings settings;
        ReadSettings(&settings);
        settings.scale = 2;
        ASSERT_TRUE(WriteSettings(settings));
        EXPECT_EQ(History()->Scale(), TemperatureScale::kCelsius);
      })
      .Menu(kCmdCycleView)
      .Menu(kCmdTempHistory)
      .Check([] { EXPECT_EQ(Items(kCtlTempList).front(), u"11/3/26   97.5\u00B0F"); });
  PickDay(s, 6);
  PickValue(s, 126).Check([=] {
    EXPECT_EQ(Stored().size(), 8u);
    EXPECT_EQ(Stored().back(), std::make_pair(dec6, FahrenheitToCelsius(126 * 0.1 + 86.0)));
    EXPECT_EQ(Items(kCtlTempList).back(), u"12/6/26   98.6\u00B0F");
  });
  // Cancel (command 2) goes back to the list screen shown before. The main loop hands no keys to
  // a modeless screen dialog, so the command is sent as the dialog manager would send it.
  s.Menu(kCmdCycleHistory)
      .Menu(kCmdTempHistory)
      .Check([] {
        ce::PostMessage(History()->Dialog(), ce::WM_COMMAND, ce::MAKEWPARAM(ce::IDCANCEL, 0), 0);
      })
      .Wait(10)
      .Check([] { ExpectView(kCycleHistoryView); });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
