// Temp History as a user meets it: a reading added for a day picked on the calendar and a value
// tapped in the picker, a second one for the same day, the padded rows, deleting one or all, and
// the scale of the settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "frame/document.h"
#include "frame/frame_fonts.h"
#include "platform/dialog.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "schedule/calendar.h"
#include "store/catalogue.h"
#include "store/settings.h"
#include "support/temp_store.h"
#include "temperature/temp_history_view.h"
#include "temperature/temperature_records.h"
#include "temperature/temperature_scale.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

// The scenarios' today is 6 December 2026: the calendar opens on that month.
const MonthGrid kDecember = LayOutMonth(2026, 12, {0, 70, 240, 268});

ce::POINT CellMiddle(int day) {
  const ce::RECT& c = kDecember.cells[static_cast<size_t>(day - 1)];
  return {(c.left + c.right) / 2, (c.top + c.bottom) / 2};
}

CTempHistoryView* History() {
  return static_cast<CTempHistoryView*>(CDocument_::FindView(kTempHistoryView));
}

ce::HWND HistoryDialog() {
  return History()->Dialog();
}

bool Shown(int id) {
  return ce::IsWindowVisible(ce::GetDlgItem(HistoryDialog(), id)) != ce::FALSE;
}

ce::LRESULT Selected(int id) {
  return ce::SendDlgItemMessage(HistoryDialog(), id, ce::LB_GETCURSEL, 0, 0);
}

// The title blue, the header and the buttons cyan on the screen: painted, not painted over.
void ExpectControlsShown() {
  for (int id : {kCtlTitle, kCtlTempHeader, kCtlTempDelete, kCtlTempDeleteAll}) {
    ce::RECT r{};
    ce::GetWindowRect(ce::GetDlgItem(HistoryDialog(), id), &r);
    // Away from the text: the labels' texts fill them from the left.
    EXPECT_EQ(Scenario::PixelAt(r.right - 3, r.bottom - 3),
              id == kCtlTitle ? Rgb565(0, 0, 255) : Rgb565(0, 255, 255))
        << id;
  }
}

// A store as an earlier run left it: the settings with the given scale and these readings.
void StoreReadings(uint16_t scale, const std::vector<std::pair<DayNumber, double>>& readings) {
  CreateCatalogue();
  Settings settings;
  settings.logo_disabled = true;
  settings.scale = scale;
  ASSERT_TRUE(WriteSettings(settings));
  for (auto [day, celsius] : readings) ASSERT_TRUE(SaveTemperature(day, celsius));
}

std::vector<std::pair<DayNumber, double>> Stored() {
  std::vector<std::pair<DayNumber, double>> out;
  for (const TemperatureReading& r : ReadTemperatures()) out.emplace_back(r.day, r.celsius);
  return out;
}

// Add, a day tapped on the real calendar, back on Temp History with the picker open.
Scenario& PickDay(Scenario& s, int day) {
  const ce::POINT cell = CellMiddle(day);
  return s.TapControl(kCtlTempAdd)
      .Check([] {
        ExpectView(kScheduleView);
        EXPECT_EQ(CDocument_::GetPreviousView(), kTempHistoryView);
      })
      .Tap(cell.x, cell.y)
      .Check([] {
        ExpectView(kTempHistoryView);
        EXPECT_TRUE(History()->DatePicked());
        EXPECT_TRUE(Shown(kCtlTempPicker));
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
    EXPECT_FALSE(Shown(kCtlTempPicker));
    EXPECT_TRUE(Shown(kCtlTempCelsius));
    EXPECT_FALSE(Shown(kCtlTempFahrenheit));
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
    EXPECT_FALSE(Shown(kCtlTempPicker));
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
    EXPECT_FALSE(Shown(kCtlTempPicker));
  });
  s.RunCleanly();
}

TEST(TempHistory, RowsLineUpForDatesOfSixSevenAndEightCharacters) {
  Scenario s("temperature rows");
  s.Before([] {
    StoreReadings(1,
                  {{Day(2003, 11, 20), 36.6}, {Day(2003, 1, 5), 36.6}, {Day(2003, 11, 5), 37.25}});
  });
  s.Menu(kCmdTempHistory).Check([] {
    EXPECT_EQ(ListLines(HistoryDialog(), kCtlTempList),
              (std::vector<std::u16string>{u"1/5/03    36.6\u00B0C", u"11/5/03   37.2\u00B0C",
                                           u"11/20/03  36.6\u00B0C"}));
    EXPECT_EQ(reinterpret_cast<ce::HFONT>(
                  ce::SendDlgItemMessage(HistoryDialog(), kCtlTempList, ce::WM_GETFONT, 0, 0)),
              FixedFont());
    EXPECT_EQ(reinterpret_cast<ce::HFONT>(
                  ce::SendDlgItemMessage(HistoryDialog(), kCtlTitle, ce::WM_GETFONT, 0, 0)),
              CaptionFont());
    // Placed at the dialog's 7/4 scale, the title white on blue, the buttons black on cyan.
    ce::RECT title{}, remove{};
    ce::GetWindowRect(ce::GetDlgItem(HistoryDialog(), kCtlTitle), &title);
    ce::GetWindowRect(ce::GetDlgItem(HistoryDialog(), kCtlTempDelete), &remove);
    EXPECT_EQ(title.left, 42 * 7 / 4);
    EXPECT_EQ(remove.top, 130 * 7 / 4);
    ExpectControlsShown();
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
        EXPECT_FALSE(Shown(kCtlTempCelsius));
        EXPECT_TRUE(Shown(kCtlTempFahrenheit));
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
  s.RunCleanly();
}

// Cancel (command 2) goes back to the list screen shown before. The main loop hands no keys to
// a modeless screen dialog, so the command is sent as the dialog manager would send it.
TEST(TempHistory, CancelGoesBackToTheListScreenBefore) {
  Scenario s("temperature back");
  s.Before([] { StoreReadings(1, {}); });
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
  s.Menu(kCmdTempHistory);
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
