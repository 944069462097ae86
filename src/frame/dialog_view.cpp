#include "frame/dialog_view.h"

#include "frame/dialog_screen.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "gfx/graphic_buffer.h"
#include "platform/dialog.h"
#include "platform/message_box.h"

namespace {

// The shell parts shown again that `hidden` (SHFS_HIDE… flags) hid.
ce::DWORD Shown(ce::DWORD hidden) {
  ce::DWORD shown = 0;
  if (hidden & ce::SHFS_HIDETASKBAR) shown |= ce::SHFS_SHOWTASKBAR;
  if (hidden & ce::SHFS_HIDESIPBUTTON) shown |= ce::SHFS_SHOWSIPBUTTON;
  if (hidden & ce::SHFS_HIDESTARTICON) shown |= ce::SHFS_SHOWSTARTICON;
  return shown;
}

}  // namespace

ce::INT_PTR CDialogView_::OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                          ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG: {
      dialog_ = dialog;
      SHINITDLGINFO info{SHIDIM_FLAGS, dialog, setup_.init_flags};
      SHInitDialog(&info);
      for (int id : setup_.caption_font) {
        SendDlgItemMessage(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(CaptionFont()), 0);
      }
      return OnInitDialog(dialog);
    }
    case WM_PAINT: {
      if (setup_.plain) break;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(dialog, &ps);
      OnPaint(dialog, dc, ps.rcPaint);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (setup_.plain) break;
      return OnControlColour(wparam, lparam);
    case WM_DESTROY:
      if (dialog == dialog_) dialog_ = nullptr;
      break;
    default:
      break;
  }
  return OnScreenMessage(dialog, message, wparam, lparam);
}

void CDialogView_::OnPaint(ce::HWND dialog, ce::HDC, const ce::RECT&) {
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  SetDrawTarget(buffers->GetScreenBuffer());
  background_.Draw(0, 0);
  buffers->PresentTo(dialog);
}

ce::INT_PTR CDialogView_::OnControlColour(ce::WPARAM dc, ce::LPARAM control) {
  return ScreenColours(dc, control, setup_.cyan);
}

void CDialogView_::BeginShowing() {
  active_ = true;
  if (setup_.hidden_shell != 0) ce::SHFullScreen(CDocument_::GetMainWnd(), setup_.hidden_shell);
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
}

bool CDialogView_::EndShowing() {
  if (!active_) return false;
  active_ = false;
  if (setup_.hidden_shell != 0) {
    ce::SHFullScreen(CDocument_::GetMainWnd(), Shown(setup_.hidden_shell));
  }
  return true;
}

void CFormView_::OnActivate() {
  BeginShowing();
  RunScreenDialog<CDialogView_>(this, setup_.template_id);
  dialog_ = nullptr;
}

bool CFormView_::OnDeactivate() {
  if (!EndShowing()) return false;
  if (dialog_ != nullptr) {
    const ce::HWND dialog = dialog_;
    dialog_ = nullptr;
    ce::EndDialog(dialog, ce::IDCANCEL);
    OnLeftRunning();
  }
  return true;
}

void CListView_::OnActivate() {
  BeginShowing();
  dialog_ = CreateScreenDialog<CDialogView_>(this, setup_.template_id);
  if (dialog_ == nullptr && setup_.create_failure != nullptr) {
    ce::ReportFatalError(setup_.create_failure);
  }
}

bool CListView_::OnDeactivate() {
  if (!EndShowing()) return false;
  DestroyDialog();
  return true;
}

void CListView_::DestroyDialog() {
  if (dialog_ != nullptr) ce::DestroyWindow(dialog_);
  dialog_ = nullptr;
}
