#include "cycles/edit_cycle_view.h"

#include "cycles/cycle_form_dialog.h"
#include "cycles/cycle_forms.h"
#include "cycles/cycle_view.h"
#include "cycles/shown_cycle.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// The labels and the buttons are black on cyan, the fields keep their own look; the title and
// the labels are in the caption font.
constexpr int kCyanControls[] = {
    kCtlEditStartLabel, kCtlEditPeriodLabel, kCtlEditLengthLabel, kCtlEditEndLabel,
    ce::IDOK,           ce::IDCANCEL};
constexpr int kCaptionFontControls[] = {kCtlTitle, kCtlEditStartLabel, kCtlEditPeriodLabel,
                                        kCtlEditLengthLabel, kCtlEditEndLabel};

}  // namespace

CEditCycleView::CEditCycleView()
    : CFormView_(false, {.template_id = kDlgEditCycle,
                         .caption_font = kCaptionFontControls,
                         .cyan = kCyanControls}) {}

void CEditCycleView::OnLoad() {
  background_.Load(kImgFormBackground);
}

void CEditCycleView::OnActivate() {
  CCycleView* cycle_view = CCycleView::Find();
  shown_cycle_index_ = cycle_view != nullptr ? cycle_view->ShownCycleIndex() : 0;
  CFormView_::OnActivate();
}

ce::INT_PTR CEditCycleView::OnInitDialog(ce::HWND dialog) {
  const ShownCycle shown = ReadShownCycle(shown_cycle_index_);
  shown_cycle_index_ = shown.index;
  if (!shown.read) {
    // Nothing to edit: the fields stay empty and OK can do nothing.
    ce::EnableWindow(ce::GetDlgItem(dialog, ce::IDOK), ce::FALSE);
    return ce::TRUE;
  }
  const CycleRecord& c = shown.cycle;
  ce::SetDlgItemText(dialog, kCtlEditStart, FormatDate(c.start).c_str());
  ce::SetDlgItemInt(dialog, kCtlEditPeriod, static_cast<ce::UINT>(c.periodLength), ce::TRUE);
  ce::SetDlgItemInt(dialog, kCtlEditLength, static_cast<ce::UINT>(c.cycleLength), ce::TRUE);
  ce::SetDlgItemText(dialog, kCtlEditEnd, FormatDate(CycleEnd(c.start, c.cycleLength)).c_str());
  return ce::TRUE;
}

void CEditCycleView::Leave(ce::HWND dialog, bool keep_shown_cycle, ce::INT_PTR result) {
  if (CCycleView* cycle_view = CCycleView::Find()) cycle_view->SetKeepShownCycle(keep_shown_cycle);
  CDocument_::GoBack();
  ce::EndDialog(dialog, result);
}

void CEditCycleView::OnOk(ce::HWND dialog) {
  const ce::UINT period = ce::GetDlgItemInt(dialog, kCtlEditPeriod, nullptr, ce::FALSE);
  const ce::UINT length = ce::GetDlgItemInt(dialog, kCtlEditLength, nullptr, ce::FALSE);
  switch (CheckPeriodLength(period, length)) {
    case PeriodVerdict::kIncorrect:
      ce::MessageBox(dialog, kTextIncorrectPeriodLength, kTextCalvira, ce::MB_OK);
      return;
    case PeriodVerdict::kZero:
      // Refused as Add New Cycle refuses it: a period of no days would be stored otherwise.
      ce::MessageBox(dialog, kTextPeriodMoreThanZero, kTextEditCycle, ce::MB_OK);
      return;
    case PeriodVerdict::kAccepted:
      break;
  }
  // A write the store refused has been reported; the form stays open rather than pretend.
  if (RewriteShownPeriod(shown_cycle_index_, static_cast<int32_t>(period)) ==
      PeriodRewrite::kFailed) {
    return;
  }
  Leave(dialog, true, ce::IDOK);
}

ce::INT_PTR CEditCycleView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                            ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wparam);
  const WORD code = HIWORD(wparam);
  if (id == kCtlEditPeriod && code == EN_CHANGE) {
    if (!KeepLengthFieldShort(dialog, id)) {
      const bool empty = GetDlgItemString(dialog, id).empty();
      EnableWindow(GetDlgItem(dialog, IDOK), empty ? FALSE : TRUE);
    }
    return TRUE;
  }
  if (id == IDOK && code == BN_CLICKED) {
    OnOk(dialog);
    return TRUE;
  }
  if (id == IDCANCEL && code == BN_CLICKED) {
    Leave(dialog, false, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}
