#pragma once
// A user-visible text in both languages. Each room keeps its texts in one
// table (its texts.h) and picks the language where the text is used, so the
// same table serves both. Portable code takes the pick as UTF-16;
// platform/win32/wide.h views it as wchar_t for the W functions.

#include <initializer_list>
#include <string>
#include <string_view>

namespace kivora {

struct Bilingual {
  const char16_t* english;
  const char16_t* japanese;
  constexpr const char16_t* pick(bool japaneseMode) const {
    return japaneseMode ? japanese : english;
  }
};

// The program's name as its message boxes, balloons and tray icon show it;
// the same in both languages.
inline constexpr char16_t kCaption[] = u"Kivora";

// `format` with its "%s" marks replaced by `values` in order, left to right.
// A value is never searched for marks itself; marks beyond the values stay.
std::u16string fillIn(std::u16string_view format,
                      std::initializer_list<std::u16string_view> values);

}  // namespace kivora
