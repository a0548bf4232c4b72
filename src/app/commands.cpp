#include "app/commands.h"

#include "app/app.h"
#include "app/dialogs.h"
#include "app/help.h"
#include "app/startup_shortcut.h"
#include "resource_ids.h"

namespace kivora::app {

namespace {

constexpr wchar_t kFirstHelpTopic[] = L"HLP000001.html";

void setWatching(App& app, std::int32_t value) {
  app.settings.KBWatchEnabled = value;
  app.log(1535, u"[Menu]", u"IDM_OFF");
  app.shell.updateTrayIcon();
}

// Runs a modal dialog of the program unless one is already open.
template <typename Show>
void withDialogOpen(App& app, Show show) {
  if (app.dialogOpen) return;
  app.dialogOpen = true;
  show();
  app.dialogOpen = false;
}

}  // namespace

void runCommand(App& app, UINT command) {
  switch (command) {
    case IDC_OPEN_DOC:
      app.log(1629, u"[Menu]", u"IDC_OPEN_DOC");
      openHelp(app, app.mainWindow, kFirstHelpTopic);
      break;
    case IDM_SETTINGS:
      app.log(1526, u"[Menu]", u"IDM_SETTINGS");
      if (!app.dialogOpen) showSettingsDialog(app);
      break;
    case IDM_OFF:
      setWatching(app, app.settings.KBWatchEnabled == 0 ? 1 : 0);
      break;
    case IDM_OFF_P0:
      app.log(1540, u"[Menu]", u"IDM_OFF_P0");
      setWatching(app, 0);
      break;
    case IDM_OFF_P1:
      app.log(1545, u"[Menu]", u"IDM_OFF_P1");
      setWatching(app, 1);
      break;
    case IDM_ABOUT:
      app.log(1550, u"[Menu]", u"IDM_ABOUT");
      // The menu is closed by now. A right-click while the About box is up
      // closes the box and opens the menu again, which it could not do with
      // the menu still marked open.
      app.menuOpen = false;
      withDialogOpen(app, [&] { showAboutDialog(app); });
      break;
    case IDM_DEBUGLOG:
      app.log(1559, u"[Menu]", u"IDM_DEBUGLOG");
      withDialogOpen(app, [&] { showDebugLogDialog(app); });
      break;
    case IDM_STARTUP:
      app.log(1568, u"[Menu]", u"IDM_STARTUP");
      withDialogOpen(app, [&] { toggleStartupShortcut(app, app.mainWindow); });
      break;
    case IDM_FEEDBACK:
      app.log(1635, u"[Menu]", u"IDM_FEEDBACK");
      openFeedbackPage(app);
      break;
    case IDM_EXIT:
      app.log(1653, u"[Menu]", u"IDM_EXIT");
      DestroyWindow(app.mainWindow);
      break;
    default:
      break;
  }
  app.menuOpen = false;
}

void onExecAll(App& app, WPARAM command) {
  switch (command) {
    case IDM_SETTINGS:
    case IDM_OFF:
    case IDM_OFF_P0:
    case IDM_OFF_P1:
      app.log(1382, u"MYWM_EXECALL", command == IDM_OFF ? u"IDM_OFF" : u"IDM_OFF_P0");
      runCommand(app, static_cast<UINT>(command));
      break;
    case IDM_IME0:
    case IDM_IME1:
    case IDM_IME2:
    case IDM_IME3:
    case IDM_IME4: {
      app.log(1394, u"MYWM_EXECALL", command == IDM_IME0 ? u"IDM_IME0" : u"IDM_IME1");
      const int mode = static_cast<int>(command - IDM_IME0);
      app.settings.ImeLock = mode;
      if (app.dialogOpen && app.settingsWindow) selectSettingsImeEntry(app, mode);
      break;
    }
    default:
      break;
  }
}

}  // namespace kivora::app
