#pragma once
// The dialogs that edit the settings: the settings dialog and the two it
// opens, the per-window rule list (with its edit dialog) and the keyboard
// device dialog. Each is modal and takes everything it reaches in one
// context record, so the application wires it with a few lines:
//
//   ui::SettingsDialogContext context{
//       {app.instance, app.modeJP, ui::ThemedMessageBox, helpOpener},
//       app.settings, app.store(), app.shell, app.shell,
//       app.monitor().devices(), app.monitor().hotkeys(),
//       [&] { return app.monitor().scriptWorker().scriptRunning(); },
//       [&] { app.monitor().requestScriptStop(); },
//       [&] { app.shell.startTimer(monitor::kTimerId3, app.settings.timer3_interval); },
//       [&] { followInstantCheck(app); },
//       [&] { app.shell.updateTrayIcon(); },
//       scriptEditorOpener, &app.dialogOpen, &app.settingsWindow};
//   ui::showSettingsDialog(context);

#include <windows.h>

#include <functional>

#include "monitor/device_watch.h"
#include "monitor/hotkey_control.h"
#include "monitor/monitor_shell.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "ui/help.h"
#include "ui/message_box.h"

namespace kivora::ui {

// What all of these dialogs need.
struct DialogBasics {
  HINSTANCE resources = nullptr;  // the module that holds the templates and icon 107
  bool japanese = false;          // modeJP: picks the layout and every text
  MessageBoxFunction messageBox = ThemedMessageBox;
  HelpOpener openHelp;  // may be empty: Help then does nothing
};

// ---- the per-window rule list ("for specific window")

struct WindowRulesDialogContext {
  DialogBasics basics;
  settings::SettingsStore store;
  bool useIni = false;     // bUseIni
  bool bigDialog = false;  // BIGDIALOG
  // Where saving the rules reports what it could not write.
  monitor::BalloonShell& balloons;
};

// Shows the stored rules; OK writes the list back in its order (IDOK),
// Cancel leaves the store as it was (IDCANCEL).
INT_PTR showWindowRulesDialog(HWND owner, const WindowRulesDialogContext& context);

// ---- the keyboard device dialog

struct DeviceDialogContext {
  DialogBasics basics;
  // watchedKeyboards and NOT_WATCH_DEV_NUMLOCK are edited; NumLockState and
  // BIGDIALOG are read.
  settings::Settings& settings;
  // The monitor's device list, refreshed by the dialog.
  monitor::DeviceWatch& devices;
};

// OK takes the watched list and the reverse box into settings, unsaved
// (IDOK); Cancel changes nothing (IDCANCEL). When the connected devices
// cannot be read the dialog says so and closes at once (IDCANCEL).
INT_PTR showDeviceDialog(HWND owner, const DeviceDialogContext& context);

// ---- the settings dialog

struct SettingsDialogContext {
  DialogBasics basics;
  settings::Settings& settings;
  settings::SettingsStore store;
  // SaveSettings' warning balloon and pause-hotkey registration.
  settings::SaveHooks& saveHooks;
  // Where saving the per-window rules reports what it could not write.
  monitor::BalloonShell& balloons;
  monitor::DeviceWatch& devices;
  // The pause hotkey and the Insert block take their new settings at once.
  monitor::HotkeyControl& hotkeys;
  // Switching the script off stops a run that is going on.
  std::function<bool()> scriptRunning;
  std::function<void()> requestScriptStop;
  // The monitoring timer starts over with timer3_interval.
  std::function<void()> restartMonitorTimer;
  // The main window takes raw keyboard input while InstantCheck is on, and
  // none while it is off.
  std::function<void()> followInstantCheck;
  // The tray icon and its tooltip follow the new settings.
  std::function<void()> updateTrayIcon;
  // Opens the script editor owned by the settings dialog; empty while
  // Kivora has none, and the button then says so.
  std::function<void(HWND owner)> openScriptEditor;
  // The application's dialogOpen flag and settingsWindow slot, set while
  // the dialog is open so the tray opens no second dialog; may be null.
  bool* dialogOpen = nullptr;
  HWND* settingsWindow = nullptr;
};

// The settings dialog (no owner window): IDOK after the settings were
// applied and saved, IDCANCEL when they were left as they were.
INT_PTR showSettingsDialog(const SettingsDialogContext& context);

// A change of ImeLock from outside while the dialog is open (a second
// start's "/I0" to "/I4"): its IME list shows the new mode.
void selectSettingsImeMode(HWND settingsWindow, int imeMode);

}  // namespace kivora::ui
