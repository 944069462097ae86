// The export document: one UTF-8 JSON object with the format's name and version, an array per
// kind of record and the three settings. Dates are YYYY-MM-DD, temperatures degrees Celsius as
// stored, bleeding levels and diary categories by the names the screens show.
#pragma once

#include <string>
#include <string_view>

#include "exchange/records.h"

inline constexpr const char* kExportFormat = "calvira-export";
inline constexpr int kExportVersion = 1;

// The lowest and highest temperature an import takes, in degrees Celsius.
inline constexpr double kLowestCelsius = 30.0;
inline constexpr double kHighestCelsius = 42.0;

std::string ToJson(const Records& records);

// Reads and checks a whole document by the program's rules before anything is written. False on
// the first fault, with `fault` naming its place ("line 3, column 7", "temperatures[12].celsius")
// and a plain reason; `out` is then incomplete.
bool FromJson(std::string_view text, Records* out, std::string* fault);

// The date as YYYY-MM-DD, and back; false for a text that is not such a date or a date the day
// numbers cannot hold (before 1582 or after 9366).
std::string IsoDate(DayNumber day);
bool ParseIsoDate(std::string_view text, DayNumber* day);

// The bleeding levels' names, by level 0..3.
const char* LevelName(int level);
