// Conversions between the program's UTF-16 text and the UTF-8 of files and terminals.
#pragma once

#include <string>
#include <string_view>

namespace ce {

// Unpaired surrogates become U+FFFD; everything else converts exactly.
std::string ToUtf8(std::u16string_view text);
// Invalid UTF-8 sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace ce
