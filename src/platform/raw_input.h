#pragma once
// The raw-input device list (GetRawInputDeviceList, GetRawInputDeviceInfoW):
// which keyboards are connected, by their device names.

#include <cstdint>

namespace kivora::platform {

// RAWINPUTDEVICELIST, laid out as on x64 (16 bytes).
struct RawInputDeviceList {
  std::uintptr_t hDevice = 0;
  std::uint32_t dwType = 0;
};

inline constexpr std::uint32_t kRimTypeMouse = 0;
inline constexpr std::uint32_t kRimTypeKeyboard = 1;
inline constexpr std::uint32_t kRimTypeHid = 2;
inline constexpr std::uint32_t kRidiDeviceName = 0x20000007;
// The (UINT)-1 both functions return on failure.
inline constexpr std::uint32_t kRawInputFailure = 0xFFFFFFFFu;

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
class RawInput {
 public:
  virtual ~RawInput() = default;
  // With no list: *numDevices = the device count, returns 0. With a list of
  // *numDevices entries: returns the entries written, or kRawInputFailure with
  // *numDevices = the count needed when the list is too small (a device
  // arrived since the count was taken). entrySize must be
  // sizeof(RawInputDeviceList), else kRawInputFailure.
  virtual std::uint32_t GetRawInputDeviceList(RawInputDeviceList* list, std::uint32_t* numDevices,
                                              std::uint32_t entrySize) = 0;
  // RIDI_DEVICENAME: sizes are in characters, terminator included. With no
  // data: *size = the characters needed, returns 0. With data: returns the
  // characters copied, or kRawInputFailure (with *size = needed) when *size is
  // too small, or kRawInputFailure for a device that is gone.
  virtual std::uint32_t GetRawInputDeviceInfoW(std::uintptr_t device, std::uint32_t command,
                                               void* data, std::uint32_t* size) = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
