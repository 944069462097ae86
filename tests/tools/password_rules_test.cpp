// The Password screen's OK, rule by rule: with no password stored and with one stored.
#include "tools/password_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Step = PasswordStep;

struct Case {
  bool stored;
  bool current_right;
  std::u16string current, new_password, verify;
  Step step;
};

TEST(PasswordRules, EachCombinationOfFieldsGivesItsStep) {
  const Case cases[] = {
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
  for (const Case& c : cases) {
    const PasswordFields fields{c.stored, c.current_right, c.current, c.new_password, c.verify};
    EXPECT_EQ(JudgePasswordFields(fields), c.step)
        << "stored " << c.stored << ", current " << std::string(c.current.begin(), c.current.end())
        << ", new " << std::string(c.new_password.begin(), c.new_password.end()) << ", verify "
        << std::string(c.verify.begin(), c.verify.end());
  }
}

}  // namespace
