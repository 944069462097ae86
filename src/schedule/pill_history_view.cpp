#include "schedule/pill_history_view.h"

#include "frame/dialog_screen.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "gfx/graphic_buffer.h"
#include "platform/message_box.h"
#include "schedule/pill_records.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr int kCyanControls[] = {kCtlPillHistoryHeader, kCtlPillHistoryDelete,
                                 kCtlPillHistoryDeleteAll};
constexpr int kCaptionFontControls[] = {kCtlTitle, kCtlPillHistoryHeader, kCtlPillHistoryList};

}  // namespace

void CPillHistoryView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CPillHistoryView::OnActivate() {
  active_ = true;
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
  dialog_ = CreateScreenDialog(this, kDlgPillHistory);
  if (dialog_ == nullptr) {
    ce::ReportFatalError(u"CPillHistoryView::OnActivate");
    return;
  }
  FillList(dialog_);
}

bool CPillHistoryView::OnDeactivate() {
  if (!active_) return false;
  if (dialog_ != nullptr) ce::DestroyWindow(dialog_);
  dialog_ = nullptr;
  active_ = false;
  return true;
}

void CPillHistoryView::FillList(ce::HWND dialog) {
  lines_ = PillHistoryLines(ReadPillDays());
  ce::SendDlgItemMessage(dialog, kCtlPillHistoryList, ce::LB_RESETCONTENT, 0, 0);
  for (const PillLine& line : lines_) {
    ce::SendDlgItemMessage(dialog, kCtlPillHistoryList, ce::LB_ADDSTRING, 0,
                           reinterpret_cast<ce::LPARAM>(line.text.c_str()));
  }
}

void CPillHistoryView::DeleteSelected(ce::HWND dialog) {
  if (PillRecordCount() == 0) return;
  const ce::LRESULT selected =
      ce::SendDlgItemMessage(dialog, kCtlPillHistoryList, ce::LB_GETCURSEL, 0, 0);
  if (selected == ce::LB_ERR || static_cast<size_t>(selected) >= lines_.size()) {
    ce::MessageBox(dialog, kTextSelectPillToDelete, kTextCalvira, ce::MB_OK);
    return;
  }
  if (ce::MessageBox(dialog, kTextDeleteSelectedPill, kTextCalvira, ce::MB_OKCANCEL) != ce::IDOK) {
    return;
  }
  // The line's own day, not its date text: two days a century apart share "1/5/03".
  ClearPill(lines_[static_cast<size_t>(selected)].day);
  FillList(dialog);
}

void CPillHistoryView::DeleteAll(ce::HWND dialog) {
  if (PillRecordCount() == 0) return;
  if (ce::MessageBox(dialog, kTextDeleteAllPills, kTextCalvira, ce::MB_OKCANCEL) != ce::IDOK) {
    return;
  }
  if (ClearAllPills()) {
    lines_.clear();
    ce::SendDlgItemMessage(dialog, kCtlPillHistoryList, ce::LB_RESETCONTENT, 0, 0);
  } else {
    // The store kept every pill: the list goes on showing what is stored.
    FillList(dialog);
  }
}

ce::INT_PTR CPillHistoryView::OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                              ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG: {
      SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLG | SHIDIF_SIPDOWN};
      SHInitDialog(&info);
      for (int id : kCaptionFontControls) {
        SendDlgItemMessage(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(CaptionFont()), 0);
      }
      return TRUE;
    }
    case WM_PAINT:
      PaintScreenPicture(dialog, background_);
      return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return ScreenColours(wparam, lparam, kCyanControls);
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kCtlPillHistoryDelete:
          DeleteSelected(dialog);
          return TRUE;
        case kCtlPillHistoryDeleteAll:
          DeleteAll(dialog);
          return TRUE;
        case IDCANCEL:
          CDocument_::GoBack();
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}
