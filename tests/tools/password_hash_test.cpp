// Password checks: hashes, passwords stored as text by older stores, and when to hash again.
#include "tools/password_hash.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <string>
#include <tuple>

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

}  // namespace
