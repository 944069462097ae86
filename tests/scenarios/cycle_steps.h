// What the scenarios of the cycle screens share: cycles stored as an earlier run left them, and
// reading back the store and the shown dialogs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cycles/cycle_records.h"
#include "platform/types.h"
#include "scenarios/scenario.h"

namespace calvira::testing {

DayNumber Day(uint16_t year, uint16_t month, uint16_t day);
// Written directly, the lengths as given, with nothing recalculated in the run about to start.
void StoreCycles(const std::vector<CycleRecord>& cycles);
void ExpectCycles(const std::vector<CycleRecord>& expected);
// Start and length of each stored cycle.
std::vector<std::pair<DayNumber, int32_t>> StoredCycles();
void ExpectView(int32_t id);
std::vector<std::u16string> ListLines(ce::HWND dialog, int id);
std::u16string Text(ce::HWND dialog, int id);
// Pixels that `text` takes in the control's own font.
int32_t TextWidth(ce::HWND control, const std::u16string& text);
// A field of the form whose modal loop runs now: it is the active window.
std::string Field(int id);
bool OkEnabled();
// Taps a date field of the screen `asker`, and does what the calendar that opens does when a day
// is tapped: the date goes to the screen that asked for it, and the program goes back there.
Scenario& PickDate(Scenario& s, int32_t asker, int field, DayNumber day);

}  // namespace calvira::testing
