// The three settings the Options screen edits, as it shows them, and how they go back into the
// settings record.
#pragma once

#include <cstdint>

#include "store/settings.h"

// The scale the screen can show: one of the pair is always ticked.
inline constexpr uint16_t kScaleCelsius = 1;
inline constexpr uint16_t kScaleFahrenheit = 2;

struct OptionsChoice {
  uint16_t scale = kScaleCelsius;  // kScaleCelsius or kScaleFahrenheit, nothing else
  bool logo_disabled = false;
  bool show_min_max = false;
};

// What the screen shows for a stored record: every scale other than Celsius is Fahrenheit.
OptionsChoice OptionsFromSettings(const Settings& settings);

// The record to write: `read` as it was read, with the three settings of `choice`. The password
// and the two booleans before the scale stay exactly as read.
Settings ApplyOptions(const Settings& read, const OptionsChoice& choice);
