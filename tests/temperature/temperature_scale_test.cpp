#include "temperature/temperature_scale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string OneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// The Fahrenheit picker's row values, accumulated the way the picker fills its list.
std::vector<double> FahrenheitRows() {
  std::vector<double> rows;
  double v = 86.0;
  do {
    rows.push_back(v);
    v += 0.1;
  } while (!(v > 107.6));
  return rows;
}

TEST(TemperatureScale, FixedPoints) {
  EXPECT_EQ(FahrenheitToCelsius(32.0), 0.0);
  EXPECT_EQ(CelsiusToFahrenheit(0.0), 32.0);
  EXPECT_DOUBLE_EQ(FahrenheitToCelsius(212.0), 100.0);
  EXPECT_DOUBLE_EQ(CelsiusToFahrenheit(100.0), 212.0);
  EXPECT_DOUBLE_EQ(FahrenheitToCelsius(-40.0), -40.0);
}

TEST(TemperatureScale, UsesTheGivenOrderOfOperations) {
  // Bit-exact against the same steps written out, so stored readings stay comparable.
  const double ninth = 0.1111111111111111;
  for (double f : {86.0, 98.6, 99.5, 107.6}) {
    EXPECT_EQ(FahrenheitToCelsius(f), (f - 32.0) * 5.0 * ninth) << f;
  }
  for (double t : {30.0, 36.6, 37.2, 41.9}) {
    EXPECT_EQ(CelsiusToFahrenheit(t), t * 9.0 * 0.2 + 32.0) << t;
  }
}

TEST(TemperatureScale, CommonReadings) {
  const double celsius_row_66 = 66 * 0.1 + 30.0;
  EXPECT_EQ(OneDecimal(celsius_row_66), "36.6");
  EXPECT_EQ(OneDecimal(CelsiusToFahrenheit(celsius_row_66)), "97.9");
  const double stored = FahrenheitToCelsius(126 * 0.1 + 86.0);
  EXPECT_EQ(OneDecimal(stored), "37.0");
  EXPECT_EQ(OneDecimal(CelsiusToFahrenheit(stored)), "98.6");
}

TEST(TemperatureScale, EveryFahrenheitRowSurvivesTheTripThroughCelsius) {
  const std::vector<double> rows = FahrenheitRows();
  ASSERT_EQ(rows.size(), 217u);
  EXPECT_EQ(OneDecimal(rows.front()), "86.0");
  EXPECT_EQ(OneDecimal(rows.back()), "107.6");
  for (size_t i = 0; i < rows.size(); ++i) {
    // A reading is saved from the row index, then listed from the stored Celsius value.
    const double stored = FahrenheitToCelsius(static_cast<double>(i) * 0.1 + 86.0);
    EXPECT_EQ(OneDecimal(CelsiusToFahrenheit(stored)), OneDecimal(rows[i])) << "row " << i;
  }
}

}  // namespace
