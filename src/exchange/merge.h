// Brings checked records into the store by the program's own rules, all in one unit: a day that
// has a record already gets the imported one over it (the store keeps one per day), a cycle
// whose start is stored already keeps the stored one, and the cycles' lengths are worked out
// once at the end.
#pragma once

#include <cstddef>
#include <functional>

#include "exchange/records.h"

struct MergeCounts {
  size_t added = 0;
  size_t replaced = 0;
  size_t kept = 0;  // stored already and left as they were
};

struct MergeSummary {
  MergeCounts cycles, temperatures, days, notes;
  bool settings_changed = false;
};

// Called as the work goes on, with how many of the records are done.
using Progress = std::function<void(size_t done, size_t total)>;

// False, with nothing changed and ce::GetLastError() saying why, when the store refused.
bool MergeRecords(const Records& records, MergeSummary* summary, const Progress& progress = {});
