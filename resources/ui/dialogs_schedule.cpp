// Dialog templates of the schedule: the calendar, the day entry editor, the pill time picker and
// Pill History, in dialog units (x * 7 / 4 pixels). The calendar, the editor and Pill History
// are sized to the screen when they open; the picker keeps its template's place.
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
constexpr ce::DWORD kCheck = ce::BS_AUTOCHECKBOX | kTab;
constexpr ce::DWORD kList = ce::LBS_NOTIFY | ce::WS_VSCROLL | ce::WS_BORDER | kTab;

const DialogItemTemplate kCalendar[] = {
    {u"STATIC", kCtlMonthTitle, u"", ce::SS_CENTER, 0, 48, 3, 42, 10},
};

// The day entry editor: the day as the title, the three bleeding levels under their label, the
// pill with its time button (shown with the pill), the remark, and the three ways out. The
// remark keeps what the record can hold, so what is typed is what is stored.
const DialogItemTemplate kDayEntry[] = {
    {u"STATIC", kCtlTitle, u"", ce::SS_CENTER, 0, 44, 3, 50, 10},
    {u"STATIC", kCtlDayBleedingLabel, u"Bleeding", ce::SS_LEFT, 0, 8, 20, 52, 10},
    {u"BUTTON", kCtlDayHeavy, u"heavy", kCheck | ce::WS_GROUP, 0, 8, 34, 52, 10},
    {u"BUTTON", kCtlDayNormal, u"normal", kCheck, 0, 8, 47, 52, 10},
    {u"BUTTON", kCtlDaySlight, u"slight", kCheck, 0, 8, 60, 52, 10},
    {u"BUTTON", kCtlDayPill, u"Pill", kCheck, 0, 78, 34, 52, 10},
    {u"BUTTON", kCtlDayTime, kTextNoonTime, ce::BS_PUSHBUTTON | kTab, 0, 78, 47, 52, 12},
    {u"EDIT", kCtlDayRemark, u"",
     ce::ES_MULTILINE | ce::ES_AUTOVSCROLL | ce::ES_WANTRETURN | ce::WS_BORDER | kTab, 0, 8, 76,
     122, 48},
    {u"BUTTON", kCtlDayDone, u"Done", ce::BS_DEFPUSHBUTTON | kTab, 0, 7, 130, 40, 10},
    {u"BUTTON", kCtlDayDelete, u"Delete", ce::BS_PUSHBUTTON | kTab, 0, 50, 130, 40, 10},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 93, 130, 40, 10},
};

// The pill time picker: the tiles, arrows and switch are drawn from pictures at fixed pixel
// places (schedule/pill_time.h); the colon stands between the hour and the minutes.
const DialogItemTemplate kPillTime[] = {
    {u"STATIC", kCtlPillTimeColon, u":", ce::SS_CENTER, 0, 26, 18, 6, 10},
    {u"BUTTON", ce::IDOK, u"OK", ce::BS_DEFPUSHBUTTON | kTab, 0, 24, 40, 35, 10},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 78, 40, 35, 10},
};

// Pill History: the pill days in a list and two buttons.
const DialogItemTemplate kPillHistory[] = {
    {u"STATIC", kCtlTitle, kTextPillHistory, ce::SS_CENTER, 0, 42, 2, 55, 10},
    {u"STATIC", kCtlPillHistoryHeader, u"Date-Time", ce::SS_LEFT, 0, 14, 23, 50, 10},
    {u"LISTBOX", kCtlPillHistoryList, u"", kList, 0, 10, 34, 119, 92},
    {u"BUTTON", kCtlPillHistoryDelete, u"Delete", ce::BS_PUSHBUTTON | kTab, 0, 22, 130, 40, 10},
    {u"BUTTON", kCtlPillHistoryDeleteAll, u"DeleteAll", ce::BS_PUSHBUTTON | kTab, 0, 77, 130, 40,
     10},
};

const DialogTemplate kTemplates[] = {
    {kDlgSchedule, u"", ce::WS_POPUP, 0, 0, 139, 156, u"System", 8, kCalendar},
    {kDlgDayEntry, u"", kPopup, 0, 0, 139, 156, u"System", 8, kDayEntry},
    // 240 x 102 pixels of client area: the picker's picture, with the buttons below the tiles.
    {kDlgPillTime, kTextTimeToTakeAPill, kPopup, 0, 52, 137, 59, u"System", 8, kPillTime},
    // Modeless: shown as soon as it is made.
    {kDlgPillHistory, kTextPillHistory, kPopup | ce::WS_VISIBLE, 0, 0, 139, 156, u"System", 8,
     kPillHistory},
};

}  // namespace

void RegisterScheduleDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
