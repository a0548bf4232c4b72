#pragma once
// Instant correction: while InstantCheck is on, the main window hears at once
// of whatever may call for a correction, and the monitor runs its tick then
// instead of waiting for the monitoring timer:
//   - a lock key's release: raw keyboard input in the background (WM_INPUT);
//   - the window in front changing or retitling itself: WinEvent hooks
//     (app/event_sources.h);
//   - a keyboard plugged in or pulled out: the same raw-input registration
//     with RIDEV_DEVNOTIFY (WM_INPUT_DEVICE_CHANGE);
//   - a session connecting or being unlocked: WTSRegisterSessionNotification
//     (WM_WTSSESSION_CHANGE).
// No keyboard hook is involved.

#include <windows.h>

namespace kivora::app {

class App;

// Sets all of the above up when InstantCheck is on and removes it when it is
// off. Called when the window is created and when the settings dialog is
// confirmed; a failure is logged and tried again at the next call.
void followInstantCheck(App& app);
// Shut-down: the hooks and the session notification go before the window.
void stopInstantCheck(App& app);

// WM_INPUT: a released key goes to the monitor.
void onRawInput(App& app, HRAWINPUT input);

}  // namespace kivora::app
