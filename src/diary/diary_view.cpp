#include "diary/diary_view.h"

#include <iterator>
#include <string>

#include "diary/diary_records.h"
#include "frame/frame_fonts.h"
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

CDiaryView::CDiaryView()
    : CListView_(true, {.template_id = kDlgDiary,
                        .caption_font = kCaptionFontControls,
                        .cyan = kCyanControls,
                        .create_failure = u"CDiaryView::OnActivate"}) {}

void CDiaryView::OnLoad() {
  background_.Load(kImgListBackground);
}

void CDiaryView::OnActivate() {
  SetFrameInterval(70);
  if (keep_dialog_ && Dialog() != nullptr && ce::IsWindow(Dialog())) {
    BeginShowing();
    // Back from Add Your Note, whose OK and Cancel enable the dialog; a way back that passed
    // neither (the menu, while the calendar was up) would leave it deaf to the pen. The keys
    // come back to it too: the note's end left the focus with the main window.
    ce::EnableWindow(Dialog(), ce::TRUE);
    ce::SetFocus(ce::GetDlgItem(Dialog(), kCtlDiaryList));
  } else {
    DestroyDialog();
    CListView_::OnActivate();
  }
  keep_dialog_ = false;
  FillList();
}

bool CDiaryView::OnDeactivate() {
  // While Add Your Note is on top, the dialog stays under it.
  if (keep_dialog_) return EndShowing();
  return CListView_::OnDeactivate();
}

void CDiaryView::ReleaseKeptDialog() {
  if (IsActive() || !keep_dialog_) return;
  keep_dialog_ = false;
  DestroyDialog();
}

void CDiaryView::FillList() {
  const ce::HWND dialog = Dialog();
  if (dialog == nullptr) return;
  ce::SendDlgItemMessage(dialog, kCtlDiaryList, ce::LB_RESETCONTENT, 0, 0);
  for (const std::u16string& line : NoteLines(category_)) {
    ce::SendDlgItemMessage(dialog, kCtlDiaryList, ce::LB_ADDSTRING, 0,
                           reinterpret_cast<ce::LPARAM>(line.c_str()));
  }
}

ce::INT_PTR CDiaryView::OnInitDialog(ce::HWND dialog) {
  using namespace ce;
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
  return TRUE;
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

ce::INT_PTR CDiaryView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                        ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND) return FALSE;
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
