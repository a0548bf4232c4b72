#pragma once
// What tells the main window's thread that the window in front changed or a
// session connected, for instant correction (app/instant_check.h). Each
// object removes its registration when it goes.

#include <windows.h>

#include "monitor/monitor.h"
#include "platform/win32/handles.h"

namespace kivora::app {

// WinEvent hooks, out of context on the thread that makes the object and
// skipping Kivora's own process: EVENT_SYSTEM_FOREGROUND from every process,
// EVENT_OBJECT_NAMECHANGE only from the process of the window in front. That
// hook moves on every switch, so titles changing in other programs (clocks,
// progress in title bars) never wake Kivora. Events go to the monitor.
// One object at a time: the hook procedure has no context of its own.
class WindowEventHooks {
 public:
  explicit WindowEventHooks(monitor::Monitor& monitor);
  ~WindowEventHooks();
  WindowEventHooks(const WindowEventHooks&) = delete;
  WindowEventHooks& operator=(const WindowEventHooks&) = delete;

  // The foreground hook is in place.
  bool installed() const { return static_cast<bool>(foreground_); }
  // The process whose title changes are heard (0: none).
  DWORD titleProcess() const { return titleProcess_; }

  void onEvent(DWORD event, HWND window, LONG objectId, LONG childId);

 private:
  void followForeground(HWND window);

  monitor::Monitor& monitor_;
  win32::UniqueWinEventHook foreground_;
  win32::UniqueWinEventHook titles_;
  DWORD titleProcess_ = 0;
};

// WTSRegisterSessionNotification for this session, through wtsapi32 loaded
// from the system folder (Kivora imports nothing it could pick up from
// beside itself). The window gets WM_WTSSESSION_CHANGE while registered.
class SessionNotification {
 public:
  SessionNotification() = default;
  ~SessionNotification() { stop(); }
  SessionNotification(const SessionNotification&) = delete;
  SessionNotification& operator=(const SessionNotification&) = delete;

  bool start(HWND window);
  void stop();
  bool active() const { return window_ != nullptr; }

 private:
  using Unregister = BOOL(WINAPI*)(HWND);
  win32::UniqueModule library_;
  Unregister unregister_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace kivora::app
