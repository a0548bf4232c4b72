#include "app/event_sources.h"

#include <wtsapi32.h>

#include "platform/win32/window_handle_win32.h"
#include "ui/system_library.h"

namespace kivora::app {

namespace {

// The hooks in place; out-of-context hook procedures run on the thread that
// set them, the main window's.
WindowEventHooks* activeHooks = nullptr;

void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG childId,
                         DWORD, DWORD) {
  if (activeHooks) activeHooks->onEvent(event, window, objectId, childId);
}

// Out of context: the events come to this thread through its message loop.
// A hook on every process skips Kivora's own; a hook on one process never
// names Kivora's, and has no need of the flag, which Wine 8 takes to mean
// "skip the process named" and then hears nothing.
HWINEVENTHOOK setHook(DWORD event, DWORD process) {
  const DWORD flags = WINEVENT_OUTOFCONTEXT | (process == 0 ? WINEVENT_SKIPOWNPROCESS : 0);
  return SetWinEventHook(event, event, nullptr, onWinEvent, process, 0, flags);
}

}  // namespace

WindowEventHooks::WindowEventHooks(monitor::Monitor& monitor) : monitor_(monitor) {
  foreground_.reset(setHook(EVENT_SYSTEM_FOREGROUND, 0));
  if (!foreground_) return;
  activeHooks = this;
  followForeground(GetForegroundWindow());
}

WindowEventHooks::~WindowEventHooks() {
  if (activeHooks == this) activeHooks = nullptr;
}

void WindowEventHooks::onEvent(DWORD event, HWND window, LONG objectId, LONG childId) {
  if (event == EVENT_SYSTEM_FOREGROUND) followForeground(window);
  monitor_.onWindowEvent(event, win32::handleOf(window), objectId, childId);
}

void WindowEventHooks::followForeground(HWND window) {
  DWORD process = 0;
  if (window) GetWindowThreadProcessId(window, &process);
  // Kivora's own windows raise nothing the hooks pass on; and process 0
  // would mean every process.
  if (process == GetCurrentProcessId()) process = 0;
  if (process == titleProcess_) return;
  titles_.reset();
  titleProcess_ = 0;
  if (process == 0) return;
  titles_.reset(setHook(EVENT_OBJECT_NAMECHANGE, process));
  if (titles_) titleProcess_ = process;
}

bool SessionNotification::start(HWND window) {
  if (active()) return true;
  if (!library_) library_ = ui::LoadSystemLibrary(L"wtsapi32.dll");
  if (!library_) return false;
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  const auto registerFor = reinterpret_cast<Register>(
      reinterpret_cast<void*>(GetProcAddress(library_.get(), "WTSRegisterSessionNotification")));
  unregister_ = reinterpret_cast<Unregister>(
      reinterpret_cast<void*>(GetProcAddress(library_.get(), "WTSUnRegisterSessionNotification")));
  if (!registerFor || !unregister_ || !registerFor(window, NOTIFY_FOR_THIS_SESSION)) return false;
  window_ = window;
  return true;
}

void SessionNotification::stop() {
  if (!active()) return;
  unregister_(window_);
  window_ = nullptr;
}

}  // namespace kivora::app
