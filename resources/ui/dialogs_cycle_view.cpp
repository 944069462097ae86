// Dialog templates of the Cycle View, Add New Cycle and Edit Cycle, in dialog units
// (x * 7 / 4 pixels). All three are sized to the screen when they open.
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
constexpr ce::DWORD kField = ce::ES_LEFT | ce::ES_AUTOHSCROLL | ce::WS_BORDER;
constexpr ce::DWORD kLengthField = kField | ce::ES_NUMBER | kTab;
constexpr ce::DWORD kShownField = kField | ce::ES_READONLY;

// The Cycle View: the time line is drawn under two buttons in the upper right corner.
const DialogItemTemplate kCycleView[] = {
    {u"BUTTON", kCtlCycleAdd, u"Add", ce::BS_DEFPUSHBUTTON | kTab, 0, 107, 1, 30, 10},
    {u"BUTTON", kCtlCycleEdit, u"Edit", ce::BS_PUSHBUTTON | kTab, 0, 107, 15, 30, 10},
};

// Add New Cycle. The start field is no tab stop: taking the focus opens the calendar, which must
// not happen merely because the dialog opened.
const DialogItemTemplate kAddCycle[] = {
    {u"STATIC", kCtlTitle, kTextAddNewCycle, ce::SS_CENTER, 0, 40, 25, 60, 10},
    {u"STATIC", kCtlAddStartLabel, u"Start date", ce::SS_LEFT, 0, 5, 43, 85, 10},
    {u"EDIT", kCtlAddStart, u"", kShownField, 0, 94, 43, 40, 12},
    {u"STATIC", kCtlAddPeriodLabel, u"Period length", ce::SS_LEFT, 0, 5, 60, 85, 10},
    {u"EDIT", kCtlAddPeriod, u"", kLengthField, 0, 94, 60, 25, 12},
    {u"STATIC", kCtlAddPresumedLabel, u"Presumed cycle length", ce::SS_LEFT, 0, 5, 77, 85, 10},
    {u"EDIT", kCtlAddPresumed, u"", kLengthField, 0, 94, 77, 25, 12},
    {u"STATIC", kCtlAddEndLabel, u"Predicted end date", ce::SS_LEFT, 0, 5, 94, 85, 10},
    {u"EDIT", kCtlAddEnd, u"", kShownField, 0, 94, 94, 40, 12},
    {u"BUTTON", ce::IDOK, u"OK", ce::BS_PUSHBUTTON | kTab, 0, 24, 113, 35, 10},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 81, 113, 35, 10},
};

// Edit Cycle: only the period length can be changed.
const DialogItemTemplate kEditCycle[] = {
    {u"STATIC", kCtlTitle, kTextEditCycle, ce::SS_CENTER, 0, 50, 25, 40, 10},
    {u"STATIC", kCtlEditStartLabel, u"Start date", ce::SS_LEFT, 0, 5, 43, 85, 10},
    {u"EDIT", kCtlEditStart, u"", kShownField, 0, 94, 43, 40, 12},
    {u"STATIC", kCtlEditPeriodLabel, u"Period length", ce::SS_LEFT, 0, 5, 60, 85, 10},
    {u"EDIT", kCtlEditPeriod, u"", kLengthField, 0, 94, 60, 25, 12},
    {u"STATIC", kCtlEditLengthLabel, u"Cycle length", ce::SS_LEFT, 0, 5, 77, 85, 10},
    {u"EDIT", kCtlEditLength, u"", kShownField | ce::ES_NUMBER, 0, 94, 77, 25, 12},
    {u"STATIC", kCtlEditEndLabel, u"End date", ce::SS_LEFT, 0, 5, 94, 85, 10},
    {u"EDIT", kCtlEditEnd, u"", kShownField, 0, 94, 94, 40, 12},
    {u"BUTTON", ce::IDOK, u"OK", ce::BS_DEFPUSHBUTTON | kTab, 0, 24, 113, 35, 10},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 81, 113, 35, 10},
};

const DialogTemplate kTemplates[] = {
    // Modeless: shown as soon as it is made.
    {kDlgCycleView, u"Calvira", kPopup | ce::WS_VISIBLE, 0, 0, 139, 156, u"System", 8, kCycleView},
    {kDlgAddCycle, kTextAddNewCycle, kPopup, 0, 0, 139, 158, u"System", 8, kAddCycle},
    {kDlgEditCycle, kTextEditCycle, kPopup, 0, 0, 139, 158, u"System", 8, kEditCycle},
};

}  // namespace

void RegisterCycleViewDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
