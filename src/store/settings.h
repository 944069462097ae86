// The settings record: the one record of "Systems", six properties that are always written
// together, each with its declared type (LPWSTR, BOOL, BOOL, UI2, BOOL, BOOL). Start-up, the
// password screens, the options, the screens that read a setting and calvira-data all go through
// ReadSettings and WriteSettings, so that no caller can write the record back in another shape.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// The settings record's properties, by number.
enum SettingsProperty : uint32_t {
  kSettingPassword = 0,      // LPWSTR; empty = no password
  kSettingPasswordSet = 1,   // BOOL
  kSettingSpare = 2,         // BOOL, always 0
  kSettingScale = 3,         // UI2; 1 = Celsius, anything else Fahrenheit
  kSettingLogoDisabled = 4,  // BOOL
  kSettingShowMinMax = 5,    // BOOL
  kSettingCount = 6,
};

// The defaults are those of a first start.
struct Settings {
  // The password's Argon2id hash string (plain text in stores from before hashing); empty when
  // no password is set.
  std::u16string password;
  // 1 once a password was saved, 0 after it was removed. Nothing reads it; kept as stored.
  int16_t password_set = 0;
  // Unused, kept as stored.
  int16_t spare = 0;
  // 1 = Celsius; every other value counts as Fahrenheit.
  uint16_t scale = 1;
  bool logo_disabled = false;
  bool show_min_max = false;

  // The password, or its hash, does not stay behind in freed memory.
  ~Settings();
};

// Reads the settings record into *settings. Where the record holds a property twice (older
// versions wrote some back under another type), the one of the declared type counts. Returns
// false, with the defaults in *settings, when "Systems" or its record does not exist; shows no
// message either way.
bool ReadSettings(Settings* settings);

// Writes the six properties with their declared types over the first record of "Systems" (as a
// new record when it has none) and removes any other property of it. A password of 200
// characters or more is refused. True when the store took the write; otherwise the record is as
// it was and ce::GetLastError() says why (ERROR_DISK_FULL for a full disk).
bool WriteSettings(const Settings& settings);

// Writes the default record when "Systems" holds none, and rewrites a record that has other
// properties than the six or other types, keeping its values. True when "Systems" holds a record
// of the six properties afterwards.
bool EnsureSettingsRecord();

// The logo's setting of an encrypted store, kept readable beside it in the data directory (the
// one setting that is), so that the start can honour it before the password opens the store:
// a private empty file that is there when the logo is off.
bool LogoFlagDisabled(const std::filesystem::path& dir);
// Sets that file to `disabled`; WriteSettings does so for an encrypted store. False when the
// file could not be made or removed.
bool WriteLogoFlag(const std::filesystem::path& dir, bool disabled);
