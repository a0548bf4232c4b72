#pragma once
// Kivora's one window of its own: a hidden, click-through, topmost layered
// popup that owns the tray icon, the timers and the hotkeys, receives the
// messages of other instances, and doubles as the notify-only notice. Its
// window procedure is the program's single dispatcher.

#include <windows.h>

namespace kivora::app {

class App;

// Registers the class "Kivora" and creates the window (which runs its
// start-up steps in WM_CREATE), then makes it layered and hidden and
// registers the pause hotkey. Null when it cannot be created.
HWND createMainWindow(App& app);

// The shut-down order of WM_DESTROY; runs once.
void shutDown(App& app);

}  // namespace kivora::app
