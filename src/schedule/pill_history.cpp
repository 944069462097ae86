#include "schedule/pill_history.h"

std::u16string PillLineText(const std::u16string& date_text, const std::u16string& time) {
  size_t blanks = 0;
  switch (date_text.size()) {
    case 6:
      blanks = 12;
      break;
    case 7:
      blanks = 10;
      break;
    case 8:
      blanks = 8;
      break;
    default:
      break;
  }
  return date_text + std::u16string(blanks, u' ') + time;
}

std::vector<PillLine> PillHistoryLines(const std::vector<PillDay>& days) {
  std::vector<PillLine> lines;
  for (const PillDay& day : days) {
    if (day.pill) lines.push_back({day.day, PillLineText(FormatDate(day.day), day.time)});
  }
  return lines;
}
