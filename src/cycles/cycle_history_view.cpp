#include "cycles/cycle_history_view.h"

#include <vector>

#include "cycles/cycle_history.h"
#include "cycles/cycle_records.h"
#include "frame/dialog_screen.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "gfx/graphic_buffer.h"
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

void SetFont(ce::HWND dialog, int id, ce::HFONT font) {
  ce::SendDlgItemMessage(dialog, id, ce::WM_SETFONT, reinterpret_cast<ce::WPARAM>(font), 0);
}

}  // namespace

void CCycleHistoryView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CCycleHistoryView::OnActivate() {
  active_ = true;
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
  dialog_ = CreateScreenDialog(this, kDlgCycleHistory);
  if (dialog_ == nullptr) {
    ce::ReportFatalError(u"CCycleHistoryView::OnActivate");
    return;
  }
  Fill(dialog_);
}

bool CCycleHistoryView::OnDeactivate() {
  if (!active_) return false;
  if (dialog_ != nullptr) ce::DestroyWindow(dialog_);
  dialog_ = nullptr;
  active_ = false;
  return true;
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

ce::INT_PTR CCycleHistoryView::OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                               ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG: {
      SHINITDLGINFO info{SHIDIM_FLAGS, dialog, 0x0A};
      SHInitDialog(&info);
      for (int id : kCaptionFontControls) SetFont(dialog, id, CaptionFont());
      SetFont(dialog, kCtlHistoryList, FixedFont());
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
        case kCtlHistoryAdd:
          CDocument_::SetView(kAddCycleView);
          return TRUE;
        case kCtlHistoryDelete:
          DeleteSelected(dialog);
          return TRUE;
        case kCtlHistoryDeleteAll:
          DeleteAll(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}
