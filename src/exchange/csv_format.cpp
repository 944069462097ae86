#include "exchange/csv_format.h"

#include <charconv>
#include <initializer_list>

#include "exchange/json_format.h"
#include "platform/text.h"

namespace {

void Row(std::string& out, std::initializer_list<std::string> fields) {
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) out += ',';
    first = false;
    out += CsvField(field);
  }
  out += "\r\n";
}

// The shortest text that reads back as the double that was stored.
std::string Number(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

}  // namespace

std::string CsvField(std::string_view text) {
  const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted) return std::string(text);
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::vector<CsvFile> ToCsv(const Records& records) {
  std::vector<CsvFile> files = {{"cycles.csv", ""},
                                {"temperatures.csv", ""},
                                {"days.csv", ""},
                                {"notes.csv", ""},
                                {"settings.csv", ""}};
  std::string& cycles = files[0].text;
  Row(cycles, {"start", "period_length", "cycle_length"});
  for (const CycleRecord& c : records.cycles) {
    Row(cycles, {IsoDate(c.start), std::to_string(c.periodLength), std::to_string(c.cycleLength)});
  }
  std::string& temperatures = files[1].text;
  Row(temperatures, {"date", "celsius"});
  for (const TemperatureReading& t : records.temperatures) {
    Row(temperatures, {IsoDate(t.day), Number(t.celsius)});
  }
  std::string& days = files[2].text;
  Row(days, {"date", "bleeding", "pill", "pill_time", "remark"});
  for (const PillDay& d : records.days) {
    Row(days, {IsoDate(d.day), LevelName(d.level), d.pill ? "yes" : "no", ce::ToUtf8(d.time),
               ce::ToUtf8(d.remark)});
  }
  std::string& notes = files[3].text;
  Row(notes, {"category", "date", "text"});
  for (const CategoryNote& n : records.notes) {
    Row(notes, {ce::ToUtf8(DiaryCategories()[n.category].shown), IsoDate(n.note.day),
                ce::ToUtf8(n.note.text)});
  }
  std::string& settings = files[4].text;
  Row(settings, {"temperature_scale", "show_logo", "show_min_max"});
  if (records.settings) {
    Row(settings, {records.settings->celsius ? "Celsius" : "Fahrenheit",
                   records.settings->show_logo ? "yes" : "no",
                   records.settings->show_min_max ? "yes" : "no"});
  }
  return files;
}
