#include "cycles/add_cycle_view.h"

#include <iterator>

#include "cycles/cycle_form_dialog.h"
#include "cycles/cycle_forms.h"
#include "cycles/cycle_records.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// The labels and the buttons are black on cyan, the fields keep their own look; the title and
// the labels are in the caption font.
constexpr int kCyanControls[] = {kCtlAddStartLabel, kCtlAddPeriodLabel, kCtlAddPresumedLabel,
                                 kCtlAddEndLabel,   ce::IDOK,           ce::IDCANCEL};
constexpr int kCaptionFontControls[] = {kCtlTitle, kCtlAddStartLabel, kCtlAddPeriodLabel,
                                        kCtlAddPresumedLabel, kCtlAddEndLabel};

}  // namespace

CAddCycleView::CAddCycleView()
    : CFormView_(false, {.template_id = kDlgAddCycle,
                         .caption_font = kCaptionFontControls,
                         .cyan = kCyanControls}) {
  pending_start_ = TodayDayNumber();
  pending_start_text_ = FormatDate(pending_start_);
}

void CAddCycleView::OnLoad() {
  background_.Load(kImgFormBackground);
}

void CAddCycleView::OnParams(const ViewParams* params) {
  if (params == nullptr) return;
  pending_start_text_ = DateTextOf(*params);
  pending_start_ = params->day_number;
}

void CAddCycleView::OnActivate() {
  start_ = pending_start_;
  start_text_ = pending_start_text_;
  CFormView_::OnActivate();
}

ce::INT_PTR CAddCycleView::OnInitDialog(ce::HWND dialog) {
  ce::SetDlgItemText(dialog, kCtlAddStart, start_text_.c_str());
  // Each default reports its change, which fills the predicted end and enables OK.
  ce::SetDlgItemText(dialog, kCtlAddPeriod, u"5");
  ce::SetDlgItemText(dialog, kCtlAddPresumed, u"28");
  return ce::TRUE;
}

void CAddCycleView::OnFieldChanged(ce::HWND dialog, int id) {
  if (KeepLengthFieldShort(dialog, id)) return;
  const bool empty = ce::GetDlgItemString(dialog, id).empty();
  if (id == kCtlAddPresumed) {
    const ce::UINT presumed = ce::GetDlgItemInt(dialog, id, nullptr, ce::FALSE);
    predicted_end_text_ = PredictedEndText(start_, start_text_, empty, presumed);
    ce::SetDlgItemText(dialog, kCtlAddEnd, predicted_end_text_.c_str());
  }
  ce::EnableWindow(ce::GetDlgItem(dialog, ce::IDOK), empty ? ce::FALSE : ce::TRUE);
}

void CAddCycleView::Leave(ce::HWND dialog, int32_t next_view, ce::INT_PTR result) {
  CDocument_::SetView(next_view);
  ce::EndDialog(dialog, result);
}

void CAddCycleView::OnOk(ce::HWND dialog) {
  const ce::UINT period = ce::GetDlgItemInt(dialog, kCtlAddPeriod, nullptr, ce::FALSE);
  const ce::UINT presumed = ce::GetDlgItemInt(dialog, kCtlAddPresumed, nullptr, ce::FALSE);
  switch (CheckPeriodLength(period, presumed)) {
    case PeriodVerdict::kIncorrect:
      ce::MessageBox(dialog, kTextIncorrectPeriodLength, kTextCalvira, ce::MB_OK);
      return;
    case PeriodVerdict::kZero:
      ce::MessageBox(dialog, kTextPeriodMoreThanZero, kTextAddNewCycle, ce::MB_OK);
      return;
    case PeriodVerdict::kAccepted:
      break;
  }
  // A duplicate start was refused with its own message and changes nothing, and the form is
  // done with. A store that refused the write has shown why; the form stays, with what was
  // typed, so that nothing looks stored that is not.
  if (AddCycle(start_, static_cast<int32_t>(period), static_cast<int32_t>(presumed)) ==
      AddCycleResult::kWriteFailed) {
    return;
  }
  pending_start_ = TodayDayNumber();
  pending_start_text_ = FormatDate(pending_start_);
  Leave(dialog, kCycleView, ce::IDOK);
}

bool CAddCycleView::OnKey(ce::HWND dialog, ce::UINT key) {
  if (key != ce::VK_F4) return false;
  PickStart(dialog);
  return true;
}

void CAddCycleView::PickStart(ce::HWND dialog) {
  // The calendar picks the start and hands it back to this screen, which opens anew.
  CDocument_::SetPreviousView(kAddCycleView);
  Leave(dialog, kScheduleView, ce::IDCANCEL);
}

ce::INT_PTR CAddCycleView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                           ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wparam);
  const WORD code = HIWORD(wparam);
  if ((id == kCtlAddPeriod || id == kCtlAddPresumed) && code == EN_CHANGE) {
    OnFieldChanged(dialog, id);
    return TRUE;
  }
  if (id == kCtlAddStart && code == EN_SETFOCUS) {
    PickStart(dialog);
    return TRUE;
  }
  if (id == IDOK && code == BN_CLICKED) {
    OnOk(dialog);
    return TRUE;
  }
  if (id == IDCANCEL && code == BN_CLICKED) {
    Leave(dialog, kCycleView, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}
