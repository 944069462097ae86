// Passwords are kept as Argon2id hash strings (libsodium's crypto_pwhash_str), never as the
// text typed; an empty stored value still means "no password".
#pragma once

#include <string>
#include <string_view>

// The hash string of the password; empty when hashing failed (out of memory).
std::u16string HashPassword(std::u16string_view password);
// Whether `typed` is the password whose hash string is `stored`. A stored value that is not a
// hash string (written before passwords were hashed) is compared as text, in constant time.
bool VerifyPassword(std::u16string_view stored, std::u16string_view typed);
