#include "diary/diary_view.h"

#include <iterator>
#include <string>

#include "diary/diary_records.h"
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
    kCtlDiaryDateHeading, kCtlDiaryNoteHeading, kCtlDiaryAdd, kCtlDiaryDelete, kCtlDiaryDeleteAll,
};

// The title and the column headings are in the caption font.
constexpr int kCaptionFontControls[] = {kCtlTitle, kCtlDiaryDateHeading, kCtlDiaryNoteHeading};

}  // namespace

CDiaryView* CDiaryView::Find() {
  auto* view = dynamic_cast<CDiaryView*>(CDocument_::FindView(kDiaryView));
  if (view == nullptr) ce::ReportFatalError(u"CDiaryView::Find");
  return view;
}

void CDiaryView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CDiaryView::OnActivate() {
  active_ = true;
  SetFrameInterval(70);
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
  if (keep_dialog_ && dialog_ != nullptr && ce::IsWindow(dialog_)) {
    // Back from Add Your Note, whose OK and Cancel enable the dialog; a way back that passed
    // neither (the menu, while the calendar was up) would leave it deaf to the pen.
    ce::EnableWindow(dialog_, ce::TRUE);
  } else {
    if (dialog_ != nullptr) ce::DestroyWindow(dialog_);
    dialog_ = CreateScreenDialog(this, kDlgDiary);
  }
  keep_dialog_ = false;
  if (dialog_ == nullptr) {
    ce::ReportFatalError(u"CDiaryView::OnActivate");
    return;
  }
  FillList();
}

bool CDiaryView::OnDeactivate() {
  if (!active_) return false;
  active_ = false;
  if (!keep_dialog_ && dialog_ != nullptr) {
    ce::DestroyWindow(dialog_);
    dialog_ = nullptr;
  }
  return true;
}

void CDiaryView::ReleaseKeptDialog() {
  if (active_ || !keep_dialog_) return;
  keep_dialog_ = false;
  if (dialog_ != nullptr) ce::DestroyWindow(dialog_);
  dialog_ = nullptr;
}

void CDiaryView::FillList() {
  if (dialog_ == nullptr) return;
  ce::SendDlgItemMessage(dialog_, kCtlDiaryList, ce::LB_RESETCONTENT, 0, 0);
  for (const std::u16string& line : NoteLines(category_)) {
    ce::SendDlgItemMessage(dialog_, kCtlDiaryList, ce::LB_ADDSTRING, 0,
                           reinterpret_cast<ce::LPARAM>(line.c_str()));
  }
}

void CDiaryView::Initialise(ce::HWND dialog) {
  using namespace ce;
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLG | SHIDIF_SIPDOWN};
  SHInitDialog(&info);
  for (int id : kCaptionFontControls) {
    SendDlgItemMessage(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(CaptionFont()), 0);
  }
  // A note of 20 wide letters stays whole, and the padded dates put every note in one column.
  SendDlgItemMessage(dialog, kCtlDiaryList, WM_SETFONT, reinterpret_cast<WPARAM>(SmallFixedFont()),
                     0);
  SetDlgItemText(dialog, kCtlTitle, kTextMyDiary);
  SetDlgItemText(dialog, kCtlDiaryDateHeading, kTextDate);
  SetDlgItemText(dialog, kCtlDiaryNoteHeading, kTextNote);
  for (const DiaryCategory& category : DiaryCategories()) {
    SendDlgItemMessage(dialog, kCtlDiaryCategory, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(category.shown));
  }
  // The category lasts for the run, and the dialog is made anew on each visit: the list box
  // names the category that the list shows, never simply the first.
  SendDlgItemMessage(dialog, kCtlDiaryCategory, CB_SETCURSEL, static_cast<WPARAM>(category_), 0);
}

void CDiaryView::OpenNote(ce::HWND dialog) {
  keep_dialog_ = true;
  ViewParams params;
  params.day_number = TodayDayNumber();
  FormatDate(params.day_number).copy(params.date_text, std::size(params.date_text) - 1);
  params.extra = reinterpret_cast<uintptr_t>(dialog);
  CDocument_::PassParams(kNoteView, &params);
  ce::EnableWindow(dialog, ce::FALSE);
  CDocument_::SetView(kNoteView);
}

void CDiaryView::DeleteSelected(ce::HWND dialog) {
  if (NoteCount(category_) == 0) return;
  const ce::LRESULT selected =
      ce::SendDlgItemMessage(dialog, kCtlDiaryList, ce::LB_GETCURSEL, 0, 0);
  if (selected == ce::LB_ERR) {
    ce::MessageBox(dialog, kTextSelectNoteToDelete, kTextCalvira, ce::MB_OK);
    return;
  }
  if (ce::MessageBox(dialog, kTextDeleteSelectedNote, kTextCalvira, ce::MB_OKCANCEL) != ce::IDOK) {
    return;
  }
  // The list shows the notes in the store's day order, so a line's position is its record's.
  DeleteNoteAt(category_, static_cast<size_t>(selected));
  FillList();
}

void CDiaryView::DeleteAll(ce::HWND dialog) {
  if (NoteCount(category_) == 0) return;
  if (ce::MessageBox(dialog, kTextDeleteAllNotes, kTextCalvira, ce::MB_OKCANCEL) != ce::IDOK) {
    return;
  }
  if (DeleteAllNotes(category_)) {
    ce::SendDlgItemMessage(dialog, kCtlDiaryList, ce::LB_RESETCONTENT, 0, 0);
  } else {
    // The store kept every note: the list goes on showing what is stored.
    FillList();
  }
}

ce::INT_PTR CDiaryView::OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                        ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return TRUE;
    case WM_DESTROY:
      if (dialog == dialog_) dialog_ = nullptr;
      return FALSE;
    case WM_PAINT:
      PaintScreenPicture(dialog, background_);
      return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return ScreenColours(wparam, lparam, kCyanControls);
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const WORD code = HIWORD(wparam);
      if (id == kCtlDiaryCategory) {
        if (code != CBN_SELCHANGE) return FALSE;
        const LRESULT selected = SendDlgItemMessage(dialog, id, CB_GETCURSEL, 0, 0);
        if (selected >= 0 && static_cast<size_t>(selected) < kDiaryCategoryCount) {
          category_ = static_cast<size_t>(selected);
        }
        FillList();
        return TRUE;
      }
      if (code != BN_CLICKED) return FALSE;
      switch (id) {
        // Cancel (the dialog's Esc) opens Add Your Note too, as this screen has always done.
        case kCtlDiaryAdd:
        case IDCANCEL:
          OpenNote(dialog);
          return TRUE;
        case kCtlDiaryDelete:
          DeleteSelected(dialog);
          return TRUE;
        case kCtlDiaryDeleteAll:
          DeleteAll(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    }
    default:
      return FALSE;
  }
}
