#pragma once
// What the key-state monitor asks of the application shell, which owns the
// main window, its timers, the tray icon, balloons, the on-screen notice and
// the program's message box. The monitor decides; the shell shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_handle.h"

namespace kivora::monitor {

// Timers of the main window; the shell routes every WM_TIMER to onMonitorTimer.
inline constexpr unsigned kTimerId3 = 986548;         // the monitoring tick
inline constexpr unsigned kDeviceListTimer = 5543;    // connected-keyboard refresh, 1000 ms
inline constexpr unsigned kScriptHoldTimer = 115515;  // one-shot, ends the script hold
inline constexpr unsigned kTimerId4 = 459811;         // one-shot, restores the tray icon
inline constexpr unsigned kTimerId5 = 555455;         // one-shot, the notify-only return tick
inline constexpr unsigned kEventTickTimer = 986550;   // the quiet time after an event's tick

inline constexpr unsigned kDeviceListInterval = 1000;
inline constexpr unsigned kScriptHoldInterval = 10000;
inline constexpr unsigned kTrayRestoreInterval = 300;
// Events run at most one tick per this many milliseconds; the last one always gets its tick.
inline constexpr unsigned kEventTickInterval = 20;

// The balloon's icon: none, information, warning, error (NIIF_ order).
enum class BalloonIcon : int { None = 0, Information = 1, Warning = 2, Error = 3 };

// MessageBoxW flags the monitor passes.
inline constexpr unsigned kMbIconError = 0x10;

class BalloonShell {
 public:
  virtual ~BalloonShell() = default;
  // Forgets the pending balloon text, then shows text alone with that icon.
  // Called from the user-interface thread and from the script worker.
  virtual void showNewBalloon(std::u16string_view text, BalloonIcon icon) = 0;
};

class MessageBoxShell {
 public:
  virtual ~MessageBoxShell() = default;
  // The program's own (themed) message box; flags and result as MessageBoxW's.
  // Called from the user-interface thread and from the script worker.
  virtual int messageBox(platform::WindowHandle owner, std::u16string_view text,
                         std::u16string_view caption, unsigned flags) = 0;
};

// One line of the notify-only notice, drawn with TextOutW in the notice's
// font on the background colour at (x, y) of the main window.
struct NoticeLine {
  int x = 0;
  int y = 0;
  std::uint32_t textColor = 0;  // COLORREF
  std::u16string text;
  bool operator==(const NoticeLine&) const = default;
};

// The main window placed topmost at (x, y) in the given size without
// activation (SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW) and drawn
// directly on its DC; the text stays until the next tick hides or redraws it.
// Every size is in pixels of the monitor the notice is on.
struct ScreenNotice {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int textHeight = 0;                 // the font's character cell, in pixels
  std::uint32_t backgroundColor = 0;  // COLORREF for SetBkColor
  std::vector<NoticeLine> lines;
  bool operator==(const ScreenNotice&) const = default;
};

class MonitorShell : public BalloonShell, public MessageBoxShell {
 public:
  // The hidden main window: owner of the timers, hotkeys and script dialogs.
  virtual platform::WindowHandle mainWindow() = 0;
  // NIM_MODIFY with the icon and tooltip of the present state.
  virtual void updateTrayIcon() = 0;
  // NIM_MODIFY with the flash icon: lockStateIcons[lockStateIndex], or the
  // single key-change icon (resource 129) when no index is given; the tooltip
  // follows KBWatchEnabled.
  virtual void flashTrayIcon(std::optional<int> lockStateIndex) = 0;
  // The lock states to the companion program, when it runs.
  virtual void sendKeyStateToCompanion() = 0;
  virtual void startTimer(unsigned id, unsigned milliseconds) = 0;
  virtual void killTimer(unsigned id) = 0;
  // The DPI of the monitor the notice window is on (96 at 100 % scaling).
  virtual unsigned noticeDpi() = 0;
  virtual void showNotice(const ScreenNotice& notice) = 0;
  // ShowWindow(SW_HIDE) on the main window.
  virtual void hideNotice() = 0;
};

}  // namespace kivora::monitor
