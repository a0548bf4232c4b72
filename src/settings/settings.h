#pragma once
// Settings: the one in-memory settings model. Every other part reads its
// values directly, by the names they are stored under. The application owns
// one instance for the whole process; tests make fresh ones.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "settings/key_state_setting.h"

namespace kivora::settings {

// Paths are held in buffers of this many characters, terminator included.
inline constexpr std::size_t kPathCapacity = 520;

// The fields carry the names the registry values and ini keys are stored under.
// NOLINTBEGIN(readability-identifier-naming)
struct Settings {
  // The user's script. Once a script worker may exist it is read and replaced
  // only under ScriptTextLock (copyScript / replaceScript); loading replaces it
  // before any worker exists.
  std::u16string kx_script;
  mutable std::mutex ScriptTextLock;

  std::int32_t use_script = 0;  // flag
  // The lock settings: NumLockState offers every watch mode, the other three
  // the modes up to WatchMode::Once.
  KeyStateSetting NumLockState{WatchMode::NotWatched, true};
  std::int32_t RemoteCheck = 0;
  KeyStateSetting RM_NumLockState{WatchMode::NotWatched, true};
  std::int32_t NotifyWatchedDevice = 0;  // flag
  KeyStateSetting CapsLockState{WatchMode::NotWatched, false};
  KeyStateSetting ScrollLockState{WatchMode::NotWatched, false};
  std::int32_t KBWatchEnabled = 1;
  std::int32_t PlaySound = 0;
  std::u16string PlaySoundFileName;  // at most kPathCapacity - 1 characters
  std::int32_t EnDisTTIcon = 1;
  std::int32_t NotifyOnly = 0;
  std::int32_t BlockInsert = 0;
  std::int32_t ShowLockedKeyIcon = 0;  // flag
  std::int32_t SendTK = 0;             // flag
  std::int32_t ImeLock = 0;
  std::uint32_t timer3_interval = 1000;  // milliseconds, at least 100 after a load
  std::int32_t return_waitmsec = 0;
  std::int32_t NoOpeningDlg = 0;                 // flag
  std::int32_t NoNotifyScriptSuspend = 0;        // flag
  std::int32_t HOTKEY_ENDISTTICON = 0;           // hotkey-control value, 0 = none
  std::int32_t BIGDIALOG = 0;                    // flag
  std::vector<std::u16string> watchedKeyboards;  // stored as WatchKeyboardDeviceNames
  std::int32_t NOT_WATCH_DEV_NUMLOCK = 0;        // flag
  // Flag: a lock key's release seen as raw input runs a tick at once.
  std::int32_t InstantCheck = 1;

  // Where the settings live: true = the ini file, false = the registry.
  bool bUseIni = false;

  // The script text for a run, copied under the lock.
  std::u16string copyScript() const;
  // Replaces the script text under the lock (the script editor's save).
  void replaceScript(std::u16string text);
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::settings
