#pragma once
// Narrow code pages: the system's ANSI code page and the conversion of UTF-16
// text into one, as GetACP and WideCharToMultiByte do it.

#include <cstdint>

namespace kivora::platform {

inline constexpr std::uint32_t kCpUtf8 = 65001;

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::uint32_t GetACP() = 0;
  // With outputSize 0 returns the bytes needed; otherwise the bytes written,
  // or 0 when the conversion fails or output is too small. A wideCount of -1
  // converts up to and including the terminating zero. Characters the code page
  // lacks become its default character. flags and the default-character
  // arguments of the Win32 function are always 0 in Kivora and are left out.
  virtual int WideCharToMultiByte(std::uint32_t codePage, const char16_t* wide, int wideCount,
                                  char* output, int outputSize) = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
