#pragma once
// Which tray icon shows Kivora's state: the composed lock-state icons, or the
// single icons when the lock states are not displayed.

namespace kivora::monitor {

struct LockKeys {
  bool numLock = false;
  bool capsLock = false;
  bool scrollLock = false;
};

// The states the composed icons are drawn for.
enum LockIconState : int { kIconPaused = 0, kIconWatching = 1, kIconFlash = 2 };

inline constexpr int kLockStateIconCount = 48;

// Index into the 48 composed icons:
// 16 * state + 8 * ScrollLock + 4 * CapsLock + 2 * NumLock + device.
int lockStateIconIndex(int state, LockKeys keys, bool device);

// What the composed icon at an index (0 to 47) shows; lockStateIconIndex's inverse.
struct LockStateIconContent {
  int state = kIconPaused;
  LockKeys keys;
  bool device = false;
};
LockStateIconContent lockStateIconContent(int index);

// The composed icons' state for a KBWatchEnabled value: 0 paused, 1 watching,
// anything else the flash state.
int lockIconStateFor(int kbWatchEnabled);

struct TrayIconSettings {
  bool showLockedKeyIcon = false;  // ShowLockedKeyIcon
  int kbWatchEnabled = 1;          // KBWatchEnabled
  // NotifyWatchedDevice is on, the watched list is not empty and a listed
  // keyboard is connected.
  bool showDevice = false;
};

enum class TrayIconKind {
  LockState,       // lockStateIcons[index]
  Watching,        // 130
  Paused,          // 131
  DeviceWatching,  // 175
  DevicePaused,    // 176
  KeyChange,       // 129
};

struct TrayIconChoice {
  TrayIconKind kind = TrayIconKind::Watching;
  int index = -1;  // for LockState only
  bool operator==(const TrayIconChoice&) const = default;
};

// The icon that shows the present state.
TrayIconChoice chooseTrayIcon(const TrayIconSettings& settings, LockKeys keys);

// The icon shown for a moment while a key is pressed; `keys` are the states
// before the press.
TrayIconChoice chooseFlashIcon(const TrayIconSettings& settings, LockKeys keys);

}  // namespace kivora::monitor
