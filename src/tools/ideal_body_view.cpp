#include "tools/ideal_body_view.h"

#include "frame/dialog_screen.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "frame/ui_resources.h"
#include "gfx/graphic_buffer.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr int kCaptionFontControls[] = {
    kCtlTitle, kCtlIdealInstruction, kCtlIdealOutputLabel, kCtlIdealInputLabel, kCtlIdealResult,
};

void FillUnits(ce::HWND dialog, int combo, const std::array<BodyUnit, kBodyUnitCount>& units) {
  using namespace ce;
  SendDlgItemMessage(dialog, combo, CB_RESETCONTENT, 0, 0);
  for (const BodyUnit& unit : units) {
    // The table's names are views into literals, so each one ends in its terminator.
    SendDlgItemMessage(dialog, combo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(unit.list_text.data()));
  }
  SendDlgItemMessage(dialog, combo, CB_SETCURSEL, 0, 0);
}

std::u16string FieldText(ce::HWND dialog, int id) {
  char16_t text[kBodyInputBuffer] = {};
  ce::GetDlgItemText(dialog, id, text, kBodyInputBuffer);
  return text;
}

}  // namespace

void CIdealBodyView::OnLoad() {
  const char16_t* weight = LoadString(kStrIdealWeightInstruction);
  const char16_t* height = LoadString(kStrIdealHeightInstruction);
  weight_instruction_ = weight != nullptr ? weight : u"";
  height_instruction_ = height != nullptr ? height : u"";
  background_.Load(kImgListBackground);
}

void CIdealBodyView::OnActivate() {
  active_ = true;
  SetFrameInterval(70);
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
  RunScreenDialog(this, kDlgIdealBody);
  dialog_ = nullptr;
}

bool CIdealBodyView::OnDeactivate() {
  if (!active_) return false;
  active_ = false;
  // Left through the menu while the dialog runs: the dialog goes with the screen, or it would
  // stay over the next one.
  if (dialog_ != nullptr) ce::EndDialog(dialog_, ce::IDCANCEL);
  return true;
}

void CIdealBodyView::Init(ce::HWND dialog) {
  using namespace ce;
  dialog_ = dialog;
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, 0x0A};
  SHInitDialog(&info);
  EnterMode(dialog, BodyMode::kIdealWeight);
  SetDlgItemText(dialog, kCtlTitle, kTextIdealBodyCalculator);
  for (int id : kCaptionFontControls) {
    SendDlgItemMessage(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(CaptionFont()), 0);
  }
}

void CIdealBodyView::EnterMode(ce::HWND dialog, BodyMode mode) {
  using namespace ce;
  mode_ = mode;
  const bool weight = mode == BodyMode::kIdealWeight;
  SetDlgItemText(dialog, kCtlIdealMode,
                 weight ? kTextCalculateIdealHeight : kTextCalculateIdealWeight);
  SetDlgItemText(dialog, kCtlIdealInstruction,
                 (weight ? weight_instruction_ : height_instruction_).c_str());
  SetDlgItemText(dialog, kCtlIdealOutputLabel, weight ? kTextWeight : kTextHeight);
  SetDlgItemText(dialog, kCtlIdealInputLabel, weight ? kTextHeight : kTextWeight);
  FillUnits(dialog, kCtlIdealInputUnit, weight ? kHeightUnits : kWeightUnits);
  FillUnits(dialog, kCtlIdealOutputUnit, weight ? kWeightUnits : kHeightUnits);
  input_unit_ = 0;
  output_unit_ = 0;
}

void CIdealBodyView::Calculate(ce::HWND dialog) {
  using namespace ce;
  const std::u16string text = FieldText(dialog, kCtlIdealInput);
  const BodyCalculation calculation = CalculateIdealBody(mode_, text, input_unit_, output_unit_);
  if (calculation.error) {
    MessageBox(GetForegroundWindow(), calculation.message.c_str(), kTextCalvira, MB_OK);
    return;
  }
  SetDlgItemText(dialog, kCtlIdealResult, calculation.result_text.c_str());
}

void CIdealBodyView::FilterInput(ce::HWND dialog) {
  using namespace ce;
  if (filtering_) return;
  filtering_ = true;
  // Each pass takes out at most one character; a paste may need one per character it brought.
  while (const std::optional<FieldEdit> edit =
             FilterNumericInput(FieldText(dialog, kCtlIdealInput))) {
    SetDlgItemText(dialog, kCtlIdealInput, edit->text.c_str());
    SendDlgItemMessage(dialog, kCtlIdealInput, EM_SETSEL, static_cast<WPARAM>(edit->caret),
                       edit->caret);
  }
  filtering_ = false;
}

ce::INT_PTR CIdealBodyView::OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                            ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG:
      Init(dialog);
      return TRUE;
    case WM_DESTROY:
      dialog_ = nullptr;
      return FALSE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(dialog, &ps);
      background_.Draw(0, 0);
      // Only the part to repaint: the dialog does not clip its children, and only those in
      // this part paint again (a unit list closing uncovers a strip of the dialog).
      const RECT& r = ps.rcPaint;
      CDocument_::GetScreenBuffers()->PresentPart(dialog, r.left, r.top, r.left, r.top, r.right,
                                                  r.bottom);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
      if (id == kCtlTitle) return TitleColours(wparam);
      // The unit lists ask as statics only while disabled, which they never are.
      if (id == kCtlIdealInputUnit || id == kCtlIdealOutputUnit) return FALSE;
      return ControlColours(wparam);
    }
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const WORD code = HIWORD(wparam);
      if (id == kCtlIdealInput) {
        if (code == EN_UPDATE) FilterInput(dialog);
        return TRUE;
      }
      if (id == kCtlIdealInputUnit || id == kCtlIdealOutputUnit) {
        if (code != CBN_SELCHANGE) return FALSE;
        const int selected = static_cast<int>(SendDlgItemMessage(dialog, id, CB_GETCURSEL, 0, 0));
        (id == kCtlIdealInputUnit ? input_unit_ : output_unit_) = selected;
        return TRUE;
      }
      if (code != BN_CLICKED) return FALSE;
      switch (id) {
        case kCtlIdealCalculate:
          Calculate(dialog);
          return TRUE;
        case kCtlIdealMode:
          EnterMode(dialog, mode_ == BodyMode::kIdealWeight ? BodyMode::kIdealHeight
                                                            : BodyMode::kIdealWeight);
          return TRUE;
        case IDCANCEL:
          CDocument_::GoBack();
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    }
    default:
      return FALSE;
  }
}
