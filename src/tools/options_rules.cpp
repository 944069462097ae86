#include "tools/options_rules.h"

OptionsChoice OptionsFromSettings(const Settings& settings) {
  OptionsChoice choice;
  choice.scale = settings.scale == kScaleCelsius ? kScaleCelsius : kScaleFahrenheit;
  choice.logo_disabled = settings.logo_disabled;
  choice.show_min_max = settings.show_min_max;
  return choice;
}

Settings ApplyOptions(const Settings& read, const OptionsChoice& choice) {
  Settings settings = read;
  settings.scale = choice.scale;
  settings.logo_disabled = choice.logo_disabled;
  settings.show_min_max = choice.show_min_max;
  return settings;
}
