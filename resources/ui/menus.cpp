// The menu bar: three drop-down buttons and their items.
#include "frame/ui_resources.h"
#include "platform/menu_bar.h"

namespace {

const ce::MenuItem kMainMenu[] = {
    {40068, u"Cycle View"},   {40069, u"Cycle History"}, {40070, u"Cycle Charts"}, {0, u""},
    {40071, u"Temp History"}, {40072, u"Temp Charts"},   {40084, u"Exit Calvira"},
};

const ce::MenuItem kToolsMenu[] = {
    {40075, u"Schedule Edit"},
    {40076, u"Pill History"},
    {40077, u"Prediction"},
    {40078, u"Weight/Height Scale"},
    {40079, u"My Diary"},
    {40080, u"Mirror"},
    {0, u""},
    {40081, u"Options"},
    {40082, u"Password"},
};

const ce::MenuItem kHelpMenu[] = {
    {40057, u"Main Help"},
    {40058, u"Cycle History Help"},
    {40059, u"Cycle Charts Help"},
    {0, u""},
    {40060, u"Temp History Help"},
    {40061, u"Temp Charts Help"},
    {0, u""},
    {40062, u"Schedule Help"},
    {40063, u"Pill History Help"},
    {0, u""},
    {40064, u"My Diary Help"},
    {40065, u"Prediction Help"},
    {0, u""},
    {40003, u"About"},
};

const ce::MenuButton kMenuBar[] = {
    {40055, u"Main", kMainMenu},
    {40004, u"Tools", kToolsMenu},
    {40074, u"Help", kHelpMenu},
};

}  // namespace

void RegisterMenuBar() {
  ce::RegisterMenuBarResource(kMenuBarResource, kMenuBar);
}

std::span<const ce::MenuButton> MenuBarButtons() {
  return kMenuBar;
}
