// What the Options screen shows for a stored scale of any value. What it writes back, the password
// and the flags kept byte for byte, is the Options scenarios'.
#include "tools/options_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(OptionsRules, EveryScaleButCelsiusShowsAsFahrenheit) {
  const struct {
    uint16_t stored, shown;
  } cases[] = {{0, kScaleFahrenheit},
               {1, kScaleCelsius},
               {2, kScaleFahrenheit},
               {3, kScaleFahrenheit},
               {0xFFFF, kScaleFahrenheit}};
  for (const auto& c : cases) {
    Settings settings;
    settings.scale = c.stored;
    EXPECT_EQ(OptionsFromSettings(settings).scale, c.shown) << c.stored;
  }
}

}  // namespace
