// Conversions between the program's UTF-16 text and the UTF-8 of files and terminals.
#pragma once

#include <string>
#include <string_view>

namespace ce {

// Unpaired surrogates become U+FFFD; everything else converts exactly.
std::string ToUtf8(std::u16string_view text);
// Invalid UTF-8 sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

// Overwrites every unit the string's buffer holds, stale ones past its end included, then
// empties it: for texts that must not linger in freed memory (a password, the user's notes).
void WipeText(std::u16string& text);

// Where to cut `text` so that it keeps at most `units` code units and no character is cut in
// two: one less than `units` when the cut would part a surrogate pair.
size_t WholeCharacters(std::u16string_view text, size_t units);
// The text cut there.
inline std::u16string_view CutWhole(std::u16string_view text, size_t units) {
  return text.substr(0, WholeCharacters(text, units));
}

}  // namespace ce
