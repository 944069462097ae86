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
  const std::u16string s = u"Secret", nul(u"Secret\0", 7), x199(199, u'x'), x200(200, u'x');
  // Stored, typed, accepted; from the seventh row on, kept as text by a store from before
  // hashing.
  const std::tuple<std::u16string, std::u16string, bool> cases[] = {
      {hash, s, true},    {hash, u"secret", false}, {hash, u"Secret ", false},
      {hash, u"", false}, {odd_hash, odd, true},    {odd_hash, u"Gr\u00fc\u00dfe ", false},
      {s, s, true},       {s, u"secret", false},    {s, u"Secre", false},
      {s, s + s, false},  {s, u"", false},          {s, nul, false},
      {odd, odd, true},   {x199, x199, true},       {x199, x200, false},
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
  // Not a password that is already strong, nor no password at all.
  EXPECT_EQ((std::tuple{NeedsRehash(weak_hash), NeedsRehash(u"Secret"),
                        NeedsRehash(HashPassword(u"Secret")), NeedsRehash(u"")}),
            std::tuple(true, true, false, false));
}

using Step = PasswordStep;

TEST(PasswordRules, EachCombinationOfFieldsGivesItsStep) {
  const Step wrong = Step::kWrongCurrent, failed = Step::kVerificationFailed, save = Step::kSave,
             nothing = Step::kNothing, enter = Step::kEnterCurrent;
  // No password stored (0), one stored and the current one typed wrong (1) or right (2); the
  // three fields. With none stored, only a first password can be set; the case counts.
  const std::tuple<int, std::u16string, std::u16string, std::u16string, Step> cases[] = {
      {0, u"x", u"", u"", wrong},
      {0, u"x", u"New", u"New", wrong},
      {0, u"", u"New", u"new", failed},
      {0, u"", u"New", u"", failed},
      {0, u"", u"New", u"New ", failed},
      {0, u"", u"New", u"New", save},
      {0, u"", u"", u"", nothing},
      {0, u"", u"", u"New", nothing},
      {1, u"old", u"New", u"New", wrong},
      {1, u"Old ", u"", u"", wrong},
      {1, u"", u"", u"", enter},
      {1, u"", u"New", u"New", enter},
      {1, u"", u"New", u"", nothing},
      {2, u"Old", u"New", u"Nwe", failed},
      {2, u"Old", u"", u"New", failed},
      {2, u"Old", u"Old", u"Old", Step::kSame},
      {2, u"Old", u"old", u"old", save},
      {2, u"Old", u"New", u"New", save},
      {2, u"Old", u"", u"", Step::kAskRemove}};
  for (const auto& c : cases) {
    const auto& [state, current, new_password, verify, step] = c;
    EXPECT_EQ(JudgePasswordFields({state > 0, state == 2, current, new_password, verify}), step)
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
