// Dialog templates of My Diary and Add Your Note, in dialog units (x * 7 / 4 pixels). My Diary
// is sized to the screen when it opens; Add Your Note keeps its size and place over it.
#include "frame/ui_resources.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

using ce::DialogItemTemplate;
using ce::DialogTemplate;

constexpr ce::DWORD kPopup = ce::WS_POPUP | ce::WS_CAPTION | ce::DS_MODALFRAME;
constexpr ce::DWORD kTab = ce::WS_TABSTOP;
constexpr ce::DWORD kList = ce::LBS_NOTIFY | ce::WS_VSCROLL | ce::WS_BORDER | kTab;
constexpr ce::DWORD kField = ce::ES_LEFT | ce::ES_AUTOHSCROLL | ce::WS_BORDER;

// My Diary: the category above the notes, one line each under the two headings, and three
// buttons. The category is a list to choose from, not a field to type in: a typed name would
// name no category.
const DialogItemTemplate kDiary[] = {
    {u"STATIC", kCtlTitle, kTextMyDiary, ce::SS_LEFT, 0, 50, 2, 39, 10},
    {u"COMBOBOX", kCtlDiaryCategory, u"", ce::CBS_DROPDOWNLIST | ce::WS_VSCROLL | kTab, 0, 78, 17,
     55, 57},
    {u"STATIC", kCtlDiaryDateHeading, kTextDate, ce::SS_LEFT, 0, 8, 36, 24, 8},
    // Over the notes' column: 16 characters of the list's font into its text.
    {u"STATIC", kCtlDiaryNoteHeading, kTextNote, ce::SS_LEFT, 0, 54, 36, 22, 8},
    {u"LISTBOX", kCtlDiaryList, u"", kList, 0, 7, 48, 126, 80},
    {u"BUTTON", kCtlDiaryAdd, u"Add", ce::BS_DEFPUSHBUTTON | kTab, 0, 7, 138, 40, 10},
    {u"BUTTON", kCtlDiaryDelete, u"Delete", ce::BS_PUSHBUTTON | kTab, 0, 50, 138, 40, 10},
    {u"BUTTON", kCtlDiaryDeleteAll, u"Delete All", ce::BS_PUSHBUTTON | kTab, 0, 93, 138, 40, 10},
};

// Add Your Note. The date field is no tab stop: taking the focus opens the calendar, which must
// not happen merely because the pop-up opened.
const DialogItemTemplate kNote[] = {
    {u"STATIC", kCtlNoteDateLabel, kTextDate, ce::SS_LEFT, 0, 6, 3, 21, 8},
    {u"EDIT", kCtlNoteDate, u"", kField | ce::ES_READONLY, 0, 34, 3, 35, 12},
    {u"STATIC", kCtlNoteTextLabel, kTextTypeYourTextHere, ce::SS_LEFT, 0, 6, 18, 102, 10},
    {u"EDIT", kCtlNoteText, u"", kField | kTab, 0, 3, 28, 128, 12},
    {u"BUTTON", ce::IDOK, u"OK", ce::BS_DEFPUSHBUTTON | kTab, 0, 21, 44, 34, 10},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 78, 44, 35, 10},
};

const DialogTemplate kTemplates[] = {
    // Modeless: shown as soon as it is made. The drop-down list closing repaints the picture
    // under it, which must not draw over the other controls.
    {kDlgDiary, kTextMyDiary, kPopup | ce::WS_VISIBLE | ce::WS_CLIPCHILDREN, 0, 0, 140, 158,
     u"System", 8, kDiary},
    {kDlgNote, kTextAddYourNote, kPopup, 1, 53, 133, 58, u"System", 8, kNote},
};

}  // namespace

void RegisterDiaryDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
