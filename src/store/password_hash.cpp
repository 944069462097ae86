#include "store/password_hash.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/text.h"

namespace {

// The longest text the store keeps, and so the longest password there can be.
constexpr size_t kMaxLength = 199;

bool Ready() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

// A password as UTF-8 for libsodium, wiped when it goes. Encoded a character at a time into
// room reserved up front, so that no copy of it is left behind in freed memory.
class Utf8Password {
 public:
  explicit Utf8Password(std::u16string_view text) {
    bytes_.reserve(text.size() * 3 + 1);
    for (size_t i = 0; i < text.size(); ++i) {
      const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
      std::string one = ce::ToUtf8(text.substr(i, pair ? 2 : 1));  // short: kept in place
      bytes_ += one;
      sodium_memzero(one.data(), one.size());
      if (pair) ++i;
    }
  }
  ~Utf8Password() { sodium_memzero(bytes_.data(), bytes_.size()); }
  Utf8Password(const Utf8Password&) = delete;
  Utf8Password& operator=(const Utf8Password&) = delete;
  const char* data() const { return bytes_.data(); }
  size_t size() const { return bytes_.size(); }

 private:
  std::string bytes_;
};

std::string Ascii(std::u16string_view stored) {
  std::string out;
  for (char16_t c : stored) {
    if (c > 0x7F) return {};
    out.push_back(static_cast<char>(c));
  }
  return out;
}

bool IsHash(std::u16string_view stored) {
  return stored.starts_with(u"$argon2");
}

// The text's length and its code units, zero-padded to the longest password, so that the
// comparison always runs over the same number of bytes.
using Padded = std::array<char16_t, kMaxLength + 2>;
void Pad(std::u16string_view text, Padded& out) {
  out.fill(0);
  out[0] = static_cast<char16_t>(text.size());
  std::copy(text.begin(), text.end(), out.begin() + 1);
}

}  // namespace

std::u16string HashPassword(std::u16string_view password) {
  if (!Ready()) return {};
  const Utf8Password utf8(password);
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, utf8.data(), utf8.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    return {};
  }
  std::u16string result;
  for (const char* p = hash; *p != '\0'; ++p) result.push_back(static_cast<char16_t>(*p));
  sodium_memzero(hash, sizeof hash);
  return result;
}

bool VerifyPassword(std::u16string_view stored, std::u16string_view typed) {
  if (!Ready()) return false;
  if (IsHash(stored)) {
    const std::string hash = Ascii(stored);
    const Utf8Password utf8(typed);
    return !hash.empty() && crypto_pwhash_str_verify(hash.c_str(), utf8.data(), utf8.size()) == 0;
  }
  // Neither text can be longer than the store or the prompt allow.
  if (stored.size() > kMaxLength || typed.size() > kMaxLength) return false;
  Padded a, b;
  Pad(stored, a);
  Pad(typed, b);
  const bool same = sodium_memcmp(a.data(), b.data(), sizeof a) == 0;
  sodium_memzero(a.data(), sizeof a);
  sodium_memzero(b.data(), sizeof b);
  return same;
}

bool NeedsRehash(std::u16string_view stored) {
  if (stored.empty()) return false;
  if (!IsHash(stored)) return true;
  if (!Ready()) return false;
  const std::string hash = Ascii(stored);
  return hash.empty() ||
         crypto_pwhash_str_needs_rehash(hash.c_str(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0;
}
