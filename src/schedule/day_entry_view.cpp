#include "schedule/day_entry_view.h"

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "schedule/pill_records.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr int kCyanControls[] = {
    kCtlDayBleedingLabel, kCtlDayHeavy, kCtlDayNormal, kCtlDaySlight, kCtlDayPill,
    kCtlDayTime,          kCtlDayDone,  kCtlDayDelete, ce::IDCANCEL,
};

// Every control with a caption: all but the remark.
constexpr int kCaptionFontControls[] = {
    kCtlTitle,   kCtlDayBleedingLabel, kCtlDayHeavy, kCtlDayNormal, kCtlDaySlight,
    kCtlDayPill, kCtlDayTime,          kCtlDayDone,  kCtlDayDelete, ce::IDCANCEL,
};

// The bleeding boxes by the level each stands for.
constexpr int kLevelBoxes[] = {0, kCtlDaySlight, kCtlDayNormal, kCtlDayHeavy};

// A box the user's click just ticked is checked and focused.
constexpr ce::LRESULT kTickedByClick = ce::BST_CHECKED | ce::BST_FOCUS;

void Check(ce::HWND dialog, int id, bool checked) {
  ce::SendDlgItemMessage(dialog, id, ce::BM_SETCHECK, checked ? ce::BST_CHECKED : ce::BST_UNCHECKED,
                         0);
}

void ShowTimeButton(ce::HWND dialog, bool shown) {
  ce::ShowWindow(ce::GetDlgItem(dialog, kCtlDayTime), shown ? ce::SW_SHOW : ce::SW_HIDE);
}

}  // namespace

CDayEntryView::CDayEntryView()
    : CFormView_(false, {.template_id = kDlgDayEntry,
                         .caption_font = kCaptionFontControls,
                         .cyan = kCyanControls}) {}

void CDayEntryView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CDayEntryView::OnParams(const ViewParams* params) {
  if (params == nullptr) return;
  date_text_ = DateTextOf(*params);
  day_ = params->day_number;
}

void CDayEntryView::OnActivate() {
  picker_open_ = false;
  // Back from the time picker the dialog is still running: its run goes on.
  if (Dialog() == nullptr) {
    CFormView_::OnActivate();
  } else {
    BeginShowing();
  }
  ce::SHFullScreen(Dialog() != nullptr ? Dialog() : CDocument_::GetMainWnd(),
                   ce::SHFS_SHOWSIPBUTTON);
}

bool CDayEntryView::OnDeactivate() {
  // Left for the picker, the dialog stays under it, its run still open; left for any other
  // screen, it goes with this one.
  if (picker_open_ && EndShowing()) return true;
  return CFormView_::OnDeactivate();
}

ce::INT_PTR CDayEntryView::OnInitDialog(ce::HWND dialog) {
  ce::SetDlgItemText(dialog, kCtlTitle, date_text_.c_str());
  ShowTimeButton(dialog, false);
  ce::SetDlgItemText(dialog, kCtlDayTime, kTextNoonTime);
  // The record keeps no longer remark, so the field takes no more.
  ce::SendDlgItemMessage(dialog, kCtlDayRemark, ce::EM_LIMITTEXT, kPillTextLimit, 0);
  level_ = 0;
  pill_ = false;
  LoadDay(dialog);
  return ce::TRUE;
}

void CDayEntryView::LoadDay(ce::HWND dialog) {
  const std::optional<PillDay> entry = LoadPillDay(day_);
  if (!entry) return;
  if (entry->level >= 1 && entry->level <= 3) {
    level_ = entry->level;
    Check(dialog, kLevelBoxes[level_], true);
  }
  if (entry->pill) {
    pill_ = true;
    Check(dialog, kCtlDayPill, true);
    ShowTimeButton(dialog, true);
  }
  if (!entry->remark.empty()) ce::SetDlgItemText(dialog, kCtlDayRemark, entry->remark.c_str());
  if (!entry->time.empty()) ce::SetDlgItemText(dialog, kCtlDayTime, entry->time.c_str());
}

void CDayEntryView::OnBleedingClicked(ce::HWND dialog, int id) {
  const bool ticked = ce::SendDlgItemMessage(dialog, id, ce::BM_GETSTATE, 0, 0) == kTickedByClick;
  level_ = 0;
  for (int level = 1; level <= 3; ++level) {
    if (kLevelBoxes[level] == id) {
      if (ticked) level_ = level;
    } else {
      Check(dialog, kLevelBoxes[level], false);
    }
  }
}

void CDayEntryView::OnPillClicked(ce::HWND dialog) {
  pill_ = ce::SendDlgItemMessage(dialog, kCtlDayPill, ce::BM_GETSTATE, 0, 0) == kTickedByClick;
  ShowTimeButton(dialog, pill_);
}

void CDayEntryView::OpenTimePicker(ce::HWND dialog) {
  ViewParams params;
  params.extra = reinterpret_cast<uintptr_t>(dialog);
  CDocument_::PassParams(kPillTimeView, &params);
  ce::EnableWindow(dialog, ce::FALSE);
  ce::SHFullScreen(dialog, ce::SHFS_HIDESIPBUTTON);
  picker_open_ = true;  // before the switch, which deactivates this screen at once
  CDocument_::SetView(kPillTimeView);
}

bool CDayEntryView::Save(ce::HWND dialog) {
  PillDay entry;
  entry.day = day_;
  entry.level = static_cast<int16_t>(level_);
  entry.pill = pill_;
  entry.remark = ce::GetDlgItemString(dialog, kCtlDayRemark);
  entry.time = ce::GetDlgItemString(dialog, kCtlDayTime);
  if (IsEmptyEntry(entry)) return DeleteDay(dialog);
  return SavePillDay(entry);
}

bool CDayEntryView::DeleteDay(ce::HWND dialog) {
  if (!LoadPillDay(day_)) return true;
  if (ce::MessageBox(dialog, kTextDeleteCurrentStage, kTextCalvira, ce::MB_OKCANCEL) != ce::IDOK) {
    return true;
  }
  return DeletePillDay(day_);
}

void CDayEntryView::Leave(ce::HWND dialog, int32_t next_view, ce::INT_PTR result) {
  CDocument_::SetView(next_view);
  // Back on the calendar, it schedules days again.
  if (next_view == kScheduleView) CDocument_::SetPreviousView(kDayEntryView);
  ce::EndDialog(dialog, result);
  level_ = 0;
  pill_ = false;
  picker_open_ = false;
}

ce::INT_PTR CDayEntryView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                           ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wparam)) {
    case kCtlDayHeavy:
    case kCtlDayNormal:
    case kCtlDaySlight:
      OnBleedingClicked(dialog, LOWORD(wparam));
      return TRUE;
    case kCtlDayPill:
      OnPillClicked(dialog);
      return TRUE;
    case kCtlDayTime:
      OpenTimePicker(dialog);
      return TRUE;
    case kCtlDayDone:
      if (Save(dialog)) Leave(dialog, kScheduleView, IDOK);
      return TRUE;
    case kCtlDayDelete:
      if (DeleteDay(dialog)) Leave(dialog, kScheduleView, IDOK);
      return TRUE;
    case IDCANCEL:
      Leave(dialog, kCycleView, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}
