// Passwords are kept as Argon2id hash strings (libsodium's crypto_pwhash_str), never as the
// text typed; an empty stored value still means "no password". Stores from before hashing hold
// the text itself; it is replaced by a hash the first time it is typed right.
#pragma once

#include <string>
#include <string_view>

// The hash string of the password; empty when hashing failed (out of memory).
std::u16string HashPassword(std::u16string_view password);

// Whether `typed` is the password whose hash string is `stored`. A stored value that is not a
// hash string (written before passwords were hashed) is compared as text, in a time that
// depends neither on where the texts differ nor on their lengths.
bool VerifyPassword(std::u16string_view stored, std::u16string_view typed);

// Whether a stored password that VerifyPassword accepted should be hashed again: it is still
// the text itself, or a hash made with weaker settings than HashPassword uses now.
bool NeedsRehash(std::u16string_view stored);
