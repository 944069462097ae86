// The six fonts every screen shares, made at start-up and deleted at shutdown.
#pragma once

#include "platform/gdi.h"

void CreateFrameFonts();
void DeleteFrameFonts();

ce::HFONT CaptionFont();    // Tahoma 16 bold: titles and labels of the screen dialogs
ce::HFONT SmallBoldFont();  // Tahoma 13 bold: the help text, the Cycle View's texts
ce::HFONT VerticalFont();   // Tahoma 13 bold turned 90 degrees, reading upwards: month names
ce::HFONT LargeThinFont();  // Tahoma 18, weight 100: the calendar's month title
ce::HFONT SmallThinFont();  // Tahoma 13, weight 100: the temperature chart's texts
ce::HFONT FixedFont();      // Courier New 16 bold: the history lists
// Courier New of 9-pixel characters: My Diary's notes, whose lines of 36 characters (a date
// padded to 16, a note of up to 20) fit the list whole in two even columns.
ce::HFONT SmallFixedFont();
