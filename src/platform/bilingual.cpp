#include "platform/bilingual.h"

namespace kivora {

std::u16string fillIn(std::u16string_view format,
                      std::initializer_list<std::u16string_view> values) {
  constexpr std::u16string_view kMark = u"%s";
  std::u16string text;
  std::size_t from = 0;
  for (const std::u16string_view value : values) {
    const std::size_t at = format.find(kMark, from);
    if (at == std::u16string_view::npos) break;
    text.append(format.substr(from, at - from)).append(value);
    from = at + kMark.size();
  }
  text.append(format.substr(from));
  return text;
}

}  // namespace kivora
