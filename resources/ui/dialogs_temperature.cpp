// Dialog template of Temp History, in dialog units (x * 7 / 4 pixels). It is sized to the
// screen when it opens; the places are those of the handheld's screen.
#include "frame/ui_resources.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"

namespace {

using ce::DialogItemTemplate;
using ce::DialogTemplate;

constexpr ce::DWORD kPopup = ce::WS_POPUP | ce::WS_CAPTION | ce::DS_MODALFRAME;
constexpr ce::DWORD kTab = ce::WS_TABSTOP;
constexpr ce::DWORD kList = ce::LBS_NOTIFY | ce::WS_VSCROLL | ce::WS_BORDER | kTab;

// Temp History: the readings in a fixed-pitch list and three buttons. The value picker comes
// after the list, so that it lies over the list's right part when it is shown. The screen hides
// the picker and both unit labels as the dialog opens, then shows the label of its scale.
const DialogItemTemplate kTempHistory[] = {
    {u"BUTTON", kCtlTempAdd, u"Add", ce::BS_DEFPUSHBUTTON | kTab, 0, 4, 130, 39, 10},
    {u"BUTTON", kCtlTempDelete, u"Delete", ce::BS_PUSHBUTTON | kTab, 0, 50, 130, 39, 10},
    {u"BUTTON", kCtlTempDeleteAll, u"Delete All", ce::BS_PUSHBUTTON | kTab, 0, 96, 130, 39, 10},
    {u"STATIC", kCtlTitle, u"Temp History", ce::SS_LEFT, 0, 42, 2, 55, 10},
    {u"STATIC", kCtlTempHeader, u"Date - Temperature", ce::SS_LEFT, 0, 14, 23, 75, 10},
    {u"LISTBOX", kCtlTempList, u"", kList, 0, 10, 34, 119, 92},
    {u"LISTBOX", kCtlTempPicker, u"", kList, 0, 85, 34, 45, 92},
    {u"STATIC", kCtlTempCelsius, u"\u00B0C", ce::SS_CENTER | ce::WS_BORDER, 0, 105, 24, 12, 10},
    {u"STATIC", kCtlTempFahrenheit, u"\u00B0F", ce::SS_CENTER | ce::WS_BORDER, 0, 117, 24, 12, 10},
};

const DialogTemplate kTemplates[] = {
    // Modeless: shown as soon as it is made. Hiding the picker repaints the picture under it,
    // which must not draw over the other controls (the handheld clips every window's children).
    {kDlgTempHistory, u"Temp History", kPopup | ce::WS_VISIBLE | ce::WS_CLIPCHILDREN, 0, 0, 139,
     156, u"System", 8, kTempHistory},
};

}  // namespace

void RegisterTemperatureDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
