// What Cycle History shows and does: one line per cycle, padded so that in the fixed-pitch list
// the lengths form a column, the average under the list, and deleting cycles from the store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cycles/cycle_records.h"

// The date column is 16 characters wide, so every length starts in column 17.
inline constexpr size_t kHistoryDateColumn = 16;

// One list line: the date text padded with blanks to 16 characters, then the cycle length in
// decimal, or "N/A" for the newest cycle, whose length is settled only by the next one.
std::u16string HistoryLine(std::u16string_view date_text, int32_t cycle_length, bool newest);

// The lines of all cycles, oldest first, the newest ending in "N/A".
std::vector<std::u16string> HistoryLines(std::span<const CycleRecord> cycles);

// The average field: "N/A" below two cycles, otherwise the newest cycle's stored length. Every
// recalculation stores the average there (or 28 when no length is valid), so the field is right
// from the first look after a start, before anything has been recalculated in this run.
std::u16string HistoryAverageText(std::span<const CycleRecord> cycles);

// Deletes the cycle at `position` (0 = the oldest) and, when two or more cycles remain,
// recalculates them, all as one unit: the remaining cycles never contradict each other. False
// with nothing changed when there is no such cycle or the store refused.
bool DeleteCycleAt(size_t position);

// Deletes every cycle, all or none. False with nothing changed when the store refused.
bool DeleteAllCycles();
