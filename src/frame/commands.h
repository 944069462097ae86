// The menu bar's commands, in one table: the button and place of each item, its text, and what
// the command router does with it (a screen, a help text, the end of the program, and a record
// count that must be met first). The menu bar is built from the table and the router reads it,
// so a command is added in one place.
#pragma once

#include <cstdint>
#include <span>

#include "frame/view.h"
#include "platform/menu_bar.h"

enum class MenuButtonId { kMain, kTools, kHelp };

struct CommandEntry {
  enum class Action {
    kSeparator,  // a line between items; no command
    kScreen,     // switch to `screen`
    kHelp,       // show the help text `help_text`
    kExit,       // end the program
  };
  MenuButtonId button = MenuButtonId::kMain;
  uint32_t command = 0;
  const char16_t* text = u"";
  Action action = Action::kSeparator;
  int32_t screen = 0;
  uint32_t help_text = 0;
  // The switch happens only when `database` holds at least `least_records`; otherwise the
  // router shows `refusal` ("Calvira" box, then back to the Cycle View) or, when that is null,
  // the help text `help_text`.
  const char16_t* database = nullptr;
  uint16_t least_records = 0;
  const char16_t* refusal = nullptr;
  // The screen that counts as the previous one after the switch (-1: the usual).
  int32_t previous = -1;
};

// Every item of the menu bar, button by button, top to bottom.
std::span<const CommandEntry> MenuCommands();
// The entry of a command; null for a command the menu does not have.
const CommandEntry* FindMenuCommand(uint32_t command);

// The Help menu's entry that F1 opens on the screen `screen`: the screen's own help, the Main
// Help where it has none; 0 on the help screen itself.
uint32_t HelpCommandFor(int32_t screen);
// The menu bar's buttons with their items, made from the table.
std::span<const ce::MenuButton> MenuBarButtons();
