#include "tools/password_hash.h"

#include <sodium.h>

#include <string>

#include "platform/text.h"

namespace {

bool Ready() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

std::u16string Widen(const char* ascii) {
  std::u16string out;
  for (const char* p = ascii; *p != '\0'; ++p) out.push_back(static_cast<char16_t>(*p));
  return out;
}

}  // namespace

std::u16string HashPassword(std::u16string_view password) {
  if (!Ready()) return {};
  const std::string utf8 = ce::ToUtf8(std::u16string(password));
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, utf8.data(), utf8.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    return {};
  }
  const std::u16string result = Widen(hash);
  sodium_memzero(hash, sizeof hash);
  return result;
}

bool VerifyPassword(std::u16string_view stored, std::u16string_view typed) {
  if (!Ready()) return false;
  const std::string utf8 = ce::ToUtf8(std::u16string(typed));
  if (stored.starts_with(u"$argon2")) {
    std::string hash;
    for (char16_t c : stored) {
      if (c > 0x7F) return false;
      hash.push_back(static_cast<char>(c));
    }
    return crypto_pwhash_str_verify(hash.c_str(), utf8.data(), utf8.size()) == 0;
  }
  if (stored.size() != typed.size()) return false;
  return sodium_memcmp(stored.data(), typed.data(), stored.size() * sizeof(char16_t)) == 0;
}
