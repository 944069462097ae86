// The Ideal Body Calculator's dialog template, in dialog units (x * 7 / 4 pixels). It is sized
// to the screen when it opens. The unit lists are filled by the screen, so that they follow its
// mode; the labels and the mode button are named there too.
#include "frame/ui_resources.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"

namespace {

using ce::DialogItemTemplate;
using ce::DialogTemplate;

constexpr ce::DWORD kPopup = ce::WS_POPUP | ce::WS_CAPTION | ce::DS_MODALFRAME;
constexpr ce::DWORD kTab = ce::WS_TABSTOP;
constexpr ce::DWORD kUnitList = ce::CBS_DROPDOWNLIST | ce::WS_VSCROLL | kTab;

// The instruction, the entered number with its unit, the unit of the answer, the two buttons
// that act, the answer, and Cancel at the foot.
const DialogItemTemplate kIdealBody[] = {
    {u"STATIC", kCtlTitle, u"", ce::SS_CENTER, 0, 18, 2, 101, 10},
    {u"STATIC", kCtlIdealInstruction, u"", ce::SS_LEFT, 0, 4, 18, 130, 20},
    {u"STATIC", kCtlIdealInputLabel, u"", ce::SS_LEFT, 0, 4, 47, 34, 10},
    {u"EDIT", kCtlIdealInput, u"", ce::ES_AUTOHSCROLL | ce::WS_BORDER | kTab, 0, 40, 45, 40, 12},
    {u"COMBOBOX", kCtlIdealInputUnit, u"", kUnitList, 0, 84, 45, 50, 70},
    {u"STATIC", kCtlIdealOutputLabel, u"", ce::SS_LEFT, 0, 4, 64, 34, 10},
    {u"COMBOBOX", kCtlIdealOutputUnit, u"", kUnitList, 0, 84, 62, 50, 70},
    {u"BUTTON", kCtlIdealCalculate, u"Calculate", ce::BS_PUSHBUTTON | kTab, 0, 4, 80, 40, 12},
    {u"BUTTON", kCtlIdealMode, u"Calculate ideal height", ce::BS_PUSHBUTTON | kTab, 0, 50, 80, 84,
     12},
    {u"STATIC", kCtlIdealResult, u"", ce::SS_LEFT, 0, 4, 97, 130, 34},
    {u"BUTTON", ce::IDCANCEL, u"Cancel", ce::BS_PUSHBUTTON | kTab, 0, 49, 137, 40, 12},
};

const DialogTemplate kTemplates[] = {
    {kDlgIdealBody, u"Ideal Body Calculator", kPopup, 0, 0, 137, 153, u"System", 8, kIdealBody},
};

}  // namespace

void RegisterIdealBodyDialogs() {
  ce::RegisterDialogTemplates(kTemplates);
}
