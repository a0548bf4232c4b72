#pragma once
// What the monitor asks the window manager each tick: the foreground window,
// its title and class, and the system metrics (remote session, screen size).

#include <cstdint>

#include "platform/window_handle.h"

namespace kivora::platform {

// GetSystemMetrics indexes Kivora asks for.
inline constexpr int kSmCxFullScreen = 16;
inline constexpr int kSmCyFullScreen = 17;
inline constexpr int kSmRemoteSession = 0x1000;

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
class Desktop {
 public:
  virtual ~Desktop() = default;
  // Null when no window is in the foreground (a desktop switch, a lock screen).
  virtual WindowHandle GetForegroundWindow() = 0;
  // Copies at most maxCount - 1 characters and a terminating zero; returns the
  // characters copied, 0 (with an empty buffer) for no title or no window.
  virtual int GetWindowTextW(WindowHandle window, char16_t* text, int maxCount) = 0;
  // Same contract for the window's class name.
  virtual int GetClassNameW(WindowHandle window, char16_t* className, int maxCount) = 0;
  virtual int GetSystemMetrics(int index) = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
