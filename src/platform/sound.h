#pragma once
// The notification sound of a key change: a wave file, or the default beep.

#include <cstdint>

namespace kivora::platform {

// PlaySoundW flags.
inline constexpr std::uint32_t kSndAsync = 0x0001;
inline constexpr std::uint32_t kSndFilename = 0x00020000;
// MessageBeep types.
inline constexpr std::uint32_t kMbOk = 0x00000000;

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
class Sound {
 public:
  virtual ~Sound() = default;
  // module is always 0 (no resource module) in Kivora. False when the sound
  // cannot be played (a missing or unreadable file).
  virtual bool PlaySoundW(const char16_t* sound, std::uintptr_t module, std::uint32_t flags) = 0;
  virtual bool MessageBeep(std::uint32_t type) = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
