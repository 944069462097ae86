// The diary's five databases, one per category: at most one note per day, {UI4 day, LPWSTR
// text}, walked in the order of the day. Every operation opens the category's database, works
// and closes it again; My Diary and Add Your Note read and change notes only through here.
#pragma once

#include <span>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cycles/day_number.h"

struct DiaryCategory {
  const char16_t* shown;     // in the drop-down list
  const char16_t* database;  // as the catalogue creates it
};

inline constexpr size_t kDiaryCategoryCount = 5;
// By index, the order of the drop-down list: "Doctor" (0) first.
const std::array<DiaryCategory, kDiaryCategoryCount>& DiaryCategories();

// A note keeps at most this many characters of what was typed.
inline constexpr size_t kNoteTextLength = 20;
// The first kNoteTextLength characters of `text`.
std::u16string CutNoteText(std::u16string_view text);

struct DiaryNote {
  DayNumber day = 0;
  std::u16string text;
};

// Every note of the category, in ascending order of the day: the order of the list, in which a
// line's position is its record's. Empty for a category index out of range.
std::vector<DiaryNote> ReadNotes(size_t category);

// The list's line of a note: the date text padded with blanks to 16 characters, then the text.
std::u16string NoteLine(const DiaryNote& note);
// The lines of every note of the category, in list order.
std::vector<std::u16string> NoteLines(size_t category);

// The number of notes of the category.
uint32_t NoteCount(size_t category);

// Stores the note for the day, cut to kNoteTextLength: over the first note of that day, or as a
// new record when the day has none, in one write. False with nothing changed when the store
// refused (it has shown why) or the category does not exist.
bool SaveNote(size_t category, DayNumber day, std::u16string_view text);

// Stores many notes of the category as SaveNote stores each, in one unit and one pass over the
// database, for an import. `replaced` counts the notes whose day had one already. False with
// nothing changed when the store refused or the category does not exist.
bool SaveNotes(size_t category, std::span<const DiaryNote> notes, size_t* replaced);

// Deletes the note at `position` (0 = the earliest day). False with nothing changed when there
// is no such note or the store refused.
bool DeleteNoteAt(size_t category, size_t position);

// Deletes every note of the category, all or none. False with nothing changed when the store
// refused.
bool DeleteAllNotes(size_t category);
