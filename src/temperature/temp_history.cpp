#include "temperature/temp_history.h"

#include <cstdio>

#include "temperature/temperature_scale.h"
#include "ui/texts.h"

namespace {

// First row and step of each scale's picker.
constexpr double kCelsiusFirst = 30.0;
constexpr double kFahrenheitFirst = 86.0;
constexpr double kStep = 0.1;

// "%.1f" of any double, however long: a stored value comes from the store, not from us.
std::u16string OneDecimal(double value) {
  char small[32];
  int length = std::snprintf(small, sizeof small, "%.1f", value);
  if (length < 0) return u"?";
  std::string text;
  if (static_cast<size_t>(length) < sizeof small) {
    text.assign(small, static_cast<size_t>(length));
  } else {
    text.resize(static_cast<size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), "%.1f", value);
    text.resize(static_cast<size_t>(length));
  }
  return std::u16string(text.begin(), text.end());  // digits, sign, point: all ASCII
}

}  // namespace

TemperatureScale ScaleFromSetting(uint16_t setting) {
  return setting == 1 ? TemperatureScale::kCelsius : TemperatureScale::kFahrenheit;
}

const char16_t* ScaleUnit(TemperatureScale scale) {
  return scale == TemperatureScale::kCelsius ? kTextCelsius : kTextFahrenheit;
}

std::vector<std::u16string> ValuePickerRows(TemperatureScale scale) {
  // The rows' texts come from adding 0.1 again and again, as they always have; the stop tests
  // are those that give exactly 120 and 217 rows with that sum.
  const bool celsius = scale == TemperatureScale::kCelsius;
  // Appended: GCC 12 at -O3 takes a literal + string for an overlapping copy (-Wrestrict).
  std::u16string unit = u" ";
  unit += ScaleUnit(scale);
  std::vector<std::u16string> rows;
  rows.reserve(celsius ? 120 : 217);
  double v = celsius ? kCelsiusFirst : kFahrenheitFirst;
  for (;;) {
    rows.push_back(OneDecimal(v) + unit);
    v += kStep;
    if (celsius ? v >= 42.0 : v > 107.6) break;
  }
  return rows;
}

double PickedCelsius(TemperatureScale scale, size_t row) {
  const double index = static_cast<double>(row);
  if (scale == TemperatureScale::kCelsius) return index * kStep + kCelsiusFirst;
  return FahrenheitToCelsius(index * kStep + kFahrenheitFirst);
}

std::u16string TemperatureRow(std::u16string_view date_text, double celsius,
                              TemperatureScale scale) {
  std::u16string row(date_text);
  if (row.size() >= 6 && row.size() <= 8) row.append(kTemperatureValueColumn - row.size(), u' ');
  row += OneDecimal(scale == TemperatureScale::kCelsius ? celsius : CelsiusToFahrenheit(celsius));
  row += ScaleUnit(scale);
  return row;
}

std::vector<std::u16string> TemperatureRows(std::span<const TemperatureReading> readings,
                                            TemperatureScale scale) {
  std::vector<std::u16string> rows;
  rows.reserve(readings.size());
  for (const TemperatureReading& r : readings) {
    rows.push_back(TemperatureRow(FormatDate(r.day), r.celsius, scale));
  }
  return rows;
}
