#pragma once
// UTF-8 <-> UTF-16 conversion that behaves like MultiByteToWideChar and
// WideCharToMultiByte with CP_UTF8 and no flags: malformed input is never an
// error, each bad sequence becomes U+FFFD, so every text converts.

#include <string>
#include <string_view>

namespace kivora {

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// ASCII-only case folding; the program compares switches and names this way.
char16_t asciiUpper(char16_t c);
bool equalsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace kivora
