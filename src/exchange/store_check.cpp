#include "exchange/store_check.h"

#include <map>
#include <set>

#include "exchange/json_format.h"
#include "platform/object_store.h"
#include "platform/text.h"
#include "schedule/pill_records.h"
#include "store/catalogue.h"
#include "store/settings.h"

namespace {

using ce::WORD;

// The properties each database's screens read, by number, and whether property 0 is a date.
struct Layout {
  const char16_t* database;
  std::vector<WORD> types;
  bool dated;
};

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout> layouts = {
      {u"Cycles", {ce::CEVT_UI4, ce::CEVT_I4, ce::CEVT_I4}, true},
      {u"Temperature", {ce::CEVT_UI4, ce::CEVT_R8}, true},
      {u"Pill", {ce::CEVT_UI4, ce::CEVT_I2, ce::CEVT_BOOL, ce::CEVT_LPWSTR, ce::CEVT_LPWSTR}, true},
      {u"Systems",
       {ce::CEVT_LPWSTR, ce::CEVT_BOOL, ce::CEVT_BOOL, ce::CEVT_UI2, ce::CEVT_BOOL, ce::CEVT_BOOL},
       false},
      {u"Doctors", {ce::CEVT_UI4, ce::CEVT_LPWSTR}, true},
      {u"HairDressers", {ce::CEVT_UI4, ce::CEVT_LPWSTR}, true},
      {u"BeautyParlors", {ce::CEVT_UI4, ce::CEVT_LPWSTR}, true},
      {u"Fitnes", {ce::CEVT_UI4, ce::CEVT_LPWSTR}, true},
      {u"Miscs", {ce::CEVT_UI4, ce::CEVT_LPWSTR}, true},
  };
  return layouts;
}

// One record as read, its properties by number.
struct Record {
  ce::CEOID oid = 0;
  std::map<WORD, ce::CEPROPVAL> props;
  const ce::CEPROPVAL* Prop(WORD number, WORD type) const {
    const auto it = props.find(number);
    return it != props.end() && ce::TypeFromPropId(it->second.propid) == type ? &it->second
                                                                              : nullptr;
  }
};

struct Database {
  std::u16string name;
  const Layout* layout = nullptr;
  ce::HANDLE handle = ce::INVALID_HANDLE_VALUE;
  ce::CePropBuffer buffer;  // holds the strings of `records`
  std::vector<Record> records;
};

// Opens the database sorted by its first sort order and reads every record. Null when missing.
std::unique_ptr<Database> Load(const CatalogueEntry& entry) {
  auto db = std::make_unique<Database>();
  db->name = entry.name;
  for (const Layout& layout : Layouts()) {
    if (db->name == layout.database) db->layout = &layout;
  }
  db->handle = ce::CeOpenDatabase(nullptr, entry.name, entry.sort1, 0, nullptr);
  if (db->handle == ce::INVALID_HANDLE_VALUE) return nullptr;
  std::vector<std::pair<ce::CEOID, size_t>> spans;  // record, first property in the buffer
  ce::CePropBuffer one;
  for (ce::CEOID oid = ce::CeSeekDatabase(db->handle, ce::CEDB_SEEK_BEGINNING, 0, nullptr);
       oid != 0; oid = ce::CeSeekDatabase(db->handle, ce::CEDB_SEEK_CURRENT, 1, nullptr)) {
    ce::CeReadRecordProps(db->handle, one);
    Record record;
    record.oid = oid;
    for (const ce::CEPROPVAL& p : one.props()) db->buffer.add(p);
    spans.push_back({oid, one.props().size()});
    db->records.push_back(std::move(record));
  }
  // Only now, with the buffer complete, do the values' addresses stay put.
  size_t at = 0;
  const auto props = db->buffer.props();
  for (size_t r = 0; r < db->records.size(); ++r) {
    for (size_t i = 0; i < spans[r].second; ++i, ++at) {
      db->records[r].props.emplace(ce::NumberFromPropId(props[at].propid), props[at]);
    }
  }
  return db;
}

void Close(Database& db) {
  if (db.handle != ce::INVALID_HANDLE_VALUE) ce::CloseHandle(db.handle);
  db.handle = ce::INVALID_HANDLE_VALUE;
}

// The record's date when it has one the screens can show.
bool ShownDate(const Record& r, DayNumber* day) {
  const ce::CEPROPVAL* p = r.Prop(0, ce::CEVT_UI4);
  if (!p) return false;
  *day = p->val.ulVal;
  DayNumber first = 0, last = 0;
  DateToDayNumber(1582, 1, 1, first);
  DateToDayNumber(9366, 12, 31, last);
  return *day >= first && *day <= last;
}

std::string Where(const Database& db, const Record& r) {
  std::string where = ce::ToUtf8(db.name);
  DayNumber day = 0;
  if (db.layout && db.layout->dated && r.Prop(0, ce::CEVT_UI4)) {
    where += ShownDate(r, &day) ? ", " + IsoDate(day) : ", day number " + std::to_string(day);
  }
  return where + " (record " + std::to_string(r.oid) + ")";
}

bool IsEmptyPill(const Record& r) {
  const ce::CEPROPVAL* level = r.Prop(1, ce::CEVT_I2);
  const ce::CEPROPVAL* pill = r.Prop(2, ce::CEVT_BOOL);
  const ce::CEPROPVAL* remark = r.Prop(3, ce::CEVT_LPWSTR);
  return (!level || level->val.iVal == 0) && (!pill || pill->val.boolVal == 0) &&
         (!remark || !remark->val.lpwstr || remark->val.lpwstr[0] == 0);
}

size_t TextLength(const ce::CEPROPVAL& p) {
  return p.val.lpwstr ? std::char_traits<char16_t>::length(p.val.lpwstr) : 0;
}

// What a repair would do to one record, found by the same walk as the check.
enum class Fix { kNone, kDrop };

void CheckRecords(Database& db, std::vector<Breach>* out,
                  std::vector<std::pair<Record*, Fix>>* fixes) {
  std::set<DayNumber> days;
  for (Record& r : db.records) {
    Fix fix = Fix::kNone;
    const auto breach = [&](const std::string& what) { out->push_back({Where(db, r), what}); };
    for (const auto& [number, p] : r.props) {
      const WORD type = ce::TypeFromPropId(p.propid);
      if (db.layout && number < db.layout->types.size() && db.layout->types[number] != type) {
        breach("property " + std::to_string(number) + " is " + PropTypeName(type) +
               "; the program reads it as " + PropTypeName(db.layout->types[number]));
      }
      if (type == ce::CEVT_LPWSTR && TextLength(p) > kPillTextLimit) {
        breach("a text of " + std::to_string(TextLength(p)) +
               " characters; the program ends when a screen reads one of 200 or more");
      }
    }
    if (!db.layout || !db.layout->dated) {
      if (fixes) fixes->push_back({&r, fix});
      continue;
    }
    DayNumber day = 0;
    if (!ShownDate(r, &day)) {
      breach("a date the program cannot show");
      fix = Fix::kDrop;
    } else if (db.name == u"Pill" && IsEmptyPill(r)) {
      breach("an empty record (no bleeding, no pill, no remark)");
      fix = Fix::kDrop;
    } else if ((db.name == u"Pill" || db.name == u"Temperature") && !days.insert(day).second) {
      breach("a second record for the day");
      if (db.name == u"Pill") fix = Fix::kDrop;
    }
    if (fixes) fixes->push_back({&r, fix});
  }
}

void CheckCycles(const Database& db, std::vector<Breach>* out) {
  for (size_t i = 0; i + 1 < db.records.size(); ++i) {
    const ce::CEPROPVAL* start = db.records[i].Prop(0, ce::CEVT_UI4);
    const ce::CEPROPVAL* next = db.records[i + 1].Prop(0, ce::CEVT_UI4);
    const ce::CEPROPVAL* length = db.records[i].Prop(2, ce::CEVT_I4);
    if (!start || !next || !length) continue;
    const int64_t distance = int64_t{next->val.ulVal} - start->val.ulVal;
    if (length->val.lVal != distance) {
      out->push_back({Where(db, db.records[i]), "cycle length " + std::to_string(length->val.lVal) +
                                                    ", but the next cycle starts " +
                                                    std::to_string(distance) + " days later"});
    }
  }
}

void CheckSettings(const Database& db, std::vector<Breach>* out) {
  if (db.records.empty()) {
    out->push_back({"Systems", "no settings record", true});
    return;
  }
  const Record& r = db.records.front();
  bool whole = r.props.size() == kSettingCount;
  for (WORD n = 0; n < kSettingCount; ++n) whole = whole && r.Prop(n, db.layout->types[n]);
  if (!whole) {
    out->push_back({Where(db, r), "the settings record does not hold its six properties", true});
  }
}

// Reads every catalogued database; missing ones and wrong sort orders are structural breaches.
std::vector<std::unique_ptr<Database>> LoadAll(std::vector<Breach>* out) {
  std::vector<std::unique_ptr<Database>> all;
  for (const CatalogueEntry& entry : DatabaseCatalogue()) {
    const std::string name = ce::ToUtf8(entry.name);
    std::unique_ptr<Database> db = Load(entry);
    if (!db) {
      out->push_back({name, "the database is missing", true});
      continue;
    }
    ce::CEDBASEINFO info{};
    ce::CEOID oid = 0;
    ce::HANDLE find = ce::CeFindFirstDatabase(0);
    while (find != ce::INVALID_HANDLE_VALUE && (oid = ce::CeFindNextDatabase(find)) != 0) {
      if (ce::CeGetDatabaseInfo(oid, &info) && db->name == info.szDbaseName) break;
    }
    if (find != ce::INVALID_HANDLE_VALUE) ce::CloseHandle(find);
    if (oid == 0 || info.rgSortSpecs[0].propid != entry.sort1 ||
        info.rgSortSpecs[1].propid != entry.sort2) {
      out->push_back({name, "the database's sort orders are not the program's", true});
    }
    all.push_back(std::move(db));
  }
  return all;
}

}  // namespace

const char* PropTypeName(ce::WORD type) {
  switch (type) {
    case ce::CEVT_I2:
      return "I2";
    case ce::CEVT_UI2:
      return "UI2";
    case ce::CEVT_I4:
      return "I4";
    case ce::CEVT_UI4:
      return "UI4";
    case ce::CEVT_BOOL:
      return "BOOL";
    case ce::CEVT_R8:
      return "R8";
    case ce::CEVT_LPWSTR:
      return "LPWSTR";
    default:
      return "UNKNOWN";
  }
}

std::vector<Breach> CheckStore() {
  std::vector<Breach> out;
  ce::objectstore::ReadSnapshot snapshot;
  std::vector<std::string> problems;
  if (!ce::objectstore::IntegrityProblems(&problems)) {
    out.push_back({"the store file", "SQLite's integrity check could not run", true});
  }
  for (const std::string& p : problems) out.push_back({"the store file", p, true});
  for (const auto& db : LoadAll(&out)) {
    CheckRecords(*db, &out, nullptr);
    if (db->name == u"Cycles") CheckCycles(*db, &out);
    if (db->name == u"Systems") CheckSettings(*db, &out);
    Close(*db);
  }
  return out;
}

bool RepairStore(std::vector<std::string>* changes) {
  std::vector<Breach> ignored;
  ce::objectstore::Transaction transaction;
  bool ok = true;
  for (const auto& db : LoadAll(&ignored)) {
    std::vector<std::pair<Record*, Fix>> fixes;
    CheckRecords(*db, &ignored, &fixes);
    for (auto& [record, fix] : fixes) {
      const std::string where = Where(*db, *record);
      if (fix == Fix::kDrop) {
        ok = ok && ce::CeDeleteRecord(db->handle, record->oid);
        changes->push_back(where + ": removed");
        continue;
      }
      for (auto& [number, p] : record->props) {
        if (ce::TypeFromPropId(p.propid) != ce::CEVT_LPWSTR || TextLength(p) <= kPillTextLimit) {
          continue;
        }
        const std::u16string cut(ce::CutWhole(p.val.lpwstr, kPillTextLimit));
        ce::CEPROPVAL value = p;
        value.val.lpwstr = cut.c_str();
        ok = ok && ce::CeWriteRecordProps(db->handle, record->oid, 1, &value) != 0;
        changes->push_back(where + ": text of property " + std::to_string(number) + " cut to " +
                           std::to_string(cut.size()) + " characters");
      }
    }
    Close(*db);
  }
  if (!ok || !transaction.Commit()) {
    changes->clear();
    return false;
  }
  return true;
}
