#pragma once
// Instant correction: while InstantCheck is on, the main window takes raw
// keyboard input in the background, and the release of a key reaches the
// monitor at once (Monitor::onLockKeyChanged), which corrects the lock keys
// without waiting for the monitoring timer. No keyboard hook is involved.

#include <windows.h>

namespace kivora::app {

class App;

// Registers the main window for raw keyboard input (usage page 1, usage 6,
// RIDEV_INPUTSINK) when InstantCheck is on, and removes the registration when
// it is off. Called when the window is created and when the settings dialog
// is confirmed; a failure is logged and tried again at the next call.
void followInstantCheck(App& app);

// WM_INPUT: a released key goes to the monitor.
void onRawInput(App& app, HRAWINPUT input);

}  // namespace kivora::app
