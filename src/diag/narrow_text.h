#pragma once
// UTF-16 text made narrow for files that are not UTF-16: the debug log (the
// system's ANSI code page) and saved script files (UTF-8).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace kivora::diag {

// nullopt when the text is absent or the conversion fails.
std::optional<std::string> ToNarrow(platform::CodePage& codePage,
                                    std::optional<std::u16string_view> text,
                                    std::uint32_t targetCodePage);
std::optional<std::string> ToAnsi(platform::CodePage& codePage,
                                  std::optional<std::u16string_view> text);
// Needs no code-page service: the UTF-8 conversion is the same everywhere.
std::optional<std::string> ToUtf8(std::optional<std::u16string_view> text);

}  // namespace kivora::diag
