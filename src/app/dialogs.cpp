#include "app/dialogs.h"

#include <windows.h>

#include <algorithm>

#include "app/app.h"
#include "app/help.h"
#include "app/instant_check.h"
#include "ui/debug_log_dialogs.h"
#include "ui/kivora_about.h"
#include "ui/message_box.h"
#include "ui/script_editor.h"
#include "ui/settings_dialogs.h"

namespace kivora::app {

namespace {

ui::HelpOpener helpOpener(App& app) {
  return [&app](HWND owner, const wchar_t* topic) { return openHelp(app, owner, topic); };
}

}  // namespace

void showSettingsDialog(App& app) {
  const ui::HelpOpener help = helpOpener(app);
  const ui::SettingsDialogContext context{
      {app.instance, app.modeJP, ui::ThemedMessageBox, help},
      app.settings,
      app.store(),
      app.shell,
      app.shell,
      app.monitor().devices(),
      app.monitor().hotkeys(),
      [&app] { return app.monitor().scriptWorker().scriptRunning(); },
      [&app] { app.monitor().requestScriptStop(); },
      [&app] {
        app.shell.startTimer(monitor::kTimerId3, std::max(app.settings.timer3_interval, 100u));
      },
      [&app] { followInstantCheck(app); },
      [&app] { app.shell.updateTrayIcon(); },
      [&app, help](HWND owner) {
        const ui::ScriptEditorContext editor{
            app.instance, app.settings,
            app.modeJP,   [&app] { app.monitor().requestScriptStop(); },
            help,         ui::ThemedMessageBox,
            nullptr};
        ui::showScriptEditor(owner, editor);
      },
      &app.dialogOpen,
      &app.settingsWindow,
  };
  ui::showSettingsDialog(context);
}

void showAboutDialog(App& app) {
  app.log(1252, u"[バージョン情報表示]", u"Kivora");
  ui::ShowAbout(
      ui::kivoraAboutInfo(app.instance, app.modeJP, &app.aboutWindow, ui::ThemedMessageBox));
}

void showDebugLogDialog(App& app) {
  const ui::DebugLogDialogContext context{
      app.instance,
      app.debugLog,
      app.settings,
      app.debugMonitor,
      app.mainWindow,
      app.modeJP,
      [&app] { return app.hasMonitor() && app.monitor().state().bTimer5Active; },
      helpOpener(app),
      ui::ThemedMessageBox,
  };
  ui::showDebugLogDialog(nullptr, context);
}

void selectSettingsImeEntry(App& app, int imeMode) {
  ui::selectSettingsImeMode(app.settingsWindow, imeMode);
}

}  // namespace kivora::app
