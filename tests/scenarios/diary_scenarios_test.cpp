// My Diary and Add Your Note as a user meets them: notes added for today and for a day picked on
// the calendar, with the typed text kept over the pick; one note per day and category; the cut
// at twenty characters; the categories; deleting one or all; and every way back to the list
// leaving it usable.

#include <tuple>

#include "diary/diary_records.h"
#include "diary/diary_view.h"
#include "diary/note_view.h"
#include "scenarios/cycle_steps.h"

namespace calvira::testing {
namespace {

using Notes = std::vector<std::pair<DayNumber, std::u16string>>;

constexpr size_t kDoctor = 0, kHairDresser = 1;

// The scenarios' today is 6 December 2026: the calendar opens on that month.
const DayNumber kToday = Day(2026, 12, 6);
const DayNumber kDec24 = Day(2026, 12, 24);

CDiaryView* Diary() {
  return static_cast<CDiaryView*>(CDocument_::FindView(kDiaryView));
}

CNoteView* Note() {
  return static_cast<CNoteView*>(CDocument_::FindView(kNoteView));
}

ce::HWND DiaryDialog() {
  return Diary()->Dialog();
}

bool DiaryEnabled() {
  return ce::IsWindowEnabled(DiaryDialog()) != ce::FALSE;
}

Notes Stored(size_t category) {
  Notes out;
  for (const DiaryNote& n : ReadNotes(category)) out.emplace_back(n.day, n.text);
  return out;
}

// A store as an earlier run left it, with these notes.
void StoreNotes(const std::vector<std::pair<size_t, Notes>>& notes) {
  StoreSettings(LogoOff());
  for (const auto& [category, list] : notes) {
    for (const auto& [day, text] : list) ASSERT_TRUE(SaveNote(category, day, text));
  }
}

Scenario& OpenDiary(Scenario& s) {
  return s.Menu(kCmdDiary).Check([] {
    ExpectView(kDiaryView);
    ASSERT_NE(DiaryDialog(), nullptr);
    EXPECT_TRUE(DiaryEnabled());
  });
}

// Add, and Add Your Note for today over the disabled list, starting with `pending`.
Scenario& AddNote(Scenario& s, const std::u16string& pending = u"") {
  return s.TapControl(kCtlDiaryAdd).Check([pending] {
    ExpectView(kNoteView);
    EXPECT_FALSE(DiaryEnabled());
    EXPECT_EQ(std::tuple(Field(kCtlNoteDate), Field(kCtlNoteText)),
              std::tuple("12/6/26", ce::ToUtf8(pending)));
  });
}

// OK or Cancel of the note: back on the list, which takes the pen again.
Scenario& CloseNote(Scenario& s, int button) {
  return s.TapControl(button).Check([] {
    ExpectView(kDiaryView);
    EXPECT_TRUE(DiaryEnabled());
  });
}

// A note cut at twenty characters; the keys back on the list; a note for a day picked on the
// calendar with its typed text kept over the pick; the pending text of the next note.
TEST(Diary, NotesForTodayAndForAPickedDayReplacedPerDayAndCutAtTwenty) {
  Scenario s("diary add");
  s.Before([] { StoreNotes({{kHairDresser, {{kToday, u"Other category"}}}}); });
  OpenDiary(s).Check([] {
    EXPECT_EQ(Shown(kCtlDiaryCategory)->text, u"Doctor");
    EXPECT_TRUE(Items(kCtlDiaryList).empty());
  });
  AddNote(s)
      .Type(u"123456789012345678901")
      .Check([] { EXPECT_EQ(Field(kCtlNoteText), "12345678901234567890"); })
      // The caret stays after the twentieth character: what is typed next is cut again.
      .Type(u"x")
      .Check([] { EXPECT_EQ(Field(kCtlNoteText), "12345678901234567890"); });
  CloseNote(s, ce::IDOK).Check([] {
    EXPECT_EQ(Stored(kDoctor), (Notes{{kToday, u"12345678901234567890"}}));
    EXPECT_EQ(Items(kCtlDiaryList),
              std::vector<std::u16string>{u"12/6/26         12345678901234567890"});
    // The same day of the other category is its own note.
    EXPECT_EQ(Stored(kHairDresser), (Notes{{kToday, u"Other category"}}));
  });
  // The keys reach the list again: Esc is its Cancel, which opens a note.
  s.Key(ce::VK_ESCAPE).Check([] { ExpectView(kNoteView); });
  CloseNote(s, ce::IDCANCEL);
  // Typed, then the date field: the calendar, and the text still there with the picked day.
  // Typing goes on after it.
  // The list waits under the calendar, disabled.
  AddNote(s).Type(u"Eyes").TapControl(kCtlNoteDate).Check([] { EXPECT_FALSE(DiaryEnabled()); });
  s.Screenshot(ShotPath("calendar-pick.png"));  // the calendar as a date picker
  TapDay(s, 24)
      .Check([] {
        ExpectView(kNoteView);
        EXPECT_EQ(std::tuple(Field(kCtlNoteDate), Field(kCtlNoteText), Note()->Day()),
                  std::tuple("12/24/26", "Eyes", kDec24));
      })
      .Type(u" 9am");
  CloseNote(s, ce::IDOK).Check([] {
    EXPECT_EQ(Stored(kDoctor), (Notes{{kToday, u"12345678901234567890"}, {kDec24, u"Eyes 9am"}}));
    EXPECT_EQ(Items(kCtlDiaryList).back(), u"12/24/26        Eyes 9am");
  });
  // The next note starts with the text the field held when the date was last picked, after OK
  // and after Cancel alike; its date is today again.
  AddNote(s, u"Eyes");
  CloseNote(s, ce::IDCANCEL);
  AddNote(s, u"Eyes");
  // Leaving the calendar without a day: the note again, its date and text as they were.
  s.TapControl(kCtlNoteDate).Tap(180, 14).Check([] {
    ExpectView(kNoteView);
    EXPECT_EQ(std::tuple(Field(kCtlNoteDate), Field(kCtlNoteText), DiaryEnabled()),
              std::tuple("12/6/26", "Eyes", false));
  });
  CloseNote(s, ce::IDCANCEL).Check([] { EXPECT_EQ(Stored(kDoctor).size(), 2u); });
  s.RunCleanly();
}

// Each category lists its own notes in date order (deleting is the list screens' walk); the
// category picked is shown again on return. The layout, every note whole under the "Note"
// heading, is the committed pictures'.
TEST(Diary, CategoriesListTheirOwnNotesAndThePickedOneIsShownOnReturn) {
  const DayNumber jan5 = Day(2026, 1, 5), mar3 = Day(2026, 3, 3);
  Scenario s("diary categories");
  s.Before([=] {
    StoreNotes({{kDoctor,
                 {{Day(2026, 1, 14), u"Dentist 10:30"},
                  {Day(2026, 3, 2), u"Eye test"},
                  {Day(2026, 6, 19), u"Check-up, Dr. Weiss"},
                  {Day(2026, 9, 8), u"Flu shot"},
                  {Day(2026, 11, 27), u"Blood test results"},
                  {Day(2026, 11, 30), u"WWWWWWWWWWWWWWWWWWWW"},
                  {Day(2026, 12, 1), u"MMMMMMMMMMMMMMMMMMMM"},
                  {Day(2026, 12, 4), u"Physio"}}},
                {kHairDresser, {{mar3, u"Cut"}, {jan5, u"Colour"}}}});
  });
  OpenDiary(s).TapControlAt(kCtlDiaryList, 20, 40).Wait(10).Screenshot(ShotPath("diary.png"));
  AddNote(s).Type(u"Dentist at 9:15").Wait(10).Screenshot(ShotPath("note.png"));
  CloseNote(s, ce::IDCANCEL);
  PickItem(s, kCtlDiaryCategory, static_cast<int>(kHairDresser)).Check([] {
    EXPECT_EQ(Items(kCtlDiaryList),
              (std::vector<std::u16string>{u"1/5/26          Colour", u"3/3/26          Cut"}));
  });
  AddNote(s).Type(u"Trim");
  CloseNote(s, ce::IDOK).Check([=] {
    EXPECT_EQ(Stored(kHairDresser), (Notes{{jan5, u"Colour"}, {mar3, u"Cut"}, {kToday, u"Trim"}}));
  });
  // Away and back: the dialog is made anew, and its combo box names the category listed.
  s.Menu(kCmdCycleView).Check([] { EXPECT_EQ(DiaryDialog(), nullptr); });
  OpenDiary(s).Check([] {
    EXPECT_EQ(Diary()->Category(), kHairDresser);
    EXPECT_EQ(Shown(kCtlDiaryCategory)->text, u"Hair Dresser");
    EXPECT_EQ(Items(kCtlDiaryList).back(), u"12/6/26         Trim");
  });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
