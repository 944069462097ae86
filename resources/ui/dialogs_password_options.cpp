// Dialog templates of the Password and Options screens, in dialog units (x * 7 / 4 pixels).
// Both are sized to the screen when they open.
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
// The fields show a bullet for each character typed, never the password.
constexpr ce::DWORD kSecretField =
    ce::ES_LEFT | ce::ES_AUTOHSCROLL | ce::ES_PASSWORD | ce::WS_BORDER | kTab;

// Password: the current password, the new one and the new one again, on the form background.
const DialogItemTemplate kPassword[] = {
    {u"STATIC", kCtlTitle, kTextPassword, ce::SS_CENTER, 0, 40, 25, 60, 10},
    {u"STATIC", kCtlPasswordCurrentLabel, u"Password", ce::SS_LEFT, 0, 5, 45, 60, 10},
    {u"EDIT", kCtlPasswordCurrent, u"", kSecretField, 0, 69, 44, 64, 12},
    {u"STATIC", kCtlPasswordNewLabel, u"New Password", ce::SS_LEFT, 0, 5, 63, 60, 10},
    {u"EDIT", kCtlPasswordNew, u"", kSecretField, 0, 69, 62, 64, 12},
    {u"STATIC", kCtlPasswordVerifyLabel, u"Verify Password", ce::SS_LEFT, 0, 5, 81, 60, 10},
    {u"EDIT", kCtlPasswordVerify, u"", kSecretField, 0, 69, 80, 64, 12},
    {u"BUTTON", ce::IDOK, u"OK", ce::BS_DEFPUSHBUTTON | kTab, 0, 24, 105, 35, 10},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 81, 105, 35, 10},
};

// Options: the logo box at the top, then the chart's box and the scale's pair in their groups.
// The pair are plain radio buttons: the screen ticks them itself, as it keeps the scale.
const DialogItemTemplate kOptions[] = {
    {u"STATIC", kCtlTitle, kTextOptions, ce::SS_CENTER, 0, 44, 6, 50, 10},
    {u"BUTTON", kCtlOptionsDisableLogo, u"Disable logo", ce::BS_AUTOCHECKBOX | kTab, 0, 10, 22, 70,
     10},
    {u"BUTTON", kCtlOptionsChartGroup, u"Cycle chart", ce::BS_GROUPBOX, 0, 5, 38, 127, 28},
    {u"BUTTON", kCtlOptionsShowMinMax, u"Show min/max length", ce::BS_AUTOCHECKBOX | kTab, 0, 12,
     50, 100, 10},
    {u"BUTTON", kCtlOptionsScaleGroup, u"Temperature scale", ce::BS_GROUPBOX, 0, 5, 72, 127, 42},
    {u"BUTTON", kCtlOptionsCelsius, u"Celsius", ce::BS_RADIOBUTTON | kTab, 0, 12, 84, 60, 10},
    {u"BUTTON", kCtlOptionsFahrenheit, u"Fahrenheit", ce::BS_RADIOBUTTON | kTab, 0, 12, 98, 60, 10},
    {u"BUTTON", ce::IDOK, u"OK", ce::BS_DEFPUSHBUTTON | kTab, 0, 24, 124, 35, 10},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 81, 124, 35, 10},
};

const DialogTemplate kTemplates[] = {
    {kDlgPassword, kTextPassword, kPopup, 0, 0, 139, 158, u"System", 8, kPassword},
    {kDlgOptions, kTextOptions, kPopup, 0, 0, 139, 158, u"System", 8, kOptions},
};

}  // namespace

void RegisterPasswordOptionsDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
