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
  EXPECT_EQ(OneDecimal(FahrenheitToCelsius(98.6)), "37.0");
}

}  // namespace
