#include "exchange/json_format.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>

#include "cycles/cycle_forms.h"
#include "cycles/day_number.h"
#include "platform/text.h"

namespace {

using nlohmann::json;

constexpr std::array<const char*, 4> kLevelNames = {"none", "slight", "normal", "heavy"};
// What the length fields of the cycle forms can hold.
constexpr int64_t kMaxLength = 999;

// A stored cycle length is the distance to the next start, which may be years.
int64_t LongestDistance() {
  DayNumber first = 0, last = 0;
  DateToDayNumber(1582, 1, 1, first);
  DateToDayNumber(9366, 12, 31, last);
  return last - first;
}

// The first parse fault's place, found by a second, event-driven pass over a text that did not
// parse (the library reports the byte; a person wants the line).
struct FaultFinder : nlohmann::json_sax<json> {
  size_t position = 0;
  std::string token;
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(size_t pos, const std::string& last,
                   const nlohmann::detail::exception&) override {
    position = pos;
    token = last;
    return false;
  }
};

std::string ParseFault(std::string_view text) {
  FaultFinder finder;
  json::sax_parse(text, &finder);
  size_t line = 1;
  size_t column = 1;
  for (size_t i = 0; i + 1 < finder.position && i < text.size(); ++i) {
    column = text[i] == '\n' ? 1 : column + 1;
    line += text[i] == '\n' ? 1 : 0;
  }
  if (finder.position > text.size()) return "the file ends in the middle of the document";
  std::string shown = finder.token.substr(0, 40);
  for (char& c : shown) c = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  return "line " + std::to_string(line) + ", column " + std::to_string(column) +
         ": this is not valid JSON (near '" + shown + "')";
}

// Reads the fields of one element, remembering the first fault with its place.
class Reader {
 public:
  explicit Reader(std::string* fault) : fault_(fault) {}
  bool ok() const { return fault_->empty(); }
  bool Fail(const std::string& place, const std::string& reason) {
    if (ok()) *fault_ = place + ": " + reason;
    return false;
  }

  const json* Field(const json& object, const std::string& place, const char* name) {
    const auto it = object.find(name);
    if (it == object.end()) {
      Fail(place, std::string("\"") + name + "\" is missing");
      return nullptr;
    }
    return &*it;
  }
  bool Integer(const json& object, const std::string& place, const char* name, int64_t low,
               int64_t high, int64_t* out) {
    const json* v = Field(object, place, name);
    if (!v) return false;
    const std::string at = place + "." + name;
    if (!v->is_number_integer()) return Fail(at, "must be a whole number");
    const bool fits = v->is_number_unsigned()
                          ? v->get<uint64_t>() <= static_cast<uint64_t>(high) &&
                                static_cast<int64_t>(v->get<uint64_t>()) >= low
                          : v->get<int64_t>() >= low && v->get<int64_t>() <= high;
    if (!fits)
      return Fail(at, "must be from " + std::to_string(low) + " to " + std::to_string(high));
    *out = v->get<int64_t>();
    return true;
  }
  bool Text(const json& object, const std::string& place, const char* name, size_t limit,
            std::u16string* out) {
    const json* v = Field(object, place, name);
    if (!v) return false;
    const std::string at = place + "." + name;
    if (!v->is_string()) return Fail(at, "must be a text");
    *out = ce::FromUtf8(v->get_ref<const std::string&>());
    // The store keeps texts up to their first NUL; the rest would go without a word.
    if (out->find(u'\0') != std::u16string::npos)
      return Fail(at, "must not hold the character U+0000");
    if (out->size() > limit) {
      return Fail(at, "is " + std::to_string(out->size()) + " characters long; at most " +
                          std::to_string(limit) + " are kept");
    }
    return true;
  }
  bool Bool(const json& object, const std::string& place, const char* name, bool* out) {
    const json* v = Field(object, place, name);
    if (!v) return false;
    if (!v->is_boolean()) return Fail(place + "." + name, "must be true or false");
    *out = v->get<bool>();
    return true;
  }
  bool Date(const json& object, const std::string& place, const char* name, DayNumber* out) {
    const json* v = Field(object, place, name);
    if (!v) return false;
    if (!v->is_string() || !ParseIsoDate(v->get_ref<const std::string&>(), out)) {
      return Fail(place + "." + name,
                  "must be a date written YYYY-MM-DD, from 1582-01-01 to 9366-12-31");
    }
    return true;
  }
  // The array `name` of the document, each element an object; an absent array is empty.
  const json* Array(const json& doc, const char* name) {
    const auto it = doc.find(name);
    if (it == doc.end()) return nullptr;
    if (!it->is_array()) {
      Fail(name, "must be an array");
      return nullptr;
    }
    for (size_t i = 0; i < it->size(); ++i) {
      if (!(*it)[i].is_object()) {
        Fail(std::string(name) + "[" + std::to_string(i) + "]", "must be an object");
        return nullptr;
      }
    }
    return &*it;
  }
  // A second element for the same key of one kind: the store keeps one per day.
  bool Unique(std::set<uint64_t>& seen, uint64_t key, const std::string& place, const char* what) {
    if (seen.insert(key).second) return true;
    return Fail(place, std::string("a second ") + what + "; the store keeps one");
  }

 private:
  std::string* fault_;
};

std::string Place(const char* array, size_t index) {
  return std::string(array) + "[" + std::to_string(index) + "]";
}

void ReadCyclesArray(Reader& r, const json& doc, Records* out) {
  const json* array = r.Array(doc, "cycles");
  std::set<uint64_t> starts;
  for (size_t i = 0; array && r.ok() && i < array->size(); ++i) {
    const json& e = (*array)[i];
    const std::string at = Place("cycles", i);
    DayNumber start = 0;
    int64_t period = 0;
    int64_t length = 0;
    if (!r.Date(e, at, "start", &start) ||
        !r.Integer(e, at, "period_length", 1, kMaxLength, &period) ||
        !r.Integer(e, at, "cycle_length", 0, LongestDistance(), &length) ||
        !r.Unique(starts, start, at + ".start", "cycle starting that day")) {
      return;
    }
    if (CheckPeriodLength(static_cast<uint32_t>(period), static_cast<uint32_t>(length)) !=
        PeriodVerdict::kAccepted) {
      r.Fail(at + ".period_length",
             "is longer than the cycle allows (half its length less one day)");
      return;
    }
    out->cycles.push_back({start, static_cast<int32_t>(period), static_cast<int32_t>(length)});
  }
}

void ReadTemperaturesArray(Reader& r, const json& doc, Records* out) {
  const json* array = r.Array(doc, "temperatures");
  std::set<uint64_t> days;
  for (size_t i = 0; array && r.ok() && i < array->size(); ++i) {
    const json& e = (*array)[i];
    const std::string at = Place("temperatures", i);
    DayNumber day = 0;
    if (!r.Date(e, at, "date", &day) || !r.Field(e, at, "celsius")) return;
    const json& c = e["celsius"];
    if (!c.is_number() || !std::isfinite(c.get<double>()) || c.get<double>() < kLowestCelsius ||
        c.get<double>() > kHighestCelsius) {
      r.Fail(at + ".celsius", "must be a temperature from 30.0 to 42.0 degrees Celsius");
      return;
    }
    if (!r.Unique(days, day, at + ".date", "temperature for that day")) return;
    out->temperatures.push_back({day, c.get<double>()});
  }
}

void ReadDaysArray(Reader& r, const json& doc, Records* out) {
  const json* array = r.Array(doc, "days");
  std::set<uint64_t> days;
  for (size_t i = 0; array && r.ok() && i < array->size(); ++i) {
    const json& e = (*array)[i];
    const std::string at = Place("days", i);
    PillDay day;
    const json* level = nullptr;
    if (!r.Date(e, at, "date", &day.day) || !(level = r.Field(e, at, "bleeding"))) return;
    const auto name = std::find(kLevelNames.begin(), kLevelNames.end(),
                                level->is_string() ? level->get<std::string>() : std::string("?"));
    if (name == kLevelNames.end()) {
      r.Fail(at + ".bleeding", "must be \"none\", \"slight\", \"normal\" or \"heavy\"");
      return;
    }
    day.level = static_cast<int16_t>(name - kLevelNames.begin());
    if (!r.Bool(e, at, "pill", &day.pill) ||
        !r.Text(e, at, "pill_time", kPillTextLimit, &day.time) ||
        !r.Text(e, at, "remark", kPillTextLimit, &day.remark) ||
        !r.Unique(days, day.day, at + ".date", "entry for that day")) {
      return;
    }
    if (!day.pill && !day.time.empty()) {
      r.Fail(at + ".pill_time", "a pill time needs \"pill\": true");
      return;
    }
    out->days.push_back(std::move(day));
  }
}

void ReadNotesArray(Reader& r, const json& doc, Records* out) {
  const json* array = r.Array(doc, "notes");
  std::set<uint64_t> days;
  for (size_t i = 0; array && r.ok() && i < array->size(); ++i) {
    const json& e = (*array)[i];
    const std::string at = Place("notes", i);
    std::u16string category;
    CategoryNote note;
    if (!r.Text(e, at, "category", 40, &category)) return;
    const auto& categories = DiaryCategories();
    note.category = static_cast<size_t>(
        std::find_if(categories.begin(), categories.end(),
                     [&](const DiaryCategory& c) { return category == c.shown; }) -
        categories.begin());
    if (note.category == categories.size()) {
      r.Fail(at + ".category",
             "must be \"Doctor\", \"Hair Dresser\", \"Beauty Parlor\", \"Fitness\" or \"Misc\"");
      return;
    }
    if (!r.Date(e, at, "date", &note.note.day) ||
        !r.Text(e, at, "text", kNoteTextLength, &note.note.text) ||
        !r.Unique(days, (uint64_t{note.category} << 32) | note.note.day, at + ".date",
                  "note for that day in this category")) {
      return;
    }
    out->notes.push_back(std::move(note));
  }
}

void ReadSettingsObject(Reader& r, const json& doc, Records* out) {
  const auto it = doc.find("settings");
  if (it == doc.end()) return;
  if (!it->is_object()) {
    r.Fail("settings", "must be an object");
    return;
  }
  OptionsSettings settings;
  const json* scale = r.Field(*it, "settings", "temperature_scale");
  if (!scale) return;
  if (*scale != "Celsius" && *scale != "Fahrenheit") {
    r.Fail("settings.temperature_scale", "must be \"Celsius\" or \"Fahrenheit\"");
    return;
  }
  settings.celsius = *scale == "Celsius";
  if (r.Bool(*it, "settings", "show_logo", &settings.show_logo) &&
      r.Bool(*it, "settings", "show_min_max", &settings.show_min_max)) {
    out->settings = settings;
  }
}

}  // namespace

const char* LevelName(int level) {
  return level >= 0 && level <= 3 ? kLevelNames[static_cast<size_t>(level)] : "none";
}

std::string IsoDate(DayNumber day) {
  uint16_t y = 0, m = 0, d = 0;
  if (!DayNumberToDate(day, y, m, d)) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u", unsigned{y}, unsigned{m}, unsigned{d});
  return text;
}

bool ParseIsoDate(std::string_view text, DayNumber* day) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  unsigned parts[3] = {0, 0, 0};
  const size_t starts[3] = {0, 5, 8};
  const size_t lengths[3] = {4, 2, 2};
  for (int p = 0; p < 3; ++p) {
    for (size_t i = starts[p]; i < starts[p] + lengths[p]; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      parts[p] = parts[p] * 10 + static_cast<unsigned>(text[i] - '0');
    }
  }
  return DateToDayNumber(static_cast<uint16_t>(parts[0]), static_cast<uint16_t>(parts[1]),
                         static_cast<uint16_t>(parts[2]), *day);
}

std::string ToJson(const Records& records) {
  // In the order a person reads it: what the file is first.
  nlohmann::ordered_json doc = {{"format", kExportFormat}, {"version", kExportVersion}};
  nlohmann::ordered_json& cycles = doc["cycles"] = nlohmann::ordered_json::array();
  for (const CycleRecord& c : records.cycles) {
    cycles.push_back({{"start", IsoDate(c.start)},
                      {"period_length", c.periodLength},
                      {"cycle_length", c.cycleLength}});
  }
  nlohmann::ordered_json& temperatures = doc["temperatures"] = nlohmann::ordered_json::array();
  for (const TemperatureReading& t : records.temperatures) {
    temperatures.push_back({{"date", IsoDate(t.day)}, {"celsius", t.celsius}});
  }
  nlohmann::ordered_json& days = doc["days"] = nlohmann::ordered_json::array();
  for (const PillDay& d : records.days) {
    days.push_back({{"date", IsoDate(d.day)},
                    {"bleeding", LevelName(d.level)},
                    {"pill", d.pill},
                    {"pill_time", ce::ToUtf8(d.time)},
                    {"remark", ce::ToUtf8(d.remark)}});
  }
  nlohmann::ordered_json& notes = doc["notes"] = nlohmann::ordered_json::array();
  for (const CategoryNote& n : records.notes) {
    notes.push_back({{"category", ce::ToUtf8(DiaryCategories()[n.category].shown)},
                     {"date", IsoDate(n.note.day)},
                     {"text", ce::ToUtf8(n.note.text)}});
  }
  if (records.settings) {
    doc["settings"] = {{"temperature_scale", records.settings->celsius ? "Celsius" : "Fahrenheit"},
                       {"show_logo", records.settings->show_logo},
                       {"show_min_max", records.settings->show_min_max}};
  }
  // A stored text that is not whole UTF-16 still leaves as valid UTF-8.
  return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

bool FromJson(std::string_view text, Records* out, std::string* fault) {
  fault->clear();
  *out = Records{};
  const json doc = json::parse(text, nullptr, false);
  if (doc.is_discarded()) {
    *fault = ParseFault(text);
    return false;
  }
  Reader r(fault);
  if (!doc.is_object()) return r.Fail("the document", "must be a JSON object");
  const auto format = doc.find("format");
  if (format == doc.end() || *format != kExportFormat) {
    return r.Fail("format", std::string("this is not a Calvira export (\"format\" must be \"") +
                                kExportFormat + "\")");
  }
  const auto version = doc.find("version");
  if (version == doc.end() || *version != kExportVersion) {
    return r.Fail("version", "this export's version is not one this program reads (it reads " +
                                 std::to_string(kExportVersion) + ")");
  }
  ReadCyclesArray(r, doc, out);
  if (r.ok()) ReadTemperaturesArray(r, doc, out);
  if (r.ok()) ReadDaysArray(r, doc, out);
  if (r.ok()) ReadNotesArray(r, doc, out);
  if (r.ok()) ReadSettingsObject(r, doc, out);
  return r.ok();
}
