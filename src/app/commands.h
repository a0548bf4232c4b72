#pragma once
// The commands shared by the tray menu, tray clicks, the pause hotkey, the
// command line and other instances (MYWM_EXECALL).

#include <windows.h>

namespace kivora::app {

class App;

// Runs one command id (IDM_..., IDC_OPEN_DOC); unknown ids do nothing.
// Always ends with the tray menu marked closed.
void runCommand(App& app, UINT command);

// MYWM_EXECALL: the settings and watching commands run; IDM_IME0..IDM_IME4
// set ImeLock (and the open settings dialog's IME choice); others are ignored.
void onExecAll(App& app, WPARAM command);

}  // namespace kivora::app
