// The program's ten databases (the settings record of "Systems" is settings.h's).
#pragma once

#include <cstdint>
#include <span>

#include "platform/object_store.h"
#include "store/ce_database.h"

inline constexpr ce::DWORD kDatabaseTypeId = 0x5A513539;

struct CatalogueEntry {
  const char16_t* name;
  ce::CEPROPID sort1;
  ce::CEPROPID sort2;
};

// In order of creation.
std::span<const CatalogueEntry> DatabaseCatalogue();

// Creates every database of the catalogue that does not exist yet; existing ones are left
// untouched. Run at every start.
void CreateCatalogue();
