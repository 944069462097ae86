#include "tools/help_view.h"

#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "frame/ui_resources.h"
#include "gfx/graphic_buffer.h"
#include "ui/ids.h"

CHelpView::CHelpView() : CFormView_(false, {.template_id = kDlgHelp}) {}

void CHelpView::OnParams(const ViewParams* params) {
  if (params != nullptr) text_id_ = params->number;
}

void CHelpView::OnLoad() {
  background_.Load(kImgBackground);
  frame_.Load(kImgHelpFrame);
}

void CHelpView::OnActivate() {
  LoadString(text_id_, text_.data(), static_cast<int>(text_.size()));
  CFormView_::OnActivate();
}

ce::INT_PTR CHelpView::OnInitDialog(ce::HWND dialog) {
  ce::SetDlgItemText(dialog, kCtlTitle, text_.data());
  ce::SendDlgItemMessage(dialog, kCtlTitle, ce::WM_SETFONT,
                         reinterpret_cast<ce::WPARAM>(SmallBoldFont()), 0);
  return ce::TRUE;
}

void CHelpView::OnPaint(ce::HWND dialog, ce::HDC, const ce::RECT&) {
  background_.Draw(0, 0);
  frame_.Draw(3, 3);
  CDocument_::GetScreenBuffers()->PresentTo(dialog);
}

ce::INT_PTR CHelpView::OnControlColour(ce::WPARAM dc, ce::LPARAM control) {
  // The text, the title static, is black on cyan like the button.
  const int id = ce::GetDlgCtrlID(reinterpret_cast<ce::HWND>(control));
  if (id != ce::IDCANCEL && id != kCtlTitle) return ce::FALSE;
  return ControlColours(dc);
}

ce::INT_PTR CHelpView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                       ce::LPARAM) {
  if (message != ce::WM_COMMAND || ce::LOWORD(wparam) != ce::IDCANCEL) return ce::FALSE;
  CDocument_::GoBack();
  ce::EndDialog(dialog, ce::IDCANCEL);
  return ce::TRUE;
}
