// What Add New Cycle and Edit Cycle share as dialogs: the length fields that keep three
// characters.
#pragma once

#include "platform/window.h"

// Cuts a length field that has grown past three characters and puts the caret after them.
// True when it cut: the field then reports the change again.
bool KeepLengthFieldShort(ce::HWND dialog, int id);
