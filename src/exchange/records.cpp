#include "exchange/records.h"

#include "platform/object_store.h"
#include "platform/text.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/settings.h"

bool ReadAllRecords(Records* out, std::string* error) {
  ce::objectstore::ReadSnapshot snapshot;
  if (!snapshot.ok()) {
    *error = "cannot read the store";
    return false;
  }
  // The subsystems read a database that is missing as an empty one; an export must not pass
  // off a damaged store as an empty history.
  for (const CatalogueEntry& entry : DatabaseCatalogue()) {
    CCeDatabase db;
    if (!db.Open(entry.name, 0)) {
      *error = "the store has no database \"" + ce::ToUtf8(entry.name) +
               "\" (run 'calvira-data init' or 'calvira-data check')";
      return false;
    }
    db.Close();
  }
  out->cycles = ReadCycles();
  out->temperatures = ReadTemperatures();
  out->days.clear();
  for (PillDay& day : ReadPillDays()) {
    // An empty entry is no entry: the program shows and keeps nothing for it.
    if (!IsEmptyEntry(day)) out->days.push_back(std::move(day));
  }
  out->notes.clear();
  for (size_t c = 0; c < kDiaryCategoryCount; ++c) {
    for (DiaryNote& note : ReadNotes(c)) out->notes.push_back({c, std::move(note)});
  }
  Settings settings;
  if (!ReadSettings(&settings)) {
    *error = "the store has no settings record (run 'calvira-data init')";
    return false;
  }
  out->settings =
      OptionsSettings{settings.scale == 1, !settings.logo_disabled, settings.show_min_max};
  return true;
}
