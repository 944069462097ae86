#include "tools/password_entry_view.h"

#include <filesystem>
#include <string>
#include <utility>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "platform/text.h"
#include "store/password_hash.h"
#include "store/protection.h"
#include "store/settings.h"
#include "tools/typed_field.h"
#include "ui/ids.h"
#include "ui/texts.h"

// A small pop-up in the dialog's own plain look, the size of its template.
CPasswordEntryView::CPasswordEntryView()
    : CFormView_(false, {.template_id = kDlgPasswordPrompt, .init_flags = 0, .plain = true}) {}

namespace {

// Whether `typed` is the password of the plain store mounted; a store from before hashing kept
// the text itself, and now that it has been typed, the hash takes its place. Should that write
// fail, the text stays and the next start tries again.
bool RightForPlainStore(std::u16string_view typed, bool* stored) {
  Settings settings;
  ReadSettings(&settings);
  *stored = !settings.password.empty();
  const bool right = *stored && VerifyPassword(settings.password, typed);
  if (right && NeedsRehash(settings.password)) {
    std::u16string hash = HashPassword(typed);
    if (!hash.empty()) {
      ce::WipeText(settings.password);
      settings.password = std::move(hash);
      WriteSettings(settings);
    }
  }
  return right;
}

}  // namespace

void CPasswordEntryView::CheckTyped(ce::HWND dialog) {
  const TypedField typed(dialog, kCtlPasswordField);
  bool right = false;
  bool plain = false;
  if (const std::filesystem::path waiting = ce::objectstore::KeyAwaitedFor(); !waiting.empty()) {
    // The password is the key: what it opens is right, and the first records read are those.
    bool wrong_key = false;
    const std::string error = MountProtected(waiting, typed.View(), &wrong_key);
    if (!error.empty() && !wrong_key) {
      // Opened, but unusable (a damaged file, a failing disk): no password helps with that.
      ce::MessageBox(dialog, ce::FromUtf8(error).c_str(), kTextCalvira, ce::MB_ICONEXCLAMATION);
      return;
    }
    right = error.empty();
    if (right) EnsureSettingsRecord();
  } else {
    bool stored = false;
    right = RightForPlainStore(typed.View(), &stored);
    if (!stored) return;
    plain = true;
  }
  if (!right) {
    if (ce::MessageBox(dialog, kTextWrongPassword, kTextPassword, ce::MB_OKCANCEL) ==
        ce::IDCANCEL) {
      Shutdown();
    }
    return;
  }
  // A store that has a password but is not yet encrypted under it is offered that each start
  // until it is; Cancel keeps it plain for this run.
  if (plain &&
      ce::MessageBox(dialog, kTextEncryptRecords, kTextPassword, ce::MB_OKCANCEL) == ce::IDOK) {
    ce::SetLastError(0);
    const std::string error =
        ChangeProtection(ce::objectstore::MountedDirectory(), typed.View(), typed.View());
    if (!error.empty()) ReportProtectionError(error);
  }
  CDocument_::SetLocked(false);
  ce::SHSipPreference(dialog, 2);
  CDocument_::SetView(kCycleView);
  ce::EndDialog(dialog, ce::IDOK);
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
