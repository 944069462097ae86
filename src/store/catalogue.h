// The program's ten databases and the settings record of "Systems".
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

// The settings record's properties, by number.
enum SettingsProperty : uint32_t {
  kSettingPassword = 0,      // LPWSTR; empty = no password
  kSettingPasswordSet = 1,   // BOOL
  kSettingSpare = 2,         // BOOL, always 0
  kSettingScale = 3,         // UI2; 1 = Celsius, anything else Fahrenheit
  kSettingLogoDisabled = 4,  // BOOL
  kSettingShowMinMax = 5,    // BOOL
};

// Writes the default settings record ("", 0, 0, 1, 0, 0) as a new record of the open "Systems".
bool WriteDefaultSettingsRecord(CCeDatabase& systems);

// Opens "Systems" and writes the default settings record when it holds none. Returns true when a
// settings record exists afterwards.
bool EnsureSettingsRecord();
