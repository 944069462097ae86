// The "Pill" database: one record per day that has any entry, {0: the day (UI4), 1: bleeding
// level (I2: 0 none, 1 slight, 2 normal, 3 heavy), 2: pill taken (BOOL), 3: remark (string),
// 4: the pill's time text (string, empty without a pill)}, visited in ascending day order.
// Every screen reads and changes these records only through here. Each change is one unit: the
// store holds the old day or the new one, never half of it.
#pragma once

#include <span>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cycles/day_number.h"

// The most characters a remark or a time text keeps; the store takes no string of 200 or more.
inline constexpr size_t kPillTextLimit = 199;

struct PillDay {
  DayNumber day = 0;
  int16_t level = 0;
  bool pill = false;
  std::u16string remark;
  std::u16string time;

  bool operator==(const PillDay&) const = default;
};

// A day with no level, no pill and no remark is not kept: saving it removes its record.
bool IsEmptyEntry(const PillDay& entry);

// Every day with an entry, earliest first. A record short of properties reads the missing ones
// as empty.
std::vector<PillDay> ReadPillDays();

// The number of records, pill or not.
uint32_t PillRecordCount();

// The day's entry; none when the day has no record (or the database cannot be read).
std::optional<PillDay> LoadPillDay(DayNumber day);

// Stores the entry as its day's only record: over the day's record, or as a new one. The time
// text is stored only with a pill, and texts are cut to kPillTextLimit. An empty entry removes
// the day's record instead. False with nothing changed when the store refused.
bool SavePillDay(const PillDay& entry);

// Stores many entries as SavePillDay stores each (an empty entry removes its day's record), in
// one unit and one pass over the database, for an import. `replaced` counts the entries whose day
// had a record already. False with nothing changed when the store refused.
bool SavePillDays(std::span<const PillDay> entries, size_t* replaced);

// Removes the day's record. False when it has none or the store refused (nothing changed).
bool DeletePillDay(DayNumber day);

// Clears the pill and its time on the day, keeping the record with its level and remark even
// when both are empty. False when the day has no pill or the store refused.
bool ClearPill(DayNumber day);

// Clears every pill and time, all or none; levels and remarks stay. False with nothing changed
// when the store refused.
bool ClearAllPills();
