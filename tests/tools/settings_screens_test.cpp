// The rules of the Password and Options screens. Password checks: hashes, passwords stored as
// text by older stores, and when to hash again; the Password screen's OK, rule by rule, with no
// password stored and with one stored. What the Options screen shows for a stored scale of any
// value; what it writes back, the password and the flags kept byte for byte, is the Options
// scenarios'.
#include <gtest/gtest.h>
#include <sodium.h>

#include <string>
#include <tuple>

#include "tools/options_rules.h"
#include "tools/password_hash.h"
#include "tools/password_rules.h"

namespace {

TEST(PasswordHash, VerifiesHashesAndTextsExactly) {
  const std::u16string hash = HashPassword(u"Secret");
  const std::u16string odd = u"Gr\u00fc\u00dfe \U0001F600";
  const std::u16string odd_hash = HashPassword(odd);
  // Stored, typed, accepted.
  const std::tuple<std::u16string, std::u16string, bool> cases[] = {
      {hash, u"Secret", true},
      {hash, u"secret", false},
      {hash, u"Secret ", false},
      {hash, u"", false},
      {odd_hash, odd, true},
      {odd_hash, u"Gr\u00fc\u00dfe ", false},
      // Kept as text by a store from before hashing.
      {u"Secret", u"Secret", true},
      {u"Secret", u"secret", false},
      {u"Secret", u"Secre", false},
      {u"Secret", u"SecretSecret", false},
      {u"Secret", u"", false},
      {u"Secret", std::u16string(u"Secret\0", 7), false},
      {odd, odd, true},
      {std::u16string(199, u'x'), std::u16string(199, u'x'), true},
      {std::u16string(199, u'x'), std::u16string(200, u'x'), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VerifyPassword(std::get<0>(c), std::get<1>(c)), std::get<2>(c))
        << "row " << &c - cases;
  }
  EXPECT_TRUE(hash.starts_with(u"$argon2id$"));
  EXPECT_EQ(hash.find(u"Secret"), std::u16string::npos);
}

TEST(PasswordHash, TextAndWeakHashesAreHashedAgain) {
  ASSERT_GE(sodium_init(), 0);
  char weak[crypto_pwhash_STRBYTES];
  ASSERT_EQ(
      crypto_pwhash_str(weak, "Secret", 6, crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN),
      0);
  const std::u16string weak_hash(weak, weak + std::char_traits<char>::length(weak));
  EXPECT_TRUE(VerifyPassword(weak_hash, u"Secret"));
  EXPECT_TRUE(NeedsRehash(weak_hash));
  EXPECT_TRUE(NeedsRehash(u"Secret"));
  EXPECT_FALSE(NeedsRehash(HashPassword(u"Secret")));
  EXPECT_FALSE(NeedsRehash(u""));  // no password at all
}

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

TEST(OptionsRules, EveryScaleButCelsiusShowsAsFahrenheit) {
  for (uint16_t stored : {0, 1, 2, 3, 0xFFFF}) {
    Settings settings;
    settings.scale = stored;
    EXPECT_EQ(OptionsFromSettings(settings).scale, stored == 1 ? kScaleCelsius : kScaleFahrenheit)
        << stored;
  }
}

}  // namespace
