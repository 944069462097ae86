// The program's resources beyond its pictures: the string table and the dialog templates, kept
// as C++ tables under resources/ui. The menu bar is made from the command table (commands.h).
#pragma once

#include <cstdint>

#include <span>

#include "platform/types.h"

// The text of a string-table entry; null for an id the table does not have.
const char16_t* LoadString(uint32_t id);
// Copies at most size - 1 characters of the string and a terminator; returns the count copied.
int LoadString(uint32_t id, char16_t* buffer, int size);

// Registers the dialog templates with the window system.
void RegisterUiResources();
// The templates of one area each; RegisterUiResources calls them all.
void RegisterScheduleDialogs();
void RegisterCycleListDialogs();
void RegisterCycleViewDialogs();
void RegisterIdealBodyDialogs();
void RegisterPasswordOptionsDialogs();
void RegisterTemperatureDialogs();
void RegisterChartDialogs();
void RegisterDiaryDialogs();
