#include "tools/help_view.h"

#include "frame/document.h"
#include "frame/frame_fonts.h"
#include "frame/ui_resources.h"
#include "gfx/graphic_buffer.h"
#include "platform/dialog.h"

namespace {

std::array<char16_t, 500> g_text{};
CFastBitmap g_background;
CFastBitmap g_frame;
ce::HBRUSH CyanBrush() {
  static ce::HBRUSH brush = ce::CreateSolidBrush(ce::RGB(0, 255, 255));
  return brush;
}

}  // namespace

void CHelpView::OnParams(const ViewParams* params) {
  if (params != nullptr) text_id_ = params->number;
}

void CHelpView::OnLoad() {
  g_background.Load(u"290", 240, 268);
  g_frame.Load(u"294", 234, 239);
}

void CHelpView::OnActivate() {
  // Longer texts are cut at the buffer's size.
  LoadString(text_id_, g_text.data(), static_cast<int>(g_text.size()));
  active_ = true;
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
  ce::DialogBoxParam(CDocument_::GetInstance(), ce::MAKEINTRESOURCE(292), CDocument_::GetMainWnd(),
                     &CHelpView::DialogProc, 0);
}

ce::INT_PTR CHelpView::DialogProc(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                  ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_INITDIALOG: {
      SHINITDLGINFO info{SHIDIM_FLAGS, dialog, 0x0A};
      SHInitDialog(&info);
      SetDlgItemText(dialog, 1012, g_text.data());
      SendDlgItemMessage(dialog, 1012, WM_SETFONT, reinterpret_cast<WPARAM>(SmallBoldFont()), 0);
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(dialog, &ps);
      g_background.Draw(0, 0);
      g_frame.Draw(3, 3);
      CDocument_::GetScreenBuffers()->PresentTo(dialog);
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
      if (id != 2 && id != 1012) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(CyanBrush());
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == 2) {
        CDocument_::GoBack();
        EndDialog(dialog, 2);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
