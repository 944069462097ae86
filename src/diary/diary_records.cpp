#include "diary/diary_records.h"

#include <map>

#include "platform/object_store.h"
#include "platform/text.h"
#include "store/ce_database.h"

namespace {

// "Fitnes" is the database's name as the store has always had it; only the list shows
// "Fitness".
constexpr std::array<DiaryCategory, kDiaryCategoryCount> kCategories = {{
    {u"Doctor", u"Doctors"},
    {u"Hair Dresser", u"HairDressers"},
    {u"Beauty Parlor", u"BeautyParlors"},
    {u"Fitness", u"Fitnes"},
    {u"Misc", u"Miscs"},
}};

constexpr ce::CEPROPID kByDay = ce::PropId(0, ce::CEVT_UI4);
constexpr size_t kDateColumn = 16;

bool OpenCategory(CCeDatabase& db, size_t category) {
  return category < kCategories.size() && db.Open(kCategories[category].database, kByDay);
}

DiaryNote FromArray(const CCePropArray& record) {
  DiaryNote note;
  // Read back, UI4 arrives as I4; the bits are what counts.
  note.day = static_cast<DayNumber>(record.At(0).I4());
  // A record without its text (written by hand, or cut short) shows none, rather than the day.
  if (record.Count() > 1) note.text = record.At(1).String();
  return note;
}

bool WriteNote(CCeDatabase& db, DayNumber day, const std::u16string& text, bool as_new) {
  CCePropArray record;
  CCePropVal value;
  value.SetUI4(day);  // UI4, or the record would drop out of the day order
  if (!record.Append(value)) return false;
  value.SetString(text.c_str());
  if (!record.Append(value)) return false;
  return as_new ? db.WriteNew(record) : db.WriteCurr(record);
}

}  // namespace

const std::array<DiaryCategory, kDiaryCategoryCount>& DiaryCategories() {
  return kCategories;
}

std::u16string CutNoteText(std::u16string_view text) {
  return std::u16string(ce::CutWhole(text, kNoteTextLength));
}

std::vector<DiaryNote> ReadNotes(size_t category) {
  std::vector<DiaryNote> notes;
  CCeDatabase db;
  if (!OpenCategory(db, category)) return notes;
  notes.reserve(db.RecordCount());
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    // A record that cannot be read still holds its line, so that lines and records keep
    // counting alike for Delete.
    notes.push_back(db.ReadCurrRecord(record) ? FromArray(record) : DiaryNote{});
  }
  db.Close();
  return notes;
}

std::u16string NoteLine(const DiaryNote& note) {
  std::u16string line = FormatDate(note.day);
  if (line.size() < kDateColumn) line.resize(kDateColumn, u' ');
  line += note.text;
  return line;
}

std::vector<std::u16string> NoteLines(size_t category) {
  std::vector<std::u16string> lines;
  for (const DiaryNote& note : ReadNotes(category)) lines.push_back(NoteLine(note));
  return lines;
}

uint32_t NoteCount(size_t category) {
  CCeDatabase db;
  if (!OpenCategory(db, category)) return 0;
  const uint32_t count = db.RecordCount();
  db.Close();
  return count;
}

bool SaveNote(size_t category, DayNumber day, std::u16string_view text) {
  // Cut here too: the store ends the program for a text of 200 characters or more.
  const std::u16string kept = CutNoteText(text);
  // One record written, over the day's note or as a new one: the store takes a write whole or
  // not at all, and says so at once when the disk refuses it. (A transaction around it would
  // add nothing but move the failure to a commit that reports nothing.)
  CCeDatabase db;
  if (!OpenCategory(db, category)) return false;
  bool found = false;
  bool ok = true;
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    if (!db.ReadCurrRecord(record) || FromArray(record).day != day) continue;
    found = true;
    ok = WriteNote(db, day, kept, false);
    break;
  }
  if (ok && !found) ok = WriteNote(db, day, kept, true);
  db.Close();
  return ok;
}

bool SaveNotes(size_t category, std::span<const DiaryNote> notes, size_t* replaced) {
  *replaced = 0;
  // A day given twice keeps its later note, as two saves in a row would.
  std::map<DayNumber, std::u16string> wanted;
  for (const DiaryNote& note : notes) wanted[note.day] = CutNoteText(note.text);
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!OpenCategory(db, category)) return false;
  // Only a day's first note is ever shown and saved over, as in SaveNote.
  std::map<DayNumber, ce::CEOID> stored;
  CCePropArray record;
  for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
    if (db.ReadCurrRecord(record)) stored.emplace(FromArray(record).day, db.CurrentRecord());
  }
  bool ok = true;
  for (auto it = wanted.begin(); ok && it != wanted.end(); ++it) {
    const auto found = stored.find(it->first);
    if (found == stored.end()) {
      ok = WriteNote(db, it->first, it->second, true);
    } else {
      ++*replaced;
      ok = db.SeekRecord(found->second) && WriteNote(db, it->first, it->second, false);
    }
  }
  db.Close();
  return ok && CommitChanges(transaction);
}

bool DeleteNoteAt(size_t category, size_t position) {
  CCeDatabase db;
  if (!OpenCategory(db, category)) return false;
  const bool deleted = position < db.RecordCount() &&
                       db.SeekIndex(static_cast<ce::DWORD>(position)) && db.DeleteCurr();
  db.Close();
  return deleted;
}

bool DeleteAllNotes(size_t category) {
  ce::objectstore::Transaction transaction;
  CCeDatabase db;
  if (!OpenCategory(db, category)) return false;
  bool ok = true;
  for (uint32_t i = 0; ok && i < db.RecordCount(); ++i) ok = db.SeekFirst() && db.DeleteCurr();
  db.Close();
  return ok && CommitChanges(transaction);
}
