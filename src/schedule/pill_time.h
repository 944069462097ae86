// The pill time picker's rules: an hour tile, two minute digits, a half-day switch and a pair of
// arrows that step the focused field round. What the picker shows and what a tap does are plain
// functions of this state, so the screen only draws it.
#pragma once

#include <cstdint>
#include <string>

enum class TimeField { kHour, kTens, kUnits };

struct PillTime {
  int hour = 12;  // 1..12
  int tens = 0;   // 0..5
  int units = 0;  // 0..9
  bool pm = true;
  TimeField focus = TimeField::kHour;

  bool operator==(const PillTime&) const = default;
};

// Where each part sits in the picker's client area, in pixels.
struct PickerPlace {
  int32_t x, y;
};
inline constexpr PickerPlace kHourTile{5, 31};
inline constexpr PickerPlace kTensTile{61, 31};
inline constexpr PickerPlace kUnitsTile{96, 31};
inline constexpr PickerPlace kUpArrow{140, 25};
inline constexpr PickerPlace kDownArrow{140, 39};
inline constexpr PickerPlace kHalfSwitch{160, 31};

// Noon: what every opening shows, so that OK on an untouched picker gives "12:00".
PillTime PickerStart();

// The state after a pen-down at (x, y). Every zone is tested in turn on the state the ones
// before left; a point on no zone changes nothing.
PillTime TapPicker(PillTime time, int32_t x, int32_t y);

// The keyboard's way: each key taps where the pen would. Up and Down are the arrows, Left and
// Right the tile before or after the focused one, A and P the half-day switch.
enum class PickerKey { kUp, kDown, kLeft, kRight, kAm, kPm };
PillTime KeyPicker(PillTime time, PickerKey key);

// The time as the editor's button shows it and the record keeps it, on the 24-hour clock: "0:30"
// for half past midnight, "12:30" for half past noon, "19:05".
std::u16string PickerText(const PillTime& time);
