// Dialog templates, in dialog units (x * 7 / 4 pixels).
#include "frame/ui_resources.h"
#include "platform/dialog.h"

void RegisterMenuBar();

namespace {

using ce::DialogItemTemplate;
using ce::DialogTemplate;

constexpr ce::DWORD kPopup = ce::WS_POPUP | ce::WS_CAPTION | ce::DS_MODALFRAME;
constexpr ce::DWORD kTab = ce::WS_TABSTOP;

// 292, Help: the text over the framed background, and Done under the frame.
const DialogItemTemplate kHelp[] = {
    {u"BUTTON", 2, u"Done", ce::BS_PUSHBUTTON | kTab, 0, 2, 140, 30, 10},
    {u"STATIC", 1012, u"", ce::SS_LEFT, 0, 3, 3, 120, 134},
};

// 344, the password prompt at start-up: a small box that keeps its own size and place; its
// field shows bullets, not the password.
const DialogItemTemplate kPasswordPrompt[] = {
    {u"STATIC", 1144, u"Enter password:", ce::SS_LEFT, 0, 6, 6, 100, 10},
    {u"EDIT", 1061, u"", ce::ES_AUTOHSCROLL | ce::ES_PASSWORD | ce::WS_BORDER | kTab, 0, 6, 18, 102,
     12},
    {u"BUTTON", 1, u"OK", ce::BS_DEFPUSHBUTTON | kTab, 0, 14, 36, 38, 12},
    {u"BUTTON", 2, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 62, 36, 38, 12},
};

const DialogTemplate kTemplates[] = {
    {292, u"Main Help", kPopup, 0, 0, 139, 156, u"System", 8, kHelp},
    {344, u"Calvira", kPopup, 12, 44, 114, 58, u"System", 8, kPasswordPrompt},
};

}  // namespace

void RegisterUiResources() {
  ce::RegisterDialogTemplates(kTemplates);
  RegisterMenuBar();
}
