// The look every screen dialog shares: buttons and statics black on cyan with a transparent
// text background, the title white on blue. A screen's dialog answers WM_CTLCOLORBTN and
// WM_CTLCOLORSTATIC with one of these for the controls it colours.
#pragma once

#include <span>

#include "platform/gdi.h"
#include "platform/types.h"

// Sets the control's text colours in `dc` (the message's wParam) and returns the brush, as the
// colour messages expect.
ce::INT_PTR ControlColours(ce::WPARAM dc);  // black on cyan (0, 255, 255)
ce::INT_PTR TitleColours(ce::WPARAM dc);    // white on blue (0, 0, 255)

// The whole answer to WM_CTLCOLORBTN / WM_CTLCOLORSTATIC of a screen dialog: its title
// (kCtlTitle) white on blue, the controls listed in `cyan` black on cyan, and FALSE for any
// other, which keeps the control's own look.
ce::INT_PTR ScreenColours(ce::WPARAM dc, ce::LPARAM control, std::span<const int> cyan);
