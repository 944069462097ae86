// Temp History's rules: the scale of the settings, the picker's rows and what each stands for,
// and the padded list rows.
#include "temperature/temp_history.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "temperature/temperature_records.h"
#include "temperature/temperature_scale.h"

namespace {

// The number at the start of a picker row ("98.6 °F" -> "98.6").
std::u16string RowNumber(const std::u16string& row) {
  return row.substr(0, row.find(u' '));
}

// A reading is stored from the row index and listed again from the stored value: every row of
// either scale, from the first to the last, comes back as its own text.
TEST(ValuePicker, EveryRowComesBackInTheListAsItsOwnText) {
  const auto celsius = TemperatureScale::kCelsius, fahrenheit = TemperatureScale::kFahrenheit;
  for (const auto& [scale, count, last] : {std::tuple(celsius, 120u, u"41.9 \u00B0C"),
                                           std::tuple(fahrenheit, 217u, u"107.6 \u00B0F")}) {
    const std::vector<std::u16string> rows = ValuePickerRows(scale);
    ASSERT_EQ(rows.size(), count);
    EXPECT_EQ(rows.back(), last);
    for (size_t i = 0; i < rows.size(); ++i) {
      const std::u16string listed = TemperatureRow(u"1/5/03", PickedCelsius(scale, i), scale);
      ASSERT_EQ(listed, u"1/5/03    " + RowNumber(rows[i]) + ScaleUnit(scale)) << i;
    }
  }
  EXPECT_DOUBLE_EQ(PickedCelsius(celsius, 66), 36.6);
  EXPECT_DOUBLE_EQ(PickedCelsius(fahrenheit, 126), 37.0);  // 98.6 °F
}

TEST(TemperatureRow, RoundsToOneDecimalAndPadsOnlyTheHandheldsDates) {
  const auto c = TemperatureScale::kCelsius;
  // Dates of six, seven and eight characters and 37.0 as 98.6 are the Temp History scenarios';
  // a date text of another length is not padded.
  EXPECT_EQ(TemperatureRow(u"1/5/03", 41.94, c), u"1/5/03    41.9\u00B0C");
  EXPECT_EQ(TemperatureRow(u"1/5/3", 36.6, c), u"1/5/336.6\u00B0C");
  EXPECT_EQ(TemperatureRow(u"12/31/2003", 36.6, c), u"12/31/200336.6\u00B0C");
}

// A value from the store is formatted whole, however long its text: a damaged record shows as
// what it holds instead of overrunning a buffer.
TEST(TemperatureRow, AnyStoredValueIsFormattedWhole) {
  const std::u16string row = TemperatureRow(u"1/5/03", 1e300, TemperatureScale::kCelsius);
  EXPECT_EQ(row.size(), 10u + 301u + 2u + 2u);  // "1" and 300 zeros, ".0", "°C"
  EXPECT_EQ(row.substr(10, 2), u"10");
  EXPECT_EQ(row.substr(row.size() - 4), u".0\u00B0C");
  EXPECT_EQ(TemperatureRow(u"1/5/03", -0.04, TemperatureScale::kCelsius), u"1/5/03    -0.0\u00B0C");
}

}  // namespace
