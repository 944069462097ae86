// What the Password screen's OK does with the three fields it has been given. The screen reads
// the fields, asks VerifyPassword whether the current one is right, and carries out the step
// this returns; the rules themselves need no window and no store.
#pragma once

#include <string_view>

// The three fields as typed, and what the store says about the current one.
struct PasswordFields {
  // Whether a password is stored at all.
  bool stored = false;
  // Whether `current` is the stored password (VerifyPassword); only asked when it is not empty.
  bool current_right = false;
  std::u16string_view current;
  std::u16string_view new_password;
  std::u16string_view verify;
};

enum class PasswordStep {
  kNothing,             // nothing is said, nothing saved
  kWrongCurrent,        // "Wrong password!\nTry again?"; Cancel leaves without saving
  kVerificationFailed,  // "Verification failed!"
  kEnterCurrent,        // "Please enter\nthe current password!"
  kSame,                // "The password\nis the same!"; nothing saved
  kSave,                // the new password is saved, then the screen leaves
  kAskRemove,           // "Remove current\npassword?"; OK removes it, then the screen leaves
};

// The checks run in a fixed order; the comparisons of typed texts are exact (case-sensitive,
// no trimming).
PasswordStep JudgePasswordFields(const PasswordFields& fields);
