// The pill time picker: what each tap does to the state, and the time text it gives.
#include "schedule/pill_time.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct Point {
  int32_t x, y;
};

PillTime Tapped(const std::vector<Point>& taps, PillTime time = PickerStart()) {
  for (const Point& p : taps) time = TapPicker(time, p.x, p.y);
  return time;
}

constexpr Point kHour{20, 40}, kTens{70, 40}, kUnits{110, 40}, kUp{147, 30}, kDown{147, 45},
    kAm{170, 40}, kPm{220, 40};

TEST(PillTimePicker, TapsChangeTheStateAsTheZonesSay) {
  using F = TimeField;
  const std::tuple<const char*, std::vector<Point>, PillTime> cases[] = {
      {"noon at the start", {}, {12, 0, 0, true, F::kHour}},
      {"hour wraps up from 12 to 1", {kUp}, {1, 0, 0, true, F::kHour}},
      {"hour wraps down from 1 to 12", {kUp, kDown}, {12, 0, 0, true, F::kHour}},
      {"tens wraps down from 0 to 5", {kTens, kDown}, {12, 5, 0, true, F::kTens}},
      {"tens wraps up from 5 to 0", {kTens, kDown, kUp}, {12, 0, 0, true, F::kTens}},
      {"units wraps down from 0 to 9", {kUnits, kDown}, {12, 0, 9, true, F::kUnits}},
      {"units wraps up from 9 to 0", {kUnits, kDown, kUp}, {12, 0, 0, true, F::kUnits}},
      {"AM half", {kAm}, {12, 0, 0, false, F::kHour}},
      {"AM then PM", {kAm, kPm}, {12, 0, 0, true, F::kHour}},
      // Shared edges: the later zone wins, so x 195 is PM, x 96 the units, and y 39 steps up
      // and down again.
      {"x 195 on the switch", {kAm, {195, 40}}, {12, 0, 0, true, F::kHour}},
      {"x 96 on the tiles", {{96, 40}}, {12, 0, 0, true, F::kUnits}},
      {"y 39 on the arrows", {{147, 39}}, {12, 0, 0, true, F::kHour}},
      // Outside every zone: nothing moves.
      {"between the tiles", {{50, 40}}, {12, 0, 0, true, F::kHour}},
      {"above the tiles", {{20, 30}}, {12, 0, 0, true, F::kHour}},
      {"right of the switch", {{231, 40}}, {12, 0, 0, true, F::kHour}},
      {"below the arrows", {{147, 54}}, {12, 0, 0, true, F::kHour}},
  };
  for (const auto& [name, taps, expected] : cases) EXPECT_EQ(Tapped(taps), expected) << name;
}

TEST(PillTimePicker, TheTextIsOnTheTwentyFourHourClock) {
  const std::pair<PillTime, const char16_t*> cases[] = {
      {{12, 0, 0, true, TimeField::kHour}, u"12:00"},  // untouched: the editor's own default
      {{7, 0, 5, false, TimeField::kHour}, u"7:05"},
      {{7, 0, 5, true, TimeField::kHour}, u"19:05"},
      {{12, 3, 0, false, TimeField::kHour}, u"0:30"},  // half past midnight
      {{12, 3, 0, true, TimeField::kHour}, u"12:30"},  // half past noon
      {{1, 0, 0, false, TimeField::kHour}, u"1:00"},
      {{11, 5, 9, true, TimeField::kHour}, u"23:59"},
      {{10, 1, 0, false, TimeField::kHour}, u"10:10"},
  };
  for (const auto& [time, text] : cases) EXPECT_EQ(PickerText(time), text);
}

}  // namespace
