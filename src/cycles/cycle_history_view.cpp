#include "cycles/cycle_history_view.h"

#include <vector>

#include "cycles/cycle_history.h"
#include "cycles/cycle_records.h"
#include "frame/frame_fonts.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// The statics and buttons drawn black on cyan; the title is white on blue.
constexpr int kCyanControls[] = {
    kCtlHistoryStartHeading, kCtlHistoryLengthHeading, kCtlHistoryAverageLabel,
    kCtlHistoryAverage,      kCtlHistoryDays,          kCtlHistoryAdd,
    kCtlHistoryDelete,       kCtlHistoryDeleteAll,
};

// The title, the headings and the average line are in the caption font.
constexpr int kCaptionFontControls[] = {
    kCtlTitle,          kCtlHistoryStartHeading, kCtlHistoryLengthHeading, kCtlHistoryAverageLabel,
    kCtlHistoryAverage, kCtlHistoryDays,
};

}  // namespace

CCycleHistoryView::CCycleHistoryView()
    : CListView_(true, {.template_id = kDlgCycleHistory,
                        .caption_font = kCaptionFontControls,
                        .cyan = kCyanControls,
                        .create_failure = u"CCycleHistoryView::OnActivate"}) {}

void CCycleHistoryView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CCycleHistoryView::OnActivate() {
  CListView_::OnActivate();
  if (Dialog() != nullptr) Fill(Dialog());
}

ce::INT_PTR CCycleHistoryView::OnInitDialog(ce::HWND dialog) {
  ce::SendDlgItemMessage(dialog, kCtlHistoryList, ce::WM_SETFONT,
                         reinterpret_cast<ce::WPARAM>(FixedFont()), 0);
  return ce::TRUE;
}

void CCycleHistoryView::Fill(ce::HWND dialog) {
  const std::vector<CycleRecord> cycles = ReadCycles();
  ce::SetDlgItemText(dialog, kCtlHistoryAverage, HistoryAverageText(cycles).c_str());
  ce::SendDlgItemMessage(dialog, kCtlHistoryList, ce::LB_RESETCONTENT, 0, 0);
  for (const std::u16string& line : HistoryLines(cycles)) {
    ce::SendDlgItemMessage(dialog, kCtlHistoryList, ce::LB_ADDSTRING, 0,
                           reinterpret_cast<ce::LPARAM>(line.c_str()));
  }
}

void CCycleHistoryView::DeleteSelected(ce::HWND dialog) {
  if (CycleCount() == 0) return;
  const ce::LRESULT selected =
      ce::SendDlgItemMessage(dialog, kCtlHistoryList, ce::LB_GETCURSEL, 0, 0);
  if (selected == ce::LB_ERR) {
    ce::MessageBox(dialog, kTextSelectCycleToDelete, kTextCalvira, ce::MB_OK);
    return;
  }
  if (ce::MessageBox(dialog, kTextDeleteSelectedCycle, kTextCalvira, ce::MB_OKCANCEL) != ce::IDOK) {
    return;
  }
  // The list shows the cycles in the store's start order, so a line's position is its record's.
  DeleteCycleAt(static_cast<size_t>(selected));
  Fill(dialog);
}

void CCycleHistoryView::DeleteAll(ce::HWND dialog) {
  if (CycleCount() == 0) return;
  if (ce::MessageBox(dialog, kTextDeleteAllCycles, kTextCalvira, ce::MB_OKCANCEL) != ce::IDOK) {
    return;
  }
  DeleteAllCycles();
  // Filled from the store: should it have refused, the list still shows what is kept.
  Fill(dialog);
}

ce::INT_PTR CCycleHistoryView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                               ce::LPARAM) {
  if (message != ce::WM_COMMAND) return ce::FALSE;
  switch (ce::LOWORD(wparam)) {
    case kCtlHistoryAdd:
      CDocument_::SetView(kAddCycleView);
      return ce::TRUE;
    case kCtlHistoryDelete:
      DeleteSelected(dialog);
      return ce::TRUE;
    case kCtlHistoryDeleteAll:
      DeleteAll(dialog);
      return ce::TRUE;
    default:
      return ce::FALSE;
  }
}
