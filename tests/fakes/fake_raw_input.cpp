#include "fakes/fake_raw_input.h"

#include <algorithm>
#include <utility>

namespace kivora::fakes {

std::uint32_t FakeRawInput::GetRawInputDeviceList(platform::RawInputDeviceList* list,
                                                  std::uint32_t* numDevices,
                                                  std::uint32_t entrySize) {
  if (numDevices == nullptr || entrySize != sizeof(platform::RawInputDeviceList))
    return platform::kRawInputFailure;
  const auto count = static_cast<std::uint32_t>(devices.size());
  if (list == nullptr) {
    if (countFails) return platform::kRawInputFailure;
    *numDevices = count;
    if (afterCount) std::exchange(afterCount, nullptr)();
    return 0;
  }
  if (*numDevices < count) {
    *numDevices = count;
    return platform::kRawInputFailure;
  }
  for (std::uint32_t i = 0; i < count; ++i) list[i] = {devices[i].handle, devices[i].type};
  return count;
}

std::uint32_t FakeRawInput::GetRawInputDeviceInfoW(std::uintptr_t device, std::uint32_t command,
                                                   void* data, std::uint32_t* size) {
  const auto it = std::find_if(devices.begin(), devices.end(),
                               [&](const Device& d) { return d.handle == device; });
  if (it == devices.end() || size == nullptr || command != platform::kRidiDeviceName ||
      !it->nameReadable)
    return platform::kRawInputFailure;
  const auto needed = static_cast<std::uint32_t>(it->name.size() + 1);
  if (data == nullptr) {
    *size = needed;
    return 0;
  }
  if (*size < needed) {
    *size = needed;
    return platform::kRawInputFailure;
  }
  auto* text = static_cast<char16_t*>(data);
  std::copy(it->name.begin(), it->name.end(), text);
  text[it->name.size()] = u'\0';
  return needed;
}

std::uintptr_t FakeRawInput::addKeyboard(std::u16string name) {
  return addDevice(platform::kRimTypeKeyboard, std::move(name));
}

std::uintptr_t FakeRawInput::addDevice(std::uint32_t type, std::u16string name) {
  const std::uintptr_t handle = nextHandle_++;
  devices.push_back({handle, type, std::move(name), true});
  return handle;
}

void FakeRawInput::remove(std::uintptr_t handle) {
  std::erase_if(devices, [&](const Device& d) { return d.handle == handle; });
}

}  // namespace kivora::fakes
