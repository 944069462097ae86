#include "schedule/pill_history_view.h"

#include "platform/message_box.h"
#include "schedule/pill_records.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr int kCyanControls[] = {kCtlPillHistoryHeader, kCtlPillHistoryDelete,
                                 kCtlPillHistoryDeleteAll};
constexpr int kCaptionFontControls[] = {kCtlTitle, kCtlPillHistoryHeader, kCtlPillHistoryList};

}  // namespace

CPillHistoryView::CPillHistoryView()
    : CListView_(true, {.template_id = kDlgPillHistory,
                        .caption_font = kCaptionFontControls,
                        .cyan = kCyanControls,
                        .create_failure = u"CPillHistoryView::OnActivate"}) {}

void CPillHistoryView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CPillHistoryView::OnActivate() {
  CListView_::OnActivate();
  if (Dialog() != nullptr) FillList(Dialog());
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

ce::INT_PTR CPillHistoryView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                              ce::LPARAM) {
  if (message != ce::WM_COMMAND) return ce::FALSE;
  switch (ce::LOWORD(wparam)) {
    case kCtlPillHistoryDelete:
      DeleteSelected(dialog);
      return ce::TRUE;
    case kCtlPillHistoryDeleteAll:
      DeleteAll(dialog);
      return ce::TRUE;
    case ce::IDCANCEL:
      CDocument_::GoBack();
      return ce::TRUE;
    default:
      return ce::FALSE;
  }
}
