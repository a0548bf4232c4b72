#include "monitor/log_format.h"

namespace kivora::monitor {

namespace {

std::u16string hexDigits(std::uint32_t value, std::size_t width) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (text.size() < width) text.insert(0, width - text.size(), u'0');
  return text;
}

}  // namespace

std::u16string hexText(std::uint32_t value) { return hexDigits(value, 1); }

std::u16string handleText(platform::WindowHandle window) {
  return u"0x" + hexDigits(static_cast<std::uint32_t>(static_cast<std::uintptr_t>(window)), 8);
}

std::u16string decimalText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace kivora::monitor
