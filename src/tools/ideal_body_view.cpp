#include "tools/ideal_body_view.h"

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

// The field as the calculator reads it: at most kBodyInputBuffer - 1 characters.
std::u16string InputText(ce::HWND dialog) {
  return ce::GetDlgItemString(dialog, kCtlIdealInput).substr(0, kBodyInputBuffer - 1);
}

}  // namespace

CIdealBodyView::CIdealBodyView()
    : CFormView_(false, {.template_id = kDlgIdealBody, .caption_font = kCaptionFontControls}) {}

void CIdealBodyView::OnLoad() {
  const char16_t* weight = LoadString(kStrIdealWeightInstruction);
  const char16_t* height = LoadString(kStrIdealHeightInstruction);
  weight_instruction_ = weight != nullptr ? weight : u"";
  height_instruction_ = height != nullptr ? height : u"";
  background_.Load(kImgListBackground);
}

void CIdealBodyView::OnActivate() {
  SetFrameInterval(70);
  CFormView_::OnActivate();
}

ce::INT_PTR CIdealBodyView::OnInitDialog(ce::HWND dialog) {
  EnterMode(dialog, BodyMode::kIdealWeight);
  ce::SetDlgItemText(dialog, kCtlTitle, kTextIdealBodyCalculator);
  return ce::TRUE;
}

void CIdealBodyView::OnPaint(ce::HWND dialog, ce::HDC, const ce::RECT& area) {
  background_.Draw(0, 0);
  // Only the part to repaint: the dialog does not clip its children, and only those in this
  // part paint again (a unit list closing uncovers a strip of the dialog).
  CDocument_::GetScreenBuffers()->PresentPart(dialog, area.left, area.top, area.left, area.top,
                                              area.right, area.bottom);
}

ce::INT_PTR CIdealBodyView::OnControlColour(ce::WPARAM dc, ce::LPARAM control) {
  const int id = ce::GetDlgCtrlID(reinterpret_cast<ce::HWND>(control));
  if (id == kCtlTitle) return TitleColours(dc);
  // The unit lists ask as statics only while disabled, which they never are.
  if (id == kCtlIdealInputUnit || id == kCtlIdealOutputUnit) return ce::FALSE;
  return ControlColours(dc);
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
  const std::u16string text = InputText(dialog);
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
  while (const std::optional<FieldEdit> edit = FilterNumericInput(InputText(dialog))) {
    SetDlgItemText(dialog, kCtlIdealInput, edit->text.c_str());
    SendDlgItemMessage(dialog, kCtlIdealInput, EM_SETSEL, static_cast<WPARAM>(edit->caret),
                       edit->caret);
  }
  filtering_ = false;
}

ce::INT_PTR CIdealBodyView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                            ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND) return FALSE;
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
      EnterMode(dialog,
                mode_ == BodyMode::kIdealWeight ? BodyMode::kIdealHeight : BodyMode::kIdealWeight);
      return TRUE;
    case IDCANCEL:
      CDocument_::GoBack();
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}
