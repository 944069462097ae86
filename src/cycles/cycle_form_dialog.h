// What Add New Cycle and Edit Cycle share as dialogs: the look (title white on blue, labels and
// buttons black on cyan, both in the caption font, over the form background) and the length
// fields that keep three characters.
#pragma once

#include <span>
#include <string>

#include "gfx/fast_bitmap.h"
#include "platform/window.h"

// Sizes the dialog to the screen and gives the title and the labels the caption font.
void SetUpCycleForm(ce::HWND dialog, std::span<const int> labels);

// The answer to WM_CTLCOLORBTN / WM_CTLCOLORSTATIC: the title and the labels and buttons are
// coloured, the fields keep their own look (FALSE).
ce::INT_PTR CycleFormColours(ce::WPARAM dc, ce::LPARAM control, std::span<const int> labels);

std::u16string FieldText(ce::HWND dialog, int id);

// Cuts a length field that has grown past three characters and puts the caret after them.
// True when it cut: the field then reports the change again.
bool KeepLengthFieldShort(ce::HWND dialog, int id);
