// CPasswordView (screen 16, "Password"): sets, changes or removes the password that the prompt
// asks for at the next start. The password is kept as a hash; what is typed is wiped once used.
#pragma once

#include "frame/dialog_view.h"
#include "tools/password_rules.h"

class CPasswordView : public CFormView_ {
 public:
  CPasswordView();
  void OnLoad() override;
  void OnActivate() override;

 protected:
  ce::INT_PTR OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                              ce::LPARAM lparam) override;

 private:
  void OnOk(ce::HWND dialog);
  // Carries out the step; true when the screen is left.
  bool Carry(ce::HWND dialog, PasswordStep step, const PasswordFields& fields);
  // Sets the password from `current` to `new_password` (empty: none), and the store's
  // encryption with it; true when saved.
  bool Save(ce::HWND dialog, std::u16string_view current, std::u16string_view new_password);
  void Leave(ce::HWND dialog, ce::INT_PTR result);
};
