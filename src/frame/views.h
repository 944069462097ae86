// Builds the screen table: every screen of the program, in table order. Defined by the program
// (src/program), which knows every screen, and handed to the entry point.
#pragma once

void AddAllViews();
