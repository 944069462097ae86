#include "tools/password_entry_view.h"

#include <array>
#include <string>

#include "frame/document.h"
#include "gfx/graphic_buffer.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "store/settings.h"
#include "tools/password_hash.h"

namespace {

// The stored password (a hash string), or empty.
std::u16string StoredPassword() {
  Settings settings;
  ReadSettings(&settings);
  return settings.password;
}

void CheckTyped(ce::HWND dialog) {
  const std::u16string stored = StoredPassword();
  std::array<char16_t, 200> typed{};
  ce::GetDlgItemText(dialog, 1061, typed.data(), static_cast<int>(typed.size()));
  if (stored.empty()) return;
  if (VerifyPassword(stored, typed.data())) {
    ce::SHSipPreference(dialog, 2);
    CDocument_::SetView(kCycleView);
    ce::EndDialog(dialog, ce::IDOK);
    return;
  }
  if (ce::MessageBox(dialog, u"Wrong password!\nTry again?", u"Password", ce::MB_OKCANCEL) ==
      ce::IDCANCEL) {
    Shutdown();
  }
}

}  // namespace

void CPasswordEntryView::OnActivate() {
  active_ = true;
  SetDrawTarget(CDocument_::GetScreenBuffers()->GetScreenBuffer());
  ce::DialogBoxParam(CDocument_::GetInstance(), ce::MAKEINTRESOURCE(344), CDocument_::GetMainWnd(),
                     &CPasswordEntryView::DialogProc, 0);
}

ce::INT_PTR CPasswordEntryView::DialogProc(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                           ce::LPARAM) {
  if (message == ce::WM_INITDIALOG) return ce::TRUE;
  if (message != ce::WM_COMMAND) return ce::FALSE;
  switch (ce::LOWORD(wparam)) {
    case ce::IDOK:
      CheckTyped(dialog);
      return ce::TRUE;
    case ce::IDCANCEL:
      Shutdown();
      return ce::TRUE;
    default:
      return ce::FALSE;
  }
}
