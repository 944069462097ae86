// The program's entry point, its start-up, main loop and shutdown. The window system must be
// running and the store mounted before it is called; it returns the exit code.
#pragma once

#include "platform/window.h"

// `add_views` fills the screen table, in table order.
int CalviraMain(ce::HINSTANCE instance, int show_command, void (*add_views)());

// The main loop alone: one message at most per pass, a tick of the current screen whenever
// the frame interval has passed, and a wait for input in between instead of a busy spin.
int RunMainLoop();

// How many ticks the main loop has given (for tests and measurements).
uint64_t TickCount();

// Runs once, when the first screen has been activated and shown (start-up measurements).
void SetFirstScreenHook(void (*hook)());
void RunFirstScreenHook();
