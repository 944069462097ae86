#include "tools/password_entry_view.h"

#include <sodium.h>

#include <array>
#include <string>
#include <utility>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "store/settings.h"
#include "store/password_hash.h"
#include "ui/ids.h"
#include "ui/texts.h"

// A small pop-up in the dialog's own plain look, the size of its template.
CPasswordEntryView::CPasswordEntryView()
    : CFormView_(false, {.template_id = kDlgPasswordPrompt, .init_flags = 0, .plain = true}) {}

void CPasswordEntryView::CheckTyped(ce::HWND dialog) {
  Settings settings;
  ReadSettings(&settings);
  std::array<char16_t, 200> typed{};
  const ce::UINT length =
      ce::GetDlgItemText(dialog, kCtlPasswordField, typed.data(), static_cast<int>(typed.size()));
  const std::u16string_view typed_text(typed.data(), length);
  const bool stored = !settings.password.empty();
  const bool right = stored && VerifyPassword(settings.password, typed_text);
  if (right && NeedsRehash(settings.password)) {
    // A store from before hashing kept the text itself; now that it has been typed, the hash
    // takes its place. Should the write fail, the text stays and the next start tries again.
    std::u16string hash = HashPassword(typed_text);
    if (!hash.empty()) {
      sodium_memzero(settings.password.data(), settings.password.size() * sizeof(char16_t));
      settings.password = std::move(hash);
      WriteSettings(settings);
    }
  }
  sodium_memzero(typed.data(), sizeof typed);
  sodium_memzero(settings.password.data(), settings.password.size() * sizeof(char16_t));
  if (!stored) return;
  if (right) {
    CDocument_::SetLocked(false);
    ce::SHSipPreference(dialog, 2);
    CDocument_::SetView(kCycleView);
    ce::EndDialog(dialog, ce::IDOK);
    return;
  }
  if (ce::MessageBox(dialog, kTextWrongPassword, kTextPassword, ce::MB_OKCANCEL) == ce::IDCANCEL) {
    Shutdown();
  }
}

ce::INT_PTR CPasswordEntryView::OnScreenMessage(ce::HWND dialog, ce::UINT message,
                                                ce::WPARAM wparam, ce::LPARAM) {
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
