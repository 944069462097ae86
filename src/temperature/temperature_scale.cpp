#include "temperature/temperature_scale.h"

namespace {

// Multiplying by the nearest double to 1/9 instead of dividing by 9 is what stored readings were
// computed with; the steps below keep that order and stay separate statements so that no
// compiler fuses them into a differently rounded multiply-add.
constexpr double kNinth = 1.0 / 9.0;
static_assert(kNinth == 0.1111111111111111);

}  // namespace

double FahrenheitToCelsius(double fahrenheit) {
  const double above_freezing = fahrenheit - 32.0;
  const double times_five = above_freezing * 5.0;
  return times_five * kNinth;
}

double CelsiusToFahrenheit(double celsius) {
  const double times_nine = celsius * 9.0;
  const double scaled = times_nine * 0.2;
  return scaled + 32.0;
}
