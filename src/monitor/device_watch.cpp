#include "monitor/device_watch.h"

#include <algorithm>
#include <new>

#include "monitor/texts.h"

namespace kivora::monitor {

namespace {

constexpr std::u16string_view kRefreshName = u"refresh_connect_device_list";

constexpr auto kEntrySize = static_cast<std::uint32_t>(sizeof(platform::RawInputDeviceList));

}  // namespace

std::u16string cutDeviceName(std::u16string_view deviceName) {
  const auto first = deviceName.find(u'#');
  if (first == std::u16string_view::npos) return std::u16string(deviceName);
  const auto second = deviceName.find(u'#', first + 1);
  return std::u16string(deviceName.substr(0, second));
}

bool DeviceWatch::fail(platform::WindowHandle owner, unsigned line, const Bilingual& text) {
  if (owner != platform::kNoWindow) {
    boxes_.messageBox(owner, text.pick(modeJP_), texts::kDeviceCaption.pick(modeJP_), kMbIconError);
  }
  log_.log(diag::kLogEntry, line, kRefreshName, text.japanese);
  return false;
}

// The device's name, or an empty text when it cannot be read.
std::u16string DeviceWatch::deviceName(std::uintptr_t device) {
  std::uint32_t length = 0;
  rawInput_.GetRawInputDeviceInfoW(device, platform::kRidiDeviceName, nullptr, &length);
  if (length == 0 || length == platform::kRawInputFailure) return {};
  std::u16string name(std::size_t{length} + 1, u'\0');
  std::uint32_t capacity = length + 1;
  const std::uint32_t copied =
      rawInput_.GetRawInputDeviceInfoW(device, platform::kRidiDeviceName, name.data(), &capacity);
  if (copied == 0 || copied == platform::kRawInputFailure) return {};
  name.resize(std::min(name.find(u'\0'), name.size()));
  return name;
}

bool DeviceWatch::refreshConnectedDevices(platform::WindowHandle owner) {
  log_.log(diag::kLogEntry, 3250, u"refresh_connect_device_list()", u"");
  std::uint32_t count = 0;
  if (rawInput_.GetRawInputDeviceList(nullptr, &count, kEntrySize) == platform::kRawInputFailure)
    return fail(owner, 3256, texts::kDeviceCountFailed);

  std::vector<platform::RawInputDeviceList> devices;
  try {
    // Never an empty buffer: a null list would turn the fetch into another count.
    devices.resize(std::max<std::uint32_t>(count, 1));
  } catch (const std::bad_alloc&) {
    return fail(owner, 3321, texts::kDeviceListOutOfMemory);
  }

  std::uint32_t room = count;
  // A device that arrives or leaves between the two calls changes the answer;
  // the next refresh sees the settled list.
  if (rawInput_.GetRawInputDeviceList(devices.data(), &room, kEntrySize) != count)
    return fail(owner, 3268, texts::kDeviceListFailed);
  devices.resize(count);

  connectedKeyboards_.clear();
  for (const auto& device : devices) {
    if (device.dwType != platform::kRimTypeKeyboard) continue;
    const std::u16string name = deviceName(device.hDevice);
    if (name.empty()) continue;
    connectedKeyboards_.push_back(cutDeviceName(name));
  }
  log_.log(diag::kLogEntry, 3313, kRefreshName, u"キーボードデバイスリスト取得成功");
  return true;
}

bool DeviceWatch::isWatchedDeviceConnected(const std::vector<std::u16string>& watched) const {
  for (const auto& connected : connectedKeyboards_) {
    if (std::find(watched.begin(), watched.end(), connected) != watched.end()) return true;
  }
  return false;
}

}  // namespace kivora::monitor
