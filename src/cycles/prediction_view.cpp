#include "cycles/prediction_view.h"

#include "cycles/cycle_math.h"
#include "cycles/cycle_records.h"
#include "cycles/prediction.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr int kCyanControls[] = {
    kCtlPredictionLastEndLabel, kCtlPredictionLastEnd,
    kCtlPredictionAverageLabel, kCtlPredictionRange,
    kCtlPredictionStartLabel,   kCtlPredictionEndLabel,
    kCtlPredictionListLabel,    kCtlPredict,
    kCtlPredictionAddCycle,     ce::IDOK,
};

// The title and the labels are in the caption font; the values keep the dialog's.
constexpr int kCaptionFontControls[] = {
    kCtlTitle,
    kCtlPredictionLastEndLabel,
    kCtlPredictionAverageLabel,
    kCtlPredictionStartLabel,
    kCtlPredictionEndLabel,
    kCtlPredictionListLabel,
};

}  // namespace

CPredictionView::CPredictionView()
    : CFormView_(false, {.template_id = kDlgPrediction,
                         .caption_font = kCaptionFontControls,
                         .cyan = kCyanControls}) {
  const DayNumber today = TodayDayNumber();
  start_ = {today, FormatDate(today)};
  end_ = {today + 28, FormatDate(today + 28)};
}

void CPredictionView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CPredictionView::OnParams(const ViewParams* params) {
  if (params == nullptr) return;
  picked_ = {params->day_number, DateTextOf(*params)};
}

void CPredictionView::OnActivate() {
  predicted_.clear();
  average_ = 0;
  const PredictionBasis basis = ReadPredictionBasis(TodayDayNumber());
  range_text_ = basis.range_text;
  last_end_text_ = FormatDate(basis.last_cycle_end);
  average_ = basis.average;
  SetFrameInterval(70);
  if (!picked_.text.empty()) {
    if (pending_ == kStartField) start_ = picked_;
    if (pending_ == kEndField) end_ = picked_;
    if (pending_ != kNoField) picked_.text.clear();
  }
  CFormView_::OnActivate();
}

bool CPredictionView::OnDeactivate() {
  if (IsActive()) {
    predicted_.clear();
    predicted_.shrink_to_fit();
  }
  return CFormView_::OnDeactivate();
}

ce::INT_PTR CPredictionView::OnInitDialog(ce::HWND dialog) {
  using namespace ce;
  SetDlgItemText(dialog, kCtlPredictionLastEnd, last_end_text_.c_str());
  SetDlgItemInt(dialog, kCtlPredictionAverage, static_cast<UINT>(average_), TRUE);
  SetDlgItemText(dialog, kCtlPredictionRange, range_text_.c_str());
  SetDlgItemText(dialog, kCtlPredictionStart, start_.text.c_str());
  SetDlgItemText(dialog, kCtlPredictionEnd, end_.text.c_str());
  return TRUE;
}

void CPredictionView::Predict(ce::HWND dialog) {
  using namespace ce;
  const UINT average = GetDlgItemInt(dialog, kCtlPredictionAverage, nullptr, FALSE);
  PredictionResult result = PredictCycleStarts(start_.day, end_.day, average);
  if (result.zero_average) MessageBox(dialog, kTextAverageNotZero, kTextPrediction, MB_OK);
  if (result.start_not_before) {
    MessageBox(dialog, kTextStartBeforeEnd, kTextPrediction, MB_OK);
    return;
  }
  SendDlgItemMessage(dialog, kCtlPredictionList, LB_RESETCONTENT, 0, 0);
  predicted_ = std::move(result.days);
  for (DayNumber day : predicted_) {
    const std::u16string line = FormatDate(day);
    SendDlgItemMessage(dialog, kCtlPredictionList, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(line.c_str()));
  }
}

void CPredictionView::AddSelectedCycle(ce::HWND dialog) {
  using namespace ce;
  const LRESULT selected = SendDlgItemMessage(dialog, kCtlPredictionList, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR || static_cast<size_t>(selected) >= predicted_.size()) return;
  std::u16string line(
      static_cast<size_t>(SendDlgItemMessage(dialog, kCtlPredictionList, LB_GETTEXTLEN,
                                             static_cast<WPARAM>(selected), 0)),
      u'\0');
  SendDlgItemMessage(dialog, kCtlPredictionList, LB_GETTEXT, static_cast<WPARAM>(selected),
                     reinterpret_cast<LPARAM>(line.data()));
  if (MessageBox(dialog, AddPredictedCycleQuestion(line).c_str(), kTextCalvira,
                 MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
    return;
  }
  AddCycle(predicted_[static_cast<size_t>(selected)], kPredictedPeriodLength, kDefaultCycleLength);
}

void CPredictionView::PickDate(ce::HWND dialog, PendingField field) {
  pending_ = field;
  CDocument_::SetPreviousView(kPredictionView);
  CDocument_::SetView(kScheduleView);
  ce::EndDialog(dialog, ce::IDCANCEL);
}

bool CPredictionView::OnKey(ce::HWND dialog, ce::UINT key) {
  const int focused = ce::GetDlgCtrlID(ce::GetFocus());
  if (key != ce::VK_F4 || (focused != kCtlPredictionStart && focused != kCtlPredictionEnd)) {
    return false;
  }
  PickDate(dialog, focused == kCtlPredictionStart ? kStartField : kEndField);
  return true;
}

ce::INT_PTR CPredictionView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                             ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wparam);
  const WORD code = HIWORD(wparam);
  if ((id == kCtlPredictionStart || id == kCtlPredictionEnd) && code == EN_SETFOCUS) {
    // Tab passes through the date fields, where F4 opens the calendar; a tap opens it at once.
    if (!FocusMovedByKey()) PickDate(dialog, id == kCtlPredictionStart ? kStartField : kEndField);
    return TRUE;
  }
  if (code != BN_CLICKED) return FALSE;
  switch (id) {
    case IDOK:
      CDocument_::SetView(kCycleView);
      EndDialog(dialog, IDOK);
      return TRUE;
    case kCtlPredict:
      Predict(dialog);
      return TRUE;
    case kCtlPredictionAddCycle:
      // Disabled meanwhile, so that nothing reaches the dialog while the question is up.
      EnableWindow(dialog, FALSE);
      AddSelectedCycle(dialog);
      SetForegroundWindow(dialog);
      EnableWindow(dialog, TRUE);
      return TRUE;
    default:
      return FALSE;
  }
}
