#include "tools/password_view.h"

#include <sodium.h>

#include <array>
#include <string>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "store/password_hash.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

// Done button, sized to the screen, input panel down.
constexpr ce::DWORD kFullScreenWithDone = 0x0B;

// One field's text, read up to 199 characters, wiped when it goes.
class TypedField {
 public:
  TypedField(ce::HWND dialog, int id)
      : length_(ce::GetDlgItemText(dialog, id, text_.data(), static_cast<int>(text_.size()))) {}
  ~TypedField() { sodium_memzero(text_.data(), sizeof text_); }
  TypedField(const TypedField&) = delete;
  TypedField& operator=(const TypedField&) = delete;
  std::u16string_view View() const { return {text_.data(), length_}; }

 private:
  std::array<char16_t, 200> text_{};
  size_t length_;
};

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

bool CPasswordView::Save(std::u16string_view new_password) {
  ReadRecord record;
  if (!record.read) {
    ce::ReportFatalError(kTextPasswordViewRead);
    return false;
  }
  std::u16string stored;
  if (!new_password.empty()) {
    stored = HashPassword(new_password);
    // An empty hash would be stored as "no password": better to say so and keep the old one.
    if (stored.empty()) {
      ce::ReportFatalError(kTextPasswordViewHash);
      return false;
    }
  }
  sodium_memzero(record.settings.password.data(),
                 record.settings.password.size() * sizeof(char16_t));
  record.settings.password = stored;
  record.settings.password_set = new_password.empty() ? 0 : 1;
  if (!WriteSettings(record.settings)) {
    // A full or read-only disk is the user's to mend and is told as such.
    if (!ReportRefusedChange(nullptr)) ce::ReportFatalError(kTextPasswordViewWrite);
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
      if (!Save(step == PasswordStep::kSave ? fields.new_password : std::u16string_view())) {
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
