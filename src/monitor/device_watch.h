#pragma once
// The keyboard device watch: which keyboards are connected (by raw-input
// device name, cut at its second '#'), and whether one of the user's watched
// keyboards is among them.

#include <string>
#include <string_view>
#include <vector>

#include "diag/debug_log.h"
#include "monitor/monitor_shell.h"
#include "platform/bilingual.h"
#include "platform/raw_input.h"
#include "platform/window_handle.h"

namespace kivora::monitor {

// The device name as Kivora stores and compares it: everything from the
// second '#' on is dropped; a name with fewer than two stays whole.
std::u16string cutDeviceName(std::u16string_view deviceName);

class DeviceWatch {
 public:
  DeviceWatch(platform::RawInput& rawInput, diag::DebugLog& log, MessageBoxShell& boxes,
              bool modeJP)
      : rawInput_(rawInput), log_(log), boxes_(boxes), modeJP_(modeJP) {}

  // Reads the connected keyboards again. A failure keeps the previous list,
  // logs it and, with an owner window, also shows it in a message box.
  bool refreshConnectedDevices(platform::WindowHandle owner);

  // Some connected name equals some watched name exactly (case-sensitive).
  // Callers check themselves that the watched list is not empty.
  bool isWatchedDeviceConnected(const std::vector<std::u16string>& watched) const;

  // The keyboards found at the last successful refresh, in device-list order.
  const std::vector<std::u16string>& connectedKeyboards() const { return connectedKeyboards_; }

 private:
  bool fail(platform::WindowHandle owner, unsigned line, const Bilingual& text);
  std::u16string deviceName(std::uintptr_t device);

  platform::RawInput& rawInput_;
  diag::DebugLog& log_;
  MessageBoxShell& boxes_;
  bool modeJP_;
  std::vector<std::u16string> connectedKeyboards_;
};

}  // namespace kivora::monitor
