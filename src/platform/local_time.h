#pragma once
// The local wall-clock time with milliseconds, as GetLocalTime gives it.

#include <cstdint>

namespace kivora::platform {

// SYSTEMTIME's fields, in its order.
struct SystemTime {
  std::uint16_t wYear = 0;
  std::uint16_t wMonth = 0;
  std::uint16_t wDayOfWeek = 0;
  std::uint16_t wDay = 0;
  std::uint16_t wHour = 0;
  std::uint16_t wMinute = 0;
  std::uint16_t wSecond = 0;
  std::uint16_t wMilliseconds = 0;
};

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
class LocalClock {
 public:
  virtual ~LocalClock() = default;
  virtual SystemTime GetLocalTime() = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
