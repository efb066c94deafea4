// UTF-8 to code points and back, without losing bytes that are not well-formed UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// A byte that does not start a well-formed character becomes U+DC80..U+DCFF (the byte plus 0xDC00),
// so text from outside (a profile, a window text) comes back byte for byte through CodePointsToUtf8.
std::u32string Utf8ToCodePoints(std::string_view utf8);
// The inverse; U+DC80..U+DCFF become their byte again, other surrogates and values past U+10FFFF
// become U+FFFD.
std::string CodePointsToUtf8(std::u32string_view codePoints);
// True for the U+DC80..U+DCFF stand-ins of stray bytes.
inline bool IsStrayByte(char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; }
// A character that can be typed into text: not a control character, not a surrogate, not past U+10FFFF.
bool IsTypableCharacter(char32_t c);

}  // namespace platform
