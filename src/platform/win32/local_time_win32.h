#pragma once
// The local time from GetLocalTime.

#include "platform/local_time.h"

namespace kivora::win32 {

class Win32LocalClock final : public platform::LocalClock {
 public:
  platform::SystemTime GetLocalTime() override;
};

}  // namespace kivora::win32
