#include "fakes/fake_log_services.h"

#include <cstring>
#include <string>

#include "platform/unicode.h"

namespace kivora::fakes {

int FakeCodePage::WideCharToMultiByte(std::uint32_t codePage, const char16_t* wide, int wideCount,
                                      char* output, int outputSize) {
  if (wide == nullptr || wideCount == 0 || outputSize < 0) return 0;
  std::u16string_view text =
      wideCount < 0 ? std::u16string_view(wide, std::char_traits<char16_t>::length(wide) + 1)
                    : std::u16string_view(wide, static_cast<std::size_t>(wideCount));
  std::string narrow;
  if (codePage == platform::kCpUtf8) {
    narrow = utf16ToUtf8(text);
  } else if (codePage == 1252) {
    for (char16_t c : text) {
      narrow.push_back((c < 0x80 || (c >= 0xA0 && c <= 0xFF)) ? static_cast<char>(c) : '?');
    }
  } else {
    return 0;  // ERROR_INVALID_PARAMETER: a code page this fake does not know
  }
  if (outputSize == 0) return static_cast<int>(narrow.size());
  if (narrow.size() > static_cast<std::size_t>(outputSize)) return 0;  // ERROR_INSUFFICIENT_BUFFER
  // Like WideCharToMultiByte, the count given is the count written: no terminator is added.
  std::memcpy(output, narrow.data(), narrow.size());  // NOLINT(bugprone-not-null-terminated-result)
  return static_cast<int>(narrow.size());
}

}  // namespace kivora::fakes
