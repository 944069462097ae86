#include "temperature/temperature_scale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string OneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

TEST(TemperatureScale, FixedPointsOfBothScales) {
  for (auto [celsius, fahrenheit] : {std::pair{0.0, 32.0}, {100.0, 212.0}, {-40.0, -40.0}}) {
    EXPECT_NEAR(CelsiusToFahrenheit(celsius), fahrenheit, 1e-9);
    EXPECT_NEAR(FahrenheitToCelsius(fahrenheit), celsius, 1e-9);
  }
}

TEST(TemperatureScale, EveryFahrenheitRowSurvivesTheTripThroughCelsius) {
  // The picker fills its rows by adding 0.1 from 86.0 while not past 107.6; a reading is saved
  // in Celsius from the row index and listed again in Fahrenheit from the stored value.
  int rows = 0;
  for (double shown = 86.0; !(shown > 107.6); shown += 0.1, ++rows) {
    const double stored = FahrenheitToCelsius(rows * 0.1 + 86.0);
    ASSERT_EQ(OneDecimal(CelsiusToFahrenheit(stored)), OneDecimal(shown)) << "row " << rows;
  }
  EXPECT_EQ(rows, 217);
  EXPECT_EQ(OneDecimal(FahrenheitToCelsius(98.6)), "37.0");
}

}  // namespace
