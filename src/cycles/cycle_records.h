// The "Cycles" database: one record per cycle, {0: start (UI4), 1: period length (I4), 2: cycle
// length (I4)}, visited in ascending order of start. Every operation opens the database, works
// and closes it again.
//
// After every recalculation, property 2 holds each cycle's real length (the next start minus its
// own) and, for the newest cycle, the average of the older cycles' valid lengths, or 28 when none
// is valid. A lone cycle keeps the presumed length it was entered with.
#pragma once

#include <cstdint>
#include <vector>

#include "cycles/cycle_math.h"
#include "cycles/day_number.h"

struct CycleRecord {
  DayNumber start = 0;
  int32_t periodLength = 0;
  int32_t cycleLength = 0;
};

// The average computed by the latest RecalculateCycles of this run; 0 before the first.
extern int32_t AverageCycleLength;

// Every cycle, oldest start first.
std::vector<CycleRecord> ReadCycles();

// The number of stored cycles.
uint32_t CycleCount();

enum class AddCycleResult {
  kAdded,
  kDuplicate,    // a cycle with this start exists: "Cycle already exists" was shown
  kWriteFailed,  // the store refused the record (its report was shown); nothing changed
};

// Adds a cycle unless its start is already stored, then recalculates when there are two or more.
AddCycleResult AddCycle(DayNumber start, int32_t periodLength, int32_t cycleLength);

// Rewrites every cycle's length and the average; does nothing with fewer than two cycles.
// All records change together or none does. Returns false when the store refused the writes.
bool RecalculateCycles();

// The smallest and largest stored property 2, the newest cycle included. False (outputs
// untouched) when no cycle is stored.
bool CycleLengthRange(int32_t& min, int32_t& max);

// Writes the three properties of a cycle with their declared types over the current record of
// `db`, or as a new record. For screens that edit a cycle in place.
class CCeDatabase;
bool WriteCycleRecord(CCeDatabase& db, const CycleRecord& cycle, bool asNew);
