#pragma once
// System-wide hotkeys of a window (RegisterHotKey / UnregisterHotKey).

#include <cstdint>

#include "platform/window_handle.h"

namespace kivora::platform {

// RegisterHotKey modifiers.
inline constexpr std::uint32_t kModAlt = 0x0001;
inline constexpr std::uint32_t kModControl = 0x0002;
inline constexpr std::uint32_t kModShift = 0x0004;

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
class Hotkeys {
 public:
  virtual ~Hotkeys() = default;
  // False when the key combination is already registered (by this or any
  // other program) or the window is not valid.
  virtual bool RegisterHotKey(WindowHandle window, int id, std::uint32_t modifiers,
                              std::uint32_t virtualKey) = 0;
  // False when the window has no hotkey with that id.
  virtual bool UnregisterHotKey(WindowHandle window, int id) = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
