#pragma once
// Where the tray's commands open Kivora's modal dialogs, each wired to its
// module with what it reaches of the App.

namespace kivora::app {

class App;

// The settings dialog (ui/settings_dialogs.h; modal, no owner): IDM_SETTINGS,
// a double-click on the tray icon, a second start's "Settings..." and the
// first start without settings all open it. It marks dialogOpen and
// settingsWindow itself while it is open.
void showSettingsDialog(App& app);
// The About box (ui/kivora_about.h), run while dialogOpen is set; it keeps
// app.aboutWindow while it is open.
void showAboutDialog(App& app);
// The debug-log settings dialog (ui/debug_log_dialogs.h, no owner),
// run while dialogOpen is set; it shows or closes app.debugMonitor.
void showDebugLogDialog(App& app);

// A second start's "/I0".."/I4" while the settings dialog is open: its IME
// combo box (control 1025) shows the new ImeLock.
void selectSettingsImeEntry(App& app, int imeMode);

}  // namespace kivora::app
