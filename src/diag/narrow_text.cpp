#include "diag/narrow_text.h"

#include <climits>

#include "platform/unicode.h"

namespace kivora::diag {

std::optional<std::string> ToNarrow(platform::CodePage& codePage,
                                    std::optional<std::u16string_view> text,
                                    std::uint32_t targetCodePage) {
  if (!text) return std::nullopt;
  if (text->empty()) return std::string();
  if (text->size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  const int count = static_cast<int>(text->size());
  const int needed = codePage.WideCharToMultiByte(targetCodePage, text->data(), count, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  const int written =
      codePage.WideCharToMultiByte(targetCodePage, text->data(), count, narrow.data(), needed);
  if (written <= 0) return std::nullopt;
  narrow.resize(static_cast<std::size_t>(written));
  return narrow;
}

std::optional<std::string> ToAnsi(platform::CodePage& codePage,
                                  std::optional<std::u16string_view> text) {
  return ToNarrow(codePage, text, codePage.GetACP());
}

std::optional<std::string> ToUtf8(std::optional<std::u16string_view> text) {
  if (!text) return std::nullopt;
  return utf16ToUtf8(*text);
}

}  // namespace kivora::diag
