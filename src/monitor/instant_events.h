#pragma once
// The events that run a monitoring tick at once while InstantCheck is on: a
// lock key's release, the window in front changing or retitling itself, a
// keyboard coming or going, a session connecting or being unlocked. The
// numbers are Win32's, so the shell hands the monitor what Windows sent.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kivora::monitor {

// WinEvent hook events and the object ids that go with them.
inline constexpr unsigned kEventSystemForeground = 0x0003;
inline constexpr unsigned kEventObjectNameChange = 0x800C;
inline constexpr std::int32_t kObjidWindow = 0;
inline constexpr std::int32_t kChildIdSelf = 0;

// WM_INPUT_DEVICE_CHANGE's wParam.
inline constexpr unsigned kGidcArrival = 1;
inline constexpr unsigned kGidcRemoval = 2;

// WM_WTSSESSION_CHANGE's wParam values that run a tick.
inline constexpr unsigned kWtsConsoleConnect = 0x1;
inline constexpr unsigned kWtsRemoteConnect = 0x3;
inline constexpr unsigned kWtsSessionUnlock = 0x8;

enum class InstantTrigger { KeyRelease, Foreground, TitleChange, DeviceChange, SessionChange };

// How a trigger shows in the debug log: its name, the line that says it
// runs a tick and the line that says it waits for the timer after a press
// that did not take.
struct InstantTriggerLines {
  std::u16string_view name;
  unsigned runLine;
  unsigned waitLine;
};

const InstantTriggerLines& instantTriggerLines(InstantTrigger trigger);

// The name of a session change that runs a tick; nothing for the others
// (logoff, lock, disconnect...).
std::optional<std::u16string_view> sessionChangeThatRunsTick(unsigned code);

}  // namespace kivora::monitor
