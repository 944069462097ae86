// Dialog templates, in dialog units (x * 7 / 4 pixels).
#include "frame/ui_resources.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"

namespace {

using ce::DialogItemTemplate;
using ce::DialogTemplate;

constexpr ce::DWORD kPopup = ce::WS_POPUP | ce::WS_CAPTION | ce::DS_MODALFRAME;
constexpr ce::DWORD kTab = ce::WS_TABSTOP;

// Help: the text over the framed background, and Done under the frame.
const DialogItemTemplate kHelp[] = {
    {u"BUTTON", ce::IDCANCEL, u"Done", ce::BS_PUSHBUTTON | kTab, 0, 2, 140, 30, 10},
    {u"STATIC", kCtlTitle, u"", ce::SS_LEFT, 0, 3, 3, 120, 134},
};

// The password prompt at start-up: a small box that keeps its own size and place; its
// field shows bullets, not the password.
const DialogItemTemplate kPasswordPrompt[] = {
    {u"STATIC", kCtlPasswordLabel, u"Enter password:", ce::SS_LEFT, 0, 6, 6, 100, 10},
    {u"EDIT", kCtlPasswordField, u"", ce::ES_AUTOHSCROLL | ce::ES_PASSWORD | ce::WS_BORDER | kTab,
     0, 6, 18, 102, 12},
    {u"BUTTON", ce::IDOK, u"OK", ce::BS_DEFPUSHBUTTON | kTab, 0, 14, 36, 38, 12},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 62, 36, 38, 12},
};

const DialogTemplate kTemplates[] = {
    {kDlgHelp, u"Main Help", kPopup, 0, 0, 139, 156, u"System", 8, kHelp},
    {kDlgPasswordPrompt, u"Calvira", kPopup, 12, 44, 114, 58, u"System", 8, kPasswordPrompt},
};

}  // namespace

void RegisterUiResources() {
  ce::RegisterDialogTemplates(kTemplates);
  RegisterScheduleDialogs();
  RegisterCycleListDialogs();
  RegisterCycleViewDialogs();
  RegisterIdealBodyDialogs();
  RegisterPasswordOptionsDialogs();
  RegisterTemperatureDialogs();
  RegisterChartDialogs();
  RegisterDiaryDialogs();
}
