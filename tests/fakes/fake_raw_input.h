#pragma once
// The raw-input device list of the test's devices, answering like user32:
// the count, the list (refused when it no longer fits), and each device's
// name. Devices can come and go between the count and the fetch, and a name
// can be made unreadable.

#include <functional>
#include <string>
#include <vector>

#include "platform/raw_input.h"

namespace kivora::fakes {

class FakeRawInput final : public platform::RawInput {
 public:
  struct Device {
    std::uintptr_t handle = 0;
    std::uint32_t type = platform::kRimTypeKeyboard;
    std::u16string name;
    bool nameReadable = true;
  };

  std::uint32_t GetRawInputDeviceList(platform::RawInputDeviceList* list, std::uint32_t* numDevices,
                                      std::uint32_t entrySize) override;
  std::uint32_t GetRawInputDeviceInfoW(std::uintptr_t device, std::uint32_t command, void* data,
                                       std::uint32_t* size) override;

  std::uintptr_t addKeyboard(std::u16string name);
  std::uintptr_t addDevice(std::uint32_t type, std::u16string name);
  void remove(std::uintptr_t handle);

  std::vector<Device> devices;
  bool countFails = false;
  // Runs once, right after the next count is taken (a device plugged in or
  // pulled out at that moment).
  std::function<void()> afterCount;

 private:
  std::uintptr_t nextHandle_ = 0x100;
};

}  // namespace kivora::fakes
