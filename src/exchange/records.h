// Everything of hers that leaves the store as a whole or comes into it: what an export writes and
// an import reads. The password, and its hash, never travel.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cycles/cycle_records.h"
#include "diary/diary_records.h"
#include "schedule/pill_records.h"
#include "temperature/temperature_records.h"

// The three settings of the Options screen.
struct OptionsSettings {
  bool celsius = true;
  bool show_logo = true;
  bool show_min_max = false;
  bool operator==(const OptionsSettings&) const = default;
};

struct CategoryNote {
  size_t category = 0;  // index into DiaryCategories()
  DiaryNote note;
};

struct Records {
  std::vector<CycleRecord> cycles;               // oldest start first
  std::vector<TemperatureReading> temperatures;  // earliest day first
  std::vector<PillDay> days;                     // earliest day first; no empty entry
  std::vector<CategoryNote> notes;               // by category, then day
  std::optional<OptionsSettings> settings;       // an import without them leaves them be

  size_t Count() const { return cycles.size() + temperatures.size() + days.size() + notes.size(); }
};

// Reads every record, all from one snapshot of the store even while the program writes. False,
// with `error` saying why, when the store cannot be read.
bool ReadAllRecords(Records* out, std::string* error);
