#pragma once
// Reads a fuzzer's bytes as a little stream of choices. Past the end every
// read gives zeros, so any input, however short, is a complete case.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kivora::fuzz {

class FuzzInput {
 public:
  explicit FuzzInput(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool empty() const { return at_ >= bytes_.size(); }
  std::uint8_t byte() { return empty() ? 0 : bytes_[at_++]; }
  std::uint16_t word() {
    const std::uint16_t low = byte();
    return static_cast<std::uint16_t>(low | (byte() << 8));
  }
  std::uint32_t dword() { return word() | (static_cast<std::uint32_t>(word()) << 16); }
  // Up to count bytes (fewer when the input ends first).
  std::span<const std::uint8_t> take(std::size_t count) {
    const std::size_t n = empty() ? 0 : std::min(count, bytes_.size() - at_);
    const auto taken = bytes_.subspan(at_, n);
    at_ += n;
    return taken;
  }
  std::span<const std::uint8_t> rest() { return take(bytes_.size()); }
  // count UTF-16 code units, low byte first; any unit, lone surrogates too.
  std::u16string units(std::size_t count) {
    std::u16string text;
    for (std::size_t i = 0; i < count && !empty(); ++i)
      text.push_back(static_cast<char16_t>(word()));
    return text;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace kivora::fuzz
