#include "tools/help_view.h"

#include "frame/dialog_screen.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "frame/ui_resources.h"
#include "gfx/graphic_buffer.h"
#include "ui/ids.h"

void CHelpView::OnParams(const ViewParams* params) {
  if (params != nullptr) text_id_ = params->number;
}

void CHelpView::OnLoad() {
  background_.Load(kImgBackground);
  frame_.Load(kImgHelpFrame);
}

void CHelpView::OnActivate() {
  LoadString(text_id_, text_.data(), static_cast<int>(text_.size()));
  active_ = true;
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
  RunScreenDialog(this, kDlgHelp);
  dialog_ = nullptr;
}

bool CHelpView::OnDeactivate() {
  if (!active_) return false;
  active_ = false;
  // Left through the menu while the dialog runs: the dialog goes with the screen, or it would
  // stay under the next one and come back when that one ends.
  if (dialog_ != nullptr) {
    const ce::HWND dialog = dialog_;
    dialog_ = nullptr;
    ce::EndDialog(dialog, ce::IDCANCEL);
  }
  return true;
}

ce::INT_PTR CHelpView::OnDialogMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                       ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG: {
      dialog_ = dialog;
      SHINITDLGINFO info{SHIDIM_FLAGS, dialog, 0x0A};
      SHInitDialog(&info);
      SetDlgItemText(dialog, kCtlTitle, text_.data());
      SendDlgItemMessage(dialog, kCtlTitle, WM_SETFONT, reinterpret_cast<WPARAM>(SmallBoldFont()),
                         0);
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(dialog, &ps);
      background_.Draw(0, 0);
      frame_.Draw(3, 3);
      CDocument_::GetScreenBuffers()->PresentTo(dialog);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
      if (id != IDCANCEL && id != kCtlTitle) return FALSE;
      return ControlColours(wparam);
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {
        CDocument_::GoBack();
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
