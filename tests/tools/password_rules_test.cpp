// The Password screen's OK, rule by rule: with no password stored and with one stored.
#include "tools/password_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using Step = PasswordStep;

TEST(PasswordRules, EachCombinationOfFieldsGivesItsStep) {
  // Whether a password is stored, whether the current one typed is right; the three fields.
  const std::tuple<bool, bool, std::u16string, std::u16string, std::u16string, Step> cases[] = {
      // No password stored: only a first password can be set.
      {false, false, u"x", u"", u"", Step::kWrongCurrent},
      {false, false, u"x", u"New", u"New", Step::kWrongCurrent},
      {false, false, u"", u"New", u"new", Step::kVerificationFailed},
      {false, false, u"", u"New", u"", Step::kVerificationFailed},
      {false, false, u"", u"New", u"New ", Step::kVerificationFailed},
      {false, false, u"", u"New", u"New", Step::kSave},
      {false, false, u"", u"", u"", Step::kNothing},
      {false, false, u"", u"", u"New", Step::kNothing},
      // A password stored.
      {true, false, u"old", u"New", u"New", Step::kWrongCurrent},
      {true, false, u"Old ", u"", u"", Step::kWrongCurrent},
      {true, false, u"", u"", u"", Step::kEnterCurrent},
      {true, false, u"", u"New", u"New", Step::kEnterCurrent},
      {true, false, u"", u"New", u"", Step::kNothing},
      {true, true, u"Old", u"New", u"Nwe", Step::kVerificationFailed},
      {true, true, u"Old", u"", u"New", Step::kVerificationFailed},
      {true, true, u"Old", u"Old", u"Old", Step::kSame},
      {true, true, u"Old", u"old", u"old", Step::kSave},  // the case counts
      {true, true, u"Old", u"New", u"New", Step::kSave},
      {true, true, u"Old", u"", u"", Step::kAskRemove},
  };
  for (const auto& c : cases) {
    const auto& [stored, right, current, new_password, verify, step] = c;
    EXPECT_EQ(JudgePasswordFields({stored, right, current, new_password, verify}), step)
        << "row " << &c - cases;
  }
}

}  // namespace
