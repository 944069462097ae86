// The export for spreadsheets and doctors: RFC 4180 files with a header row, one per kind of
// record, in the same units and names as the JSON export.
#pragma once

#include <string>
#include <vector>

#include "exchange/records.h"

struct CsvFile {
  std::string name;  // "cycles.csv"
  std::string text;  // CRLF line ends, as the RFC has them
};

std::vector<CsvFile> ToCsv(const Records& records);

// One field, quoted when it holds a comma, a quote, a line break or leading or trailing blanks.
std::string CsvField(std::string_view text);
