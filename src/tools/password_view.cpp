#include "tools/password_view.h"

#include <sodium.h>

#include <array>
#include <string>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "platform/text.h"
#include "store/ce_database.h"
#include "store/password_hash.h"
#include "store/protection.h"
#include "store/settings.h"
#include "tools/typed_field.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// Done button, sized to the screen, input panel down.
constexpr ce::DWORD kFullScreenWithDone = 0x0B;

// The settings record as read, with the stored password wiped when it goes: a store from
// before hashing holds the password itself.
struct ReadRecord {
  Settings settings;
  bool read = ReadSettings(&settings);
  ~ReadRecord() {
    sodium_memzero(settings.password.data(), settings.password.size() * sizeof(char16_t));
  }
};

// The labels and buttons are black on cyan; the fields keep their own look.
constexpr int kCyanControls[] = {kCtlPasswordCurrentLabel, kCtlPasswordNewLabel,
                                 kCtlPasswordVerifyLabel, ce::IDOK, ce::IDCANCEL};
constexpr int kCaptionFontControls[] = {kCtlTitle};

}  // namespace

CPasswordView::CPasswordView()
    : CFormView_(false, {.template_id = kDlgPassword,
                         .init_flags = kFullScreenWithDone,
                         .caption_font = kCaptionFontControls,
                         .cyan = kCyanControls}) {}

void CPasswordView::OnLoad() {
  background_.Load(kImgFormBackground);
}

void CPasswordView::OnActivate() {
  SetFrameInterval(70);
  CFormView_::OnActivate();
}

void CPasswordView::Leave(ce::HWND dialog, ce::INT_PTR result) {
  CDocument_::SetView(kCycleView);
  ce::EndDialog(dialog, result);
}

bool CPasswordView::Save(ce::HWND dialog, std::u16string_view current,
                         std::u16string_view new_password) {
  // A store not yet encrypted is encrypted under its first password, or under a new one; the
  // user learns first what that means, and Cancel saves nothing.
  if (!new_password.empty() && !ce::objectstore::MountedEncrypted() &&
      ce::MessageBox(dialog, kTextEncryptRecords, kTextPassword, ce::MB_OKCANCEL) != ce::IDOK) {
    return false;
  }
  ce::SetLastError(0);
  const std::string error =
      ChangeProtection(ce::objectstore::MountedDirectory(), current, new_password);
  if (!error.empty()) {
    ReportProtectionError(error);
    return false;
  }
  return true;
}

bool CPasswordView::Carry(ce::HWND dialog, PasswordStep step, const PasswordFields& fields) {
  using ce::MessageBox;
  switch (step) {
    case PasswordStep::kNothing:
      return false;
    case PasswordStep::kWrongCurrent:
      if (MessageBox(dialog, kTextWrongPassword, kTextPassword, ce::MB_OKCANCEL) != ce::IDCANCEL) {
        return false;
      }
      Leave(dialog, ce::IDCANCEL);
      return true;
    case PasswordStep::kVerificationFailed:
      MessageBox(dialog, kTextVerificationFailed, kTextPassword, ce::MB_OK);
      return false;
    case PasswordStep::kEnterCurrent:
      MessageBox(dialog, kTextEnterCurrentPassword, kTextPassword, ce::MB_OK);
      return false;
    case PasswordStep::kSame:
      MessageBox(dialog, kTextPasswordSame, kTextPassword, ce::MB_OK);
      return false;
    case PasswordStep::kAskRemove:
      if (MessageBox(dialog, kTextRemovePassword, kTextPassword, ce::MB_OKCANCEL) != ce::IDOK) {
        return false;
      }
      [[fallthrough]];
    case PasswordStep::kSave:
      // A store that refused the write has been reported; the dialog stays with what was
      // typed, so that nothing looks saved that is not.
      if (!Save(dialog, fields.current,
                step == PasswordStep::kSave ? fields.new_password : std::u16string_view())) {
        return false;
      }
      MessageBox(dialog, kTextPasswordChanged, kTextPassword, ce::MB_OK);
      Leave(dialog, ce::IDOK);
      return true;
  }
  return false;
}

void CPasswordView::OnOk(ce::HWND dialog) {
  const TypedField current(dialog, kCtlPasswordCurrent);
  const TypedField new_password(dialog, kCtlPasswordNew);
  const TypedField verify(dialog, kCtlPasswordVerify);
  PasswordFields fields;
  {
    ReadRecord record;
    if (!record.read) {
      ce::ReportFatalError(kTextPasswordViewRead);
      return;
    }
    fields.stored = !record.settings.password.empty();
    fields.current_right = fields.stored && !current.View().empty() &&
                           VerifyPassword(record.settings.password, current.View());
  }
  fields.current = current.View();
  fields.new_password = new_password.View();
  fields.verify = verify.View();
  Carry(dialog, JudgePasswordFields(fields), fields);
}

ce::INT_PTR CPasswordView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                           ce::LPARAM) {
  using namespace ce;
  if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return FALSE;
  if (LOWORD(wparam) == IDOK) {
    OnOk(dialog);
    return TRUE;
  }
  if (LOWORD(wparam) == IDCANCEL) {
    Leave(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}
