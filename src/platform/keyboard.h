#pragma once
// The keyboard as the monitor reads and drives it: the toggle state of the
// lock keys, the pressed state of a key right now, and synthetic key events.

#include <cstdint>

namespace kivora::platform {

// Virtual-key codes.
inline constexpr std::uint8_t kVkMButton = 0x04;
inline constexpr std::uint8_t kVkCapital = 0x14;
inline constexpr std::uint8_t kVkInsert = 0x2D;
inline constexpr std::uint8_t kVkNumLock = 0x90;
inline constexpr std::uint8_t kVkScroll = 0x91;

// keybd_event flags.
inline constexpr std::uint32_t kKeyEventFExtendedKey = 0x0001;
inline constexpr std::uint32_t kKeyEventFKeyUp = 0x0002;

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // Bit 0: the key is toggled on; bit 15: the key is down (as the calling
  // thread last saw its input).
  virtual std::int16_t GetKeyState(int virtualKey) = 0;
  // Bit 15: the key is down at this moment.
  virtual std::int16_t GetAsyncKeyState(int virtualKey) = 0;
  // One synthetic key event; a lock key toggles on its key-down event.
  virtual void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                           std::uintptr_t extraInfo) = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
