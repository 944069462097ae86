#include "tools/password_rules.h"

PasswordStep JudgePasswordFields(const PasswordFields& f) {
  const std::u16string_view c = f.current, n = f.new_password, v = f.verify;
  if (!f.stored) {
    // A first password: there is nothing to type as the current one.
    if (!c.empty()) return PasswordStep::kWrongCurrent;
    if (n.empty()) return PasswordStep::kNothing;
    return v == n ? PasswordStep::kSave : PasswordStep::kVerificationFailed;
  }
  if (c.empty()) return n == v ? PasswordStep::kEnterCurrent : PasswordStep::kNothing;
  if (!f.current_right) return PasswordStep::kWrongCurrent;
  if (n != v) return PasswordStep::kVerificationFailed;
  if (n.empty()) return PasswordStep::kAskRemove;
  return n == c ? PasswordStep::kSame : PasswordStep::kSave;
}
