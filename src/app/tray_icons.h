#pragma once
// The tray icons: the single icons loaded at start and the 48 lock-state
// icons composed from eight parts, and which of them shows the present state.
// All are made at the small-icon size of the taskbar's DPI (16 pixels at
// 100 % scaling, 24 at 150 %, ...), from the image of that size in each icon
// resource, and made again when that size changes.

#include <windows.h>

#include <array>

#include "monitor/tray_icon_choice.h"
#include "platform/win32/handles.h"
#include "ui/message_box.h"

namespace kivora::app {

using LockStateIcons = std::array<win32::UniqueIcon, monitor::kLockStateIconCount>;

// The eight parts the lock-state icons are composed of (177-184).
struct LockIconParts {
  win32::UniqueIcon base;        // 177
  win32::UniqueIcon baseDevice;  // 178, a watched keyboard connected
  win32::UniqueIcon numLock;     // 179
  win32::UniqueIcon capsLock;    // 180
  win32::UniqueIcon scrollLock;  // 181
  win32::UniqueIcon watching;    // 182
  win32::UniqueIcon paused;      // 183
  win32::UniqueIcon flash;       // 184
};

// Every tray icon, owned by start-up for the life of the program.
struct TrayIcons {
  int size = 0;                       // width and height in pixels
  win32::UniqueIcon watching;         // 130
  win32::UniqueIcon paused;           // 131
  win32::UniqueIcon keyChange;        // 129
  win32::UniqueIcon deviceWatching;   // 175
  win32::UniqueIcon devicePaused;     // 176
  win32::UniqueIcon keyChangeDevice;  // 174
  LockStateIcons lockState;
};

// The small-icon size for the DPI of the taskbar, whose notification area is
// on the primary monitor.
int trayIconSize();

// An icon resource at `size` x `size` pixels.
win32::UniqueIcon loadSmallIcon(HINSTANCE instance, int id, int size = trayIconSize());
LockIconParts loadLockIconParts(HINSTANCE instance, int size = trayIconSize());

// One lock-state icon: the base (178 with `device`, else 177) with the
// overlay of `state` (monitor::LockIconState) and of each key that is on
// OR-ed into its 4-bit palette indexes; the mask is the base's. Any square
// size works; null when `dc` is null or a part cannot be read as a colour
// icon of the base's size.
win32::UniqueIcon composeLockStateIcon(const LockIconParts& parts, HDC dc, bool device,
                                       bool numLock, bool capsLock, bool scrollLock, int state);

// Composes all 48 icons. When the first cannot be composed, the error box
// ("Custom icon composition failed. ...") is shown through `messageBox` and
// every entry becomes a copy of the base: 177 for even indexes, 178 for odd.
// Returns false in that case.
bool buildLockStateIcons(const LockIconParts& parts, LockStateIcons& table, bool japanese,
                         ui::MessageBoxFunction messageBox = ui::ThemedMessageBox);

// Loads the single icons and the parts at `size`, builds the lock-state table
// and lets the parts go.
TrayIcons loadTrayIcons(HINSTANCE instance, bool japanese,
                        ui::MessageBoxFunction messageBox = ui::ThemedMessageBox,
                        int size = trayIconSize());

// Makes `icons` again when trayIconSize() is no longer theirs (the scaling
// changed); returns whether it did, so the caller shows the new ones.
bool followTrayIconSize(TrayIcons& icons, HINSTANCE instance, bool japanese,
                        ui::MessageBoxFunction messageBox = ui::ThemedMessageBox);

// The lock keys' toggle states as GetKeyState reads them now.
monitor::LockKeys readLockKeys();

// The icon for a choice of monitor::chooseTrayIcon / chooseFlashIcon.
HICON trayIconFor(const TrayIcons& icons, const monitor::TrayIconChoice& choice);

// The icon that shows the present state, with the keys read now.
HICON currentTrayIcon(const TrayIcons& icons, const monitor::TrayIconSettings& settings);

// The icon shown for a moment when a key is pressed (`keys` read before the press).
HICON flashTrayIcon(const TrayIcons& icons, const monitor::TrayIconSettings& settings,
                    monitor::LockKeys keys);

}  // namespace kivora::app
