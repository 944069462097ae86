#include "cycles/edit_cycle_view.h"

#include "cycles/cycle_form_dialog.h"
#include "cycles/cycle_forms.h"
#include "cycles/cycle_view.h"
#include "cycles/shown_cycle.h"
#include "frame/dialog_screen.h"
#include "frame/screen_look.h"
#include "platform/message_box.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr int kLabels[] = {kCtlEditStartLabel, kCtlEditPeriodLabel, kCtlEditLengthLabel,
                           kCtlEditEndLabel};

}  // namespace

void CEditCycleView::OnLoad() {
  background_.Load(kImgFormBackground);
}

void CEditCycleView::OnActivate() {
  active_ = true;
  CCycleView* cycle_view = CCycleView::Find();
  shown_cycle_index_ = cycle_view != nullptr ? cycle_view->ShownCycleIndex() : 0;
  result_ = RunScreenDialog(this, kDlgEditCycle);
  dialog_ = nullptr;
}

bool CEditCycleView::OnDeactivate() {
  if (!active_) return false;
  active_ = false;
  // Left through the menu while the dialog runs: the dialog goes with the screen, or it would
  // stay under the next one and come back when that one ends.
  if (dialog_ != nullptr) {
    const ce::HWND dialog = dialog_;
    dialog_ = nullptr;
    ce::EndDialog(dialog, ce::IDCANCEL);
  }
  return true;
}

void CEditCycleView::Initialise(ce::HWND dialog) {
  dialog_ = dialog;
  SetUpCycleForm(dialog, kLabels);
  const ShownCycle shown = ReadShownCycle(shown_cycle_index_);
  shown_cycle_index_ = shown.index;
  if (!shown.read) {
    // Nothing to edit: the fields stay empty and OK can do nothing.
    ce::EnableWindow(ce::GetDlgItem(dialog, ce::IDOK), ce::FALSE);
    return;
  }
  const CycleRecord& c = shown.cycle;
  ce::SetDlgItemText(dialog, kCtlEditStart, FormatDate(c.start).c_str());
  ce::SetDlgItemInt(dialog, kCtlEditPeriod, static_cast<ce::UINT>(c.periodLength), ce::TRUE);
  ce::SetDlgItemInt(dialog, kCtlEditLength, static_cast<ce::UINT>(c.cycleLength), ce::TRUE);
  ce::SetDlgItemText(dialog, kCtlEditEnd, FormatDate(CycleEnd(c.start, c.cycleLength)).c_str());
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

ce::INT_PTR CEditCycleView::OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                            ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return TRUE;
    case WM_PAINT:
      PaintScreenPicture(dialog, background_);
      return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return CycleFormColours(wparam, lparam, kLabels);
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const WORD code = HIWORD(wparam);
      if (id == kCtlEditPeriod && code == EN_CHANGE) {
        if (!KeepLengthFieldShort(dialog, id)) {
          const bool empty = FieldText(dialog, id).empty();
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
    default:
      return FALSE;
  }
}
