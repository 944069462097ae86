// What the Options screen shows for a stored scale of any value. What it writes back, the password
// and the flags kept byte for byte, is the Options scenarios'.
#include "tools/options_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(OptionsRules, EveryScaleButCelsiusShowsAsFahrenheit) {
  for (uint16_t stored : {0, 1, 2, 3, 0xFFFF}) {
    Settings settings;
    settings.scale = stored;
    EXPECT_EQ(OptionsFromSettings(settings).scale, stored == 1 ? kScaleCelsius : kScaleFahrenheit)
        << stored;
  }
}

}  // namespace
