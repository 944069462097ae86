// What Temp History shows: the scale of the settings, the rows of its value picker and the
// reading each row stands for, and the list's rows, whose dates are padded so that in the
// fixed-pitch list every value starts in the same column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "temperature/temperature_records.h"

enum class TemperatureScale : uint16_t { kCelsius = 1, kFahrenheit = 2 };

// The settings' scale: 1 is Celsius, every other value Fahrenheit.
TemperatureScale ScaleFromSetting(uint16_t setting);

// "°C" or "°F".
const char16_t* ScaleUnit(TemperatureScale scale);

// The picker's rows, a blank and the unit after each value: 30.0 °C to 41.9 °C (120 rows) or
// 86.0 °F to 107.6 °F (217 rows, up to the equivalent of 42.0 °C).
std::vector<std::u16string> ValuePickerRows(TemperatureScale scale);

// The reading, in degrees Celsius, that the picker's row stands for. It is computed from the row
// index, not read from the row's text; a Fahrenheit row is converted.
double PickedCelsius(TemperatureScale scale, size_t row);

// Every value in the list starts in this column (counted from 0).
inline constexpr size_t kTemperatureValueColumn = 10;

// One list row: the date text padded with blanks to 10 characters (6 to 8 characters are all a
// date text has), the reading with one decimal in the scale, and the unit with no blank.
std::u16string TemperatureRow(std::u16string_view date_text, double celsius,
                              TemperatureScale scale);

// The rows of all readings, in the order given.
std::vector<std::u16string> TemperatureRows(std::span<const TemperatureReading> readings,
                                            TemperatureScale scale);
