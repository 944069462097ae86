// What the Options screen shows for a stored record, and what it writes back.
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

TEST(OptionsRules, WritingBackKeepsThePasswordAndTheFlagsBeforeTheScale) {
  Settings read;
  read.password = u"$argon2id$v=19$m=65536,t=2,p=1$c2FsdA$aGFzaA";
  read.password_set = -1;
  read.spare = 7;
  read.scale = 3;
  read.logo_disabled = true;
  read.show_min_max = false;
  const OptionsChoice shown = OptionsFromSettings(read);
  EXPECT_TRUE(shown.logo_disabled);
  EXPECT_FALSE(shown.show_min_max);
  const Settings written = ApplyOptions(read, {kScaleCelsius, false, true});
  EXPECT_EQ(written.password, read.password);
  EXPECT_EQ(written.password_set, -1);
  EXPECT_EQ(written.spare, 7);
  EXPECT_EQ(written.scale, kScaleCelsius);
  EXPECT_FALSE(written.logo_disabled);
  EXPECT_TRUE(written.show_min_max);
}

}  // namespace
