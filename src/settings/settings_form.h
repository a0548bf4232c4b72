#pragma once
// What the settings dialog shows, in the terms of its controls: list
// indexes, ticks, texts and numbers. The dialog reads its controls into a
// SettingsForm and writes one back into them; turning a form into Settings
// and back, and which controls are enabled for a form, are decided here.

#include <cstdint>
#include <string>

#include "settings/settings.h"

namespace kivora::settings {

// A packed lock setting as its two lists show it: the watch-mode list's
// index and the OFF/ON list's index.
struct LockKeyChoice {
  int mode = 0;
  int state = 0;
  bool operator==(const LockKeyChoice&) const = default;
};

LockKeyChoice lockKeyChoice(KeyStateSetting setting);
KeyStateSetting packLockKeyChoice(LockKeyChoice choice);

// Entries of the watch-mode lists, one per WatchMode: NumLock has
// "Connecting devices" as well.
inline constexpr int kConnectingDevicesMode = static_cast<int>(WatchMode::WhileDeviceConnected);
inline constexpr int kNumLockModeCount = kConnectingDevicesMode + 1;
inline constexpr int kOtherLockModeCount = static_cast<int>(WatchMode::Once) + 1;

// The monitoring interval is never shorter than this.
inline constexpr std::uint32_t kMinimumInterval = 100;

struct SettingsForm {
  LockKeyChoice numLock;
  LockKeyChoice remoteNumLock;
  LockKeyChoice capsLock;
  LockKeyChoice scrollLock;
  bool notifyWatchedDevice = false;
  bool remoteCheck = false;
  bool useScript = false;
  bool playSound = false;
  std::u16string soundFile;
  int imeLock = 0;
  int enDisTTIcon = 0;
  std::int32_t hotkey = 0;
  bool notifyOnly = false;
  bool blockInsert = false;
  bool showLockedKeyIcon = false;
  bool sendTK = false;
  bool bigDialog = false;
  bool instantCheck = false;
  std::uint32_t interval = 0;
  std::uint32_t returnWait = 0;
  bool operator==(const SettingsForm&) const = default;
};

SettingsForm formFromSettings(const Settings& settings);

// Takes the form's values into settings. Without the big-dialog box (the
// English layout has none) BIGDIALOG becomes 0; an interval below the
// minimum becomes the minimum. The script text and the values the dialog
// does not show are left alone.
void applyForm(const SettingsForm& form, Settings& settings, bool hasBigDialogBox);

// Which of the dependent controls the form enables.
struct EnabledControls {
  bool numLockState = false;    // NumLock's OFF/ON list
  bool watchedDevices = false;  // the button that opens the device dialog
  bool remoteMode = false;
  bool remoteState = false;
  bool capsLockState = false;
  bool scrollLockState = false;
  bool soundFile = false;  // the file, its Browse button and file dropping
  bool returnWait = false;
  bool editScript = false;
  bool operator==(const EnabledControls&) const = default;
};

EnabledControls enabledControls(const SettingsForm& form);

}  // namespace kivora::settings
