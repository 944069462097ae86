// What `calvira-data check` looks for: SQLite's own integrity check, the store's shape (every
// database with its sort orders, the settings record), the rules the screens keep (one "Pill"
// and one temperature record a day, no empty "Pill" record, cycle lengths that are the distances
// between starts) and what would stop a screen (a text of 200 characters or more, a date the day
// numbers cannot show, a property of another type than the screens read).
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

struct Breach {
  std::string where;  // "Pill, 2026-01-05 (record 57)"
  std::string what;   // "a second record for the day"
  // The file is not a whole Calvira store (restore refuses it), not merely a record amiss.
  bool structural = false;
};

// Everything wrong with the mounted store, in the order found.
std::vector<Breach> CheckStore();

// Mends what can be mended without a guess, in one unit, and says what it changed: cuts texts
// of 200 characters or more to 199, removes empty "Pill" records and every record of a day but
// its first, and drops records whose date cannot be shown. False, with nothing changed, when the
// store refused.
bool RepairStore(std::vector<std::string>* changes);

// The property type's name as the dump writes it ("UI4").
const char* PropTypeName(ce::WORD type);
