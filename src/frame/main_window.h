// The program's one top-level window: it carries the menu bar, forwards messages to the
// current screen, routes menu commands, repaints from the main buffer and follows activation.
#pragma once

#include "platform/window.h"

inline constexpr const char16_t* kMainWindowClass = u"CalviraApp";

bool RegisterMainWindowClass(ce::HINSTANCE instance);
ce::LRESULT MainWindowProc(ce::HWND window, ce::UINT message, ce::WPARAM wparam, ce::LPARAM lparam);
