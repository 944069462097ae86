#include "diary/note_view.h"

#include "diary/diary_records.h"
#include "diary/diary_view.h"
#include "gfx/graphic_buffer.h"
#include "platform/dialog.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// The pop-up's area of the screen buffer: the top rows of the full-screen picture.
constexpr uint16_t kBackgroundWidth = 240;
constexpr uint16_t kBackgroundHeight = 123;

// The labels and the buttons are drawn black on cyan; the date field keeps its own look.
constexpr int kCyanControls[] = {kCtlNoteDateLabel, kCtlNoteTextLabel, ce::IDOK, ce::IDCANCEL};
constexpr int kCaptionFontControls[] = {kCtlNoteDateLabel, kCtlNoteTextLabel};

}  // namespace

// No SHInitDialog flags: the pop-up keeps the size and place of its template.
CNoteView::CNoteView()
    : CFormView_(false, {.template_id = kDlgNote,
                         .init_flags = 0,
                         .caption_font = kCaptionFontControls,
                         .cyan = kCyanControls}) {}

void CNoteView::OnLoad() {
  picture_.Load(kImgBackground);
  background_.Allocate(kBackgroundWidth, kBackgroundHeight);
  GraphicBuffer::Blit(picture_.Pixels(), background_.Pixels(),
                      {0, 0, kBackgroundWidth, kBackgroundHeight},
                      {0, 0, kBackgroundWidth, kBackgroundHeight});
}

void CNoteView::OnParams(const ViewParams* params) {
  if (params == nullptr) return;
  date_text_ = DateTextOf(*params);
  day_ = params->day_number;
  diary_window_ = reinterpret_cast<ce::HWND>(params->extra);
}

void CNoteView::OnLeftRunning() {
  if (CDiaryView* diary = CDiaryView::Find()) diary->ReleaseKeptDialog();
}

ce::INT_PTR CNoteView::OnInitDialog(ce::HWND dialog) {
  using namespace ce;
  SetDlgItemText(dialog, kCtlNoteDateLabel, kTextDate);
  SetDlgItemText(dialog, kCtlNoteTextLabel, kTextTypeYourTextHere);
  SetDlgItemText(dialog, kCtlNoteDate, date_text_.c_str());
  SetDlgItemText(dialog, kCtlNoteText, pending_text_.c_str());
  // The caret after the pending text, not all of it selected: typing on goes on with what was
  // typed before the calendar, instead of replacing it.
  SetFocus(GetDlgItem(dialog, kCtlNoteText));
  const auto end = static_cast<WPARAM>(ce::GetDlgItemString(dialog, kCtlNoteText).size());
  SendDlgItemMessage(dialog, kCtlNoteText, EM_SETSEL, end, static_cast<LPARAM>(end));
  return FALSE;  // the focus is set
}

void CNoteView::KeepTextShort(ce::HWND dialog) {
  const std::u16string text = ce::GetDlgItemString(dialog, kCtlNoteText);
  if (text.size() <= kNoteTextLength) return;
  // Setting the text reports the change again, now short enough.
  ce::SetDlgItemText(dialog, kCtlNoteText, CutNoteText(text).c_str());
  ce::SendDlgItemMessage(dialog, kCtlNoteText, ce::EM_SETSEL, kNoteTextLength, kNoteTextLength);
}

void CNoteView::Leave(ce::HWND dialog, int32_t next_view, ce::INT_PTR result) {
  // Leaving on its own: OnDeactivate, which the switch calls now, has no pop-up to close.
  ForgetDialog();
  CDocument_::SetView(next_view);
  ce::EndDialog(dialog, result);
}

void CNoteView::BackToDiary(ce::HWND dialog, ce::INT_PTR result) {
  Leave(dialog, kDiaryView, result);
  if (diary_window_ != nullptr && ce::IsWindow(diary_window_)) {
    ce::EnableWindow(diary_window_, ce::TRUE);
  }
}

void CNoteView::PickDate(ce::HWND dialog) {
  pending_text_ = ce::GetDlgItemString(dialog, kCtlNoteText);
  CDocument_::SetPreviousView(kNoteView);
  // The calendar hands the diary's window back with the day it picks.
  ViewParams params;
  params.extra = reinterpret_cast<uintptr_t>(diary_window_);
  CDocument_::PassParams(kScheduleView, &params);
  Leave(dialog, kScheduleView, ce::IDCANCEL);
}

void CNoteView::OnOk(ce::HWND dialog) {
  CDiaryView* diary = CDiaryView::Find();
  if (diary == nullptr) return;
  // A store that refused the write has said why; the pop-up stays, with what was typed, so
  // that nothing looks stored that is not.
  if (!SaveNote(diary->Category(), day_, ce::GetDlgItemString(dialog, kCtlNoteText))) return;
  BackToDiary(dialog, ce::IDOK);
  diary->FillList();
}

bool CNoteView::OnKey(ce::HWND dialog, ce::UINT key) {
  if (key != ce::VK_F4) return false;
  PickDate(dialog);
  return true;
}

ce::INT_PTR CNoteView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                       ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wparam);
  const WORD code = HIWORD(wparam);
  if (id == kCtlNoteText && code == EN_CHANGE) {
    KeepTextShort(dialog);
    return TRUE;
  }
  if (id == kCtlNoteDate && code == EN_SETFOCUS) {
    PickDate(dialog);
    return TRUE;
  }
  if (id == IDOK && code == BN_CLICKED) {
    OnOk(dialog);
    return TRUE;
  }
  if (id == IDCANCEL && code == BN_CLICKED) {
    BackToDiary(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}
