#include "app/dialogs.h"

#include <windows.h>

#include "app/app.h"
#include "app/help.h"
#include "app/texts.h"
#include "diag/win32/debug_log_dialogs.h"
#include "ui/kivora_about.h"
#include "ui/message_box.h"

namespace kivora::app {

namespace {

constexpr int kSettingsImeCombo = 1025;

// Until a dialog exists, its command says so plainly instead of showing
// something that looks like it.
void showNotAvailable(App& app, const Bilingual& dialogName) {
  const std::wstring text = fillIn(texts::kDialogNotAvailable.pick(app.modeJP), dialogName.pick(app.modeJP));
  ui::ThemedMessageBox(nullptr, text.c_str(), kCaption, MB_ICONINFORMATION);
}

}  // namespace

void showSettingsDialog(App& app) {
  // Stands in for the settings dialog, and like it keeps a second dialog out.
  const bool wasOpen = app.dialogOpen;
  app.dialogOpen = true;
  showNotAvailable(app, texts::kSettingsDialogName);
  app.dialogOpen = wasOpen;
}

void showAboutDialog(App& app) {
  app.log(1252, u"[バージョン情報表示]", u"Kivora");
  ui::ShowAbout(ui::KivoraAboutInfo(app.instance, app.modeJP, &app.aboutWindow, ui::ThemedMessageBox));
}

void showDebugLogDialog(App& app) {
  const diag::DebugLogDialogContext context{
      app.instance,
      app.debugLog,
      app.settings,
      app.debugMonitor,
      app.mainWindow,
      app.modeJP,
      [&app] { return app.hasMonitor() && app.monitor().state().bTimer5Active; },
      [&app](HWND owner, const wchar_t* topic) { return openHelp(app, owner, topic); },
      ui::ThemedMessageBox,
  };
  diag::ShowDebugLogDialog(nullptr, context);
}

void selectSettingsImeEntry(App& app, int imeMode) {
  SendDlgItemMessageW(app.settingsWindow, kSettingsImeCombo, CB_SETCURSEL, static_cast<WPARAM>(imeMode), 0);
}

}  // namespace kivora::app
