#pragma once
// On Windows char16_t and wchar_t are both 16-bit UTF-16 units, so portable
// std::u16string text is handed to the W functions without copying.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/bilingual.h"

namespace kivora::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* wide(const std::u16string& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline wchar_t* wide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }
// A text of a table in the language asked for.
inline const wchar_t* wide(const Bilingual& text, bool japaneseMode) {
  return wide(text.pick(japaneseMode));
}
// A copy of a text that need not end in a terminator, for a W function.
inline std::wstring wideString(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string fromWide(const wchar_t* s) {
  return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline std::u16string fromWide(const wchar_t* s, size_t count) {
  return std::u16string(reinterpret_cast<const char16_t*>(s), count);
}

// Full path of a module (the program itself for nullptr), however long.
std::u16string modulePath(HMODULE module);

}  // namespace kivora::win32
