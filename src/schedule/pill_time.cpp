#include "schedule/pill_time.h"

namespace {

bool Within(int32_t v, int32_t low, int32_t high) {
  return v >= low && v <= high;
}

int Step(int value, int low, int high, int by) {
  if (value + by > high) return low;
  if (value + by < low) return high;
  return value + by;
}

void StepFocused(PillTime& time, int by) {
  switch (time.focus) {
    case TimeField::kHour:
      time.hour = Step(time.hour, 1, 12, by);
      break;
    case TimeField::kTens:
      time.tens = Step(time.tens, 0, 5, by);
      break;
    case TimeField::kUnits:
      time.units = Step(time.units, 0, 9, by);
      break;
  }
}

}  // namespace

PillTime PickerStart() {
  return PillTime{};
}

PillTime TapPicker(PillTime time, int32_t x, int32_t y) {
  // The zones' edges are shared (x 195 is both halves, y 39 both arrows): each test runs on
  // what the ones before left, so the later zone wins on the switch and an arrow tap on the
  // seam steps up and down again.
  const bool tile_row = Within(y, 31, 48);
  if (tile_row && Within(x, 160, 195)) time.pm = false;
  if (tile_row && Within(x, 195, 230)) time.pm = true;
  if (tile_row && Within(x, 5, 40)) time.focus = TimeField::kHour;
  if (tile_row && Within(x, 61, 96)) time.focus = TimeField::kTens;
  if (tile_row && Within(x, 96, 131)) time.focus = TimeField::kUnits;
  if (Within(x, 140, 154) && Within(y, 25, 39)) StepFocused(time, +1);
  if (Within(x, 140, 154) && Within(y, 39, 53)) StepFocused(time, -1);
  return time;
}

PillTime KeyPicker(PillTime time, PickerKey key) {
  // The middle of each zone, tiles by field order.
  constexpr int32_t kTileX[] = {20, 75, 110};
  constexpr int32_t kTileY = 40;
  const int focus = static_cast<int>(time.focus);
  switch (key) {
    case PickerKey::kUp:
      return TapPicker(time, 147, 30);
    case PickerKey::kDown:
      return TapPicker(time, 147, 45);
    case PickerKey::kLeft:
      return focus > 0 ? TapPicker(time, kTileX[focus - 1], kTileY) : time;
    case PickerKey::kRight:
      return focus < 2 ? TapPicker(time, kTileX[focus + 1], kTileY) : time;
    case PickerKey::kAm:
      return TapPicker(time, 175, kTileY);
    case PickerKey::kPm:
      return TapPicker(time, 215, kTileY);
  }
  return time;
}

std::u16string PickerText(const PillTime& time) {
  int hour = time.hour % 12;  // 12 AM is midnight, 0
  if (time.pm) hour += 12;    // 12 PM stays noon, 12
  std::u16string text;
  if (hour >= 10) text += static_cast<char16_t>(u'0' + hour / 10);
  text += static_cast<char16_t>(u'0' + hour % 10);
  text += u':';
  text += static_cast<char16_t>(u'0' + time.tens);
  text += static_cast<char16_t>(u'0' + time.units);
  return text;
}
