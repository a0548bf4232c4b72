#pragma once
// Where the tray's commands open Kivora's modal dialogs. Each function is the
// one place its dialog plugs in.
//
// The settings dialog is opened by showSettingsDialog alone: IDM_SETTINGS, a
// double-click on the tray icon, MYWM_EXECALL from a second start's
// "Settings..." and the first start without settings all come here. Until
// the dialog exists, its body says the dialog is not available yet. The
// dialog (resource 133 Japanese, 135 English, no owner) sets dialogOpen and
// settingsWindow while it is open, saves through SaveSettings with app.shell
// as the SaveHooks, and after OK re-registers the Insert block and the pause
// hotkey (app.monitor().hotkeys()) and refreshes the tray icon (app.shell).

namespace kivora::app {

class App;

// The modal settings dialog (no owner window).
void showSettingsDialog(App& app);
// The About box (ui/kivora_about.h), run while dialogOpen is set; it keeps
// app.aboutWindow while it is open.
void showAboutDialog(App& app);
// The debug-log settings dialog (diag/win32/debug_log_dialogs.h, no owner),
// run while dialogOpen is set; it shows or closes app.debugMonitor.
void showDebugLogDialog(App& app);

// A second start's "/I0".."/I4" while the settings dialog is open: its IME
// combo box (control 1025) shows the new ImeLock.
void selectSettingsImeEntry(App& app, int imeMode);

}  // namespace kivora::app
