// What the scenarios share: the script and the program's headers every scenario reads, stores as
// an earlier run left them, the calendar's cells, and reading back the store and the shown
// dialogs.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cycles/cycle_records.h"
#include "frame/document.h"
#include "platform/dialog.h"
#include "platform/text.h"
#include "platform/types.h"
#include "platform/window_tree.h"
#include "scenarios/scenario.h"
#include "schedule/pill_records.h"
#include "store/settings.h"
#include "support/days.h"
#include "support/input.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace calvira::testing {

// Settings as the program writes them, with the logo off to spare its two seconds.
Settings LogoOff();
// A store with its databases and these settings.
void StoreSettings(const Settings& settings);
// The same with the password "Secret": the program starts at its prompt.
void StoreLocked();
// The middle of a day's cell on the calendar as it opens on the scenarios' today, December 2026.
ce::POINT DecemberCell(int day);
inline Scenario& TapDay(Scenario& s, int day) {
  return s.Tap(DecemberCell(day).x, DecemberCell(day).y);
}
// A day of December 2026 as the day entry editor stores it.
PillDay Entry(int day, int16_t level, bool pill, std::u16string remark, std::u16string time);
// The topmost visible window with this control id, as `calvira --inspect` describes it.
std::optional<ce::WindowInfo> Shown(int id);
// Written directly, the lengths as given, with nothing recalculated in the run about to start.
void StoreCycles(const std::vector<CycleRecord>& cycles);
// 1 January, 2 February and 28 February 2003: first-day ticks that tell the cycles apart on the
// Cycle View, 32 days (8 pixels a day), 26 (10) and 29 (9); the middle period is 6, not 5.
inline const std::vector<CycleRecord> kThreeCycles = {
    {293232, 5, 32}, {293264, 6, 26}, {293290, 5, 29}};
void ExpectCycles(const std::vector<CycleRecord>& expected);
inline void ExpectView(int32_t id) {
  EXPECT_EQ(CDocument_::GetCurrentView(), id);
}
// Every record of every database, in the store's order, as one text: "unchanged" to the value.
std::string StoreContents();
// The lines of the topmost visible list or combo box with this id.
inline std::vector<std::u16string> Items(int id) {
  const std::optional<ce::WindowInfo> w = Shown(id);
  return w && w->items ? *w->items : std::vector<std::u16string>{};
}
// A store as an earlier run left it: the settings with the given scale (1 = Celsius) and these
// readings.
void StoreReadings(uint16_t scale, const std::vector<std::pair<DayNumber, double>>& readings);
// A field of the form whose modal loop runs now: it is the active window.
inline std::string Field(int id) {
  return ce::ToUtf8(ce::GetWindowString(ce::GetDlgItem(ce::GetActiveWindow(), id)));
}
inline bool OkEnabled() {
  return ce::IsWindowEnabled(ce::GetDlgItem(ce::GetActiveWindow(), ce::IDOK)) != ce::FALSE;
}
// Picks line `index` of a combo box as a user does: the list opened with a tap, the highlight
// moved down from the first line, Enter.
Scenario& PickItem(Scenario& s, int combo, int index);
// Taps the field, empties it with the keyboard (`End`, then Backspace as often as the field can
// hold) and types `text` into it.
Scenario& Refill(Scenario& s, int id, const std::u16string& text);
// Taps a date field of the screen `asker`, and does what the calendar that opens does when a day
// is tapped: the date goes to the screen that asked for it, and the program goes back there.
Scenario& PickDate(Scenario& s, int32_t asker, int field, DayNumber day);

}  // namespace calvira::testing
