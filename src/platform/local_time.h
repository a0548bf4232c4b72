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

class LocalClock {
 public:
  virtual ~LocalClock() = default;
  virtual SystemTime GetLocalTime() = 0;
};

}  // namespace kivora::platform
