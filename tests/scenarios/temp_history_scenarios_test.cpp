// Temp History as a user meets it: a reading added for a day picked on the calendar and a value
// tapped in the picker, a second one for the same day, the padded rows, deleting one or all, and
// the scale of the settings.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "frame/document.h"
#include "frame/frame_fonts.h"
#include "platform/dialog.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "store/settings.h"
#include "temperature/temp_history_view.h"
#include "temperature/temperature_records.h"
#include "temperature/temperature_scale.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

CTempHistoryView* History() {
  return static_cast<CTempHistoryView*>(CDocument_::FindView(kTempHistoryView));
}

ce::HWND HistoryDialog() {
  return History()->Dialog();
}

bool Visible(int id) {
  return ce::IsWindowVisible(ce::GetDlgItem(HistoryDialog(), id)) != ce::FALSE;
}

ce::LRESULT Selected(int id) {
  return ce::SendDlgItemMessage(HistoryDialog(), id, ce::LB_GETCURSEL, 0, 0);
}

void ExpectControlsShown() {
  ExpectPainted({kCtlTitle, kCtlTempHeader, kCtlTempDelete, kCtlTempDeleteAll});
}

// A store as an earlier run left it: the settings with the given scale and these readings.
void StoreReadings(uint16_t scale, const std::vector<std::pair<DayNumber, double>>& readings) {
  Settings settings = LogoOff();
  settings.scale = scale;
  StoreSettings(settings);
  for (auto [day, celsius] : readings) ASSERT_TRUE(SaveTemperature(day, celsius));
}

std::vector<std::pair<DayNumber, double>> Stored() {
  std::vector<std::pair<DayNumber, double>> out;
  for (const TemperatureReading& r : ReadTemperatures()) out.emplace_back(r.day, r.celsius);
  return out;
}

// Add, a day tapped on the real calendar, back on Temp History with the picker open.
Scenario& PickDay(Scenario& s, int day) {
  const ce::POINT cell = DecemberCell(day);
  return s.TapControl(kCtlTempAdd)
      .Check([] {
        ExpectView(kScheduleView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kTempHistoryView);
      })
      .Tap(cell.x, cell.y)
      .Check([] {
        ExpectView(kTempHistoryView);
        EXPECT_TRUE(History()->DatePicked());
        EXPECT_TRUE(Visible(kCtlTempPicker));
      });
}

// Scrolls the picker to the row, as the scroll bar would, and taps it.
Scenario& PickValue(Scenario& s, int row) {
  return s
      .Check([row] {
        ce::SendDlgItemMessage(HistoryDialog(), kCtlTempPicker, ce::LB_SETTOPINDEX,
                               static_cast<ce::WPARAM>(row), 0);
      })
      .TapControlAt(kCtlTempPicker, 10, 5);
}

const DayNumber kDec24 = Day(2026, 12, 24);

TEST(TempHistory, AReadingForAPickedDayAndASecondOneReplacingIt) {
  Scenario s("temperature added");
  s.Before([] { StoreReadings(1, {}); });
  s.Menu(kCmdTempHistory).Check([] {
    ExpectView(kTempHistoryView);
    EXPECT_TRUE(ListLines(HistoryDialog(), kCtlTempList).empty());
    EXPECT_FALSE(Visible(kCtlTempPicker));
    EXPECT_TRUE(Visible(kCtlTempCelsius));
    EXPECT_FALSE(Visible(kCtlTempFahrenheit));
  });
  PickDay(s, 24).Check([] {
    EXPECT_EQ(History()->PickedDay(), kDec24);
    const std::vector<std::u16string> rows = ListLines(HistoryDialog(), kCtlTempPicker);
    ASSERT_EQ(rows.size(), 120u);
    EXPECT_EQ(rows.front(), u"30.0 \u00B0C");
    EXPECT_TRUE(Stored().empty());  // nothing before a value is tapped
  });
  PickValue(s, 66).Check([] {
    EXPECT_EQ(Stored(), (std::vector<std::pair<DayNumber, double>>{{kDec24, 66 * 0.1 + 30.0}}));
    EXPECT_FALSE(Visible(kCtlTempPicker));
    EXPECT_EQ(ListLines(HistoryDialog(), kCtlTempList),
              std::vector<std::u16string>{u"12/24/26  36.6\u00B0C"});
    // The picker's going repaints what it covered, and nothing paints over the other controls.
    ExpectControlsShown();
  });
  // The same day again: its reading is replaced, the list keeps one row.
  PickDay(s, 24);
  PickValue(s, 71).Check([] {
    EXPECT_EQ(Stored(), (std::vector<std::pair<DayNumber, double>>{{kDec24, 71 * 0.1 + 30.0}}));
    EXPECT_EQ(ListLines(HistoryDialog(), kCtlTempList),
              std::vector<std::u16string>{u"12/24/26  37.1\u00B0C"});
  });
  // Leaving the calendar without a day brings no picker.
  s.TapControl(kCtlTempAdd).Tap(180, 14).Check([] {
    ExpectView(kTempHistoryView);
    EXPECT_FALSE(History()->DatePicked());
    EXPECT_FALSE(Visible(kCtlTempPicker));
  });
  s.RunCleanly();
}

TEST(TempHistory, DeleteAsksForASelectionThenForConfirmationAndDeleteAllEmptiesTheList) {
  const DayNumber jan5 = Day(2003, 1, 5), jan6 = Day(2003, 1, 6), jan7 = Day(2003, 1, 7);
  Scenario s("temperature delete");
  s.Before([=] { StoreReadings(1, {{jan5, 36.5}, {jan6, 36.6}, {jan7, 36.7}}); });
  s.Menu(kCmdTempHistory)
      .TapControl(kCtlTempDelete)
      .ExpectBox(u"Calvira", u"Please,select a temperature to delete", ce::IDOK)
      .TapControlAt(kCtlTempList, 20, 24)  // the second row
      .Check([] { ASSERT_EQ(Selected(kCtlTempList), 1); })
      .TapControl(kCtlTempDelete)
      .ExpectBox(u"Calvira", u"Delete selected temperature?", ce::IDCANCEL)
      .Check([] { EXPECT_EQ(Stored().size(), 3u); })
      .TapControl(kCtlTempDelete)
      .ExpectBox(u"Calvira", u"Delete selected temperature?", ce::IDOK)
      .Check([=] {
        EXPECT_EQ(Stored(),
                  (std::vector<std::pair<DayNumber, double>>{{jan5, 36.5}, {jan7, 36.7}}));
        EXPECT_EQ(
            ListLines(HistoryDialog(), kCtlTempList),
            (std::vector<std::u16string>{u"1/5/03    36.5\u00B0C", u"1/7/03    36.7\u00B0C"}));
      })
      .TapControl(kCtlTempDeleteAll)
      .ExpectBox(u"Calvira", u"Delete all temperatures?", ce::IDCANCEL)
      .Check([] {
        EXPECT_EQ(Stored().size(), 2u);
        EXPECT_EQ(ListLines(HistoryDialog(), kCtlTempList).size(), 2u);
      })
      .TapControl(kCtlTempDeleteAll)
      .ExpectBox(u"Calvira", u"Delete all temperatures?", ce::IDOK)
      .Check([] {
        EXPECT_EQ(TemperatureCount(), 0u);
        EXPECT_TRUE(ListLines(HistoryDialog(), kCtlTempList).empty());
      })
      // With nothing stored, neither button asks anything, selection or not.
      .TapControl(kCtlTempDelete)
      .TapControl(kCtlTempDeleteAll)
      // And the chart's command shows its help instead of a chart.
      .Menu(kCmdTempCharts)
      .Check([] { ExpectView(kHelpView); });
  s.RunCleanly();
}

TEST(TempHistory, TheScaleChangesTheRowsButNotTheStoredValues) {
  const DayNumber jan5 = Day(2003, 1, 5);
  Scenario s("temperature scale");
  s.Before([=] { StoreReadings(1, {{jan5, 37.0}}); });
  s.Menu(kCmdTempHistory)
      .Check([] {
        EXPECT_EQ(ListLines(HistoryDialog(), kCtlTempList),
                  std::vector<std::u16string>{u"1/5/03    37.0\u00B0C"});
        // As Options would store it.
        Settings settings;
        ReadSettings(&settings);
        settings.scale = 2;
        ASSERT_TRUE(WriteSettings(settings));
      })
      // Still Celsius until the screen is opened again.
      .Check([] { EXPECT_EQ(History()->Scale(), TemperatureScale::kCelsius); })
      .Menu(kCmdCycleView)
      .Menu(kCmdTempHistory)
      .Check([=] {
        EXPECT_EQ(ListLines(HistoryDialog(), kCtlTempList),
                  std::vector<std::u16string>{u"1/5/03    98.6\u00B0F"});
        EXPECT_FALSE(Visible(kCtlTempCelsius));
        EXPECT_TRUE(Visible(kCtlTempFahrenheit));
        EXPECT_EQ(Stored(), (std::vector<std::pair<DayNumber, double>>{{jan5, 37.0}}));
      });
  // A Fahrenheit value is stored in Celsius and shows as the row that was tapped.
  PickDay(s, 24).Check([] {
    const std::vector<std::u16string> rows = ListLines(HistoryDialog(), kCtlTempPicker);
    ASSERT_EQ(rows.size(), 217u);
    EXPECT_EQ(rows[126], u"98.6 \u00B0F");
  });
  PickValue(s, 126).Check([=] {
    EXPECT_EQ(Stored(), (std::vector<std::pair<DayNumber, double>>{
                            {jan5, 37.0}, {kDec24, FahrenheitToCelsius(126 * 0.1 + 86.0)}}));
    EXPECT_EQ(ListLines(HistoryDialog(), kCtlTempList),
              (std::vector<std::u16string>{u"1/5/03    98.6\u00B0F", u"12/24/26  98.6\u00B0F"}));
  });
  // Cancel (command 2) goes back to the list screen shown before. The main loop hands no keys to
  // a modeless screen dialog, so the command is sent as the dialog manager would send it.
  s.Menu(kCmdCycleHistory)
      .Menu(kCmdTempHistory)
      .Check([] {
        ce::PostMessage(HistoryDialog(), ce::WM_COMMAND, ce::MAKEWPARAM(ce::IDCANCEL, 0), 0);
      })
      .Wait(10)
      .Check([] {
        ExpectView(kCycleHistoryView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kTempHistoryView);
      });
  s.RunCleanly();
}

TEST(TempHistory, Screenshot) {
  Scenario s("temperature screenshot");
  s.Before([] {
    StoreReadings(1, {{Day(2026, 11, 3), 36.4},
                      {Day(2026, 11, 17), 36.5},
                      {Day(2026, 11, 18), 36.9},
                      {Day(2026, 11, 19), 37.0},
                      {Day(2026, 12, 1), 36.3},
                      {Day(2026, 12, 2), 36.4},
                      {Day(2026, 12, 5), 36.6}});
  });
  // The rows in the order of the days, in the fixed-pitch font; the title in the caption font,
  // placed at the dialog's 7/4 scale. The padding of each date length is the rows' own table.
  s.Menu(kCmdTempHistory).Check([] {
    EXPECT_EQ(ListLines(HistoryDialog(), kCtlTempList),
              (std::vector<std::u16string>{u"11/3/26   36.4\u00B0C", u"11/17/26  36.5\u00B0C",
                                           u"11/18/26  36.9\u00B0C", u"11/19/26  37.0\u00B0C",
                                           u"12/1/26   36.3\u00B0C", u"12/2/26   36.4\u00B0C",
                                           u"12/5/26   36.6\u00B0C"}));
    EXPECT_EQ(reinterpret_cast<ce::HFONT>(
                  ce::SendDlgItemMessage(HistoryDialog(), kCtlTempList, ce::WM_GETFONT, 0, 0)),
              FixedFont());
    EXPECT_EQ(reinterpret_cast<ce::HFONT>(
                  ce::SendDlgItemMessage(HistoryDialog(), kCtlTitle, ce::WM_GETFONT, 0, 0)),
              CaptionFont());
    EXPECT_EQ(Shown(kCtlTitle)->rect.left, 42 * 7 / 4);
    EXPECT_EQ(Shown(kCtlTempDelete)->rect.top, 130 * 7 / 4);
    ExpectControlsShown();
  });
  PickDay(s, 6)
      .Check([] {
        ce::SendDlgItemMessage(HistoryDialog(), kCtlTempPicker, ce::LB_SETTOPINDEX, 62, 0);
      })
      .Wait(10)
      .Screenshot(ShotPath("temp-history.png"));
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
