// The program's resources beyond its pictures: the string table, the dialog templates and the
// menu bar, kept as C++ tables under resources/ui.
#pragma once

#include <cstdint>

#include <span>

#include "platform/menu_bar.h"
#include "platform/types.h"

// The text of a string-table entry; null for an id the table does not have.
const char16_t* LoadString(uint32_t id);
// Copies at most size - 1 characters of the string and a terminator; returns the count copied.
int LoadString(uint32_t id, char16_t* buffer, int size);

// Registers the dialog templates and the menu bar with the window system.
void RegisterUiResources();

inline constexpr ce::UINT kMenuBarResource = 102;

// The menu bar's buttons and items (the scenario tests tap them as a user would).
std::span<const ce::MenuButton> MenuBarButtons();
