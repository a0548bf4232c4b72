#include "app/tray_menu.h"

#include <shellapi.h>

#include "app/app.h"
#include "app/commands.h"
#include "app/dialogs.h"
#include "app/tray.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"

namespace kivora::app {

namespace {

void openTrayMenu(App& app) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const HMENU menu = app.trayMenu;
  setTrayMenuLook(menu, app.settings.EnDisTTIcon, app.modeJP);
  setTrayMenuCheck(menu, IDM_OFF, app.settings.KBWatchEnabled == 0);
  setTrayMenuCheck(menu, IDM_DEBUGLOG, app.debugLog.bDebugOut);
  // Without this the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(app.mainWindow);
  setTrayMenuCheck(menu, IDM_STARTUP, fileExists(app.startupShortcutPath));

  app.menuOpen = true;
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN | TPM_RIGHTALIGN,
                     cursor.x, cursor.y, 0, app.mainWindow, nullptr));
  PostMessageW(app.mainWindow, WM_NULL, 0, 0);
  runCommand(app, command);
}

void onRightButtonUp(App& app) {
  app.log(1443, u"WM_RBUTTONUP");
  if (app.dialogOpen) {
    if (app.aboutWindow) {
      DestroyWindow(app.aboutWindow);
      app.dialogOpen = false;
    } else if (app.settingsWindow) {
      if (GetForegroundWindow() == app.settingsWindow) {
        showBalloon(nullptr, nullptr, 0);
        showBalloon(app.mainWindow, win32::wide(texts::kCloseTheDialog, app.modeJP),
                    monitor::kBalloonWarning);
      }
      SetForegroundWindow(app.settingsWindow);
      return;
    }
  }
  if (app.menuOpen || app.dialogOpen) return;
  openTrayMenu(app);
}

void onDoubleClick(App& app) {
  app.log(1410, u"WM_LBUTTONDBLCLK");
  if (app.settings.EnDisTTIcon == 2) {
    app.log(1412, u"WM_LBUTTONDBLCLK", u"2");
    runCommand(app, IDM_OFF);
    return;
  }
  if (app.dialogOpen || app.menuOpen) return;
  app.menuOpen = true;
  app.log(1419, u"WM_LBUTTONDBLCLK", u"Dialog");
  showSettingsDialog(app);
  app.menuOpen = false;
}

}  // namespace

TrayMenuLook trayMenuLook(int enDisTTIcon) {
  switch (enDisTTIcon) {
    case 1:
      return {IDM_SETTINGS, texts::kMenuSettingsHint, texts::kMenuPauseClick};
    case 2:
      return {IDM_OFF, texts::kMenuSettings, texts::kMenuPauseDoubleClick};
    default:
      return {IDM_SETTINGS, texts::kMenuSettingsHint, texts::kMenuPause};
  }
}

void setTrayMenuLook(HMENU menu, int enDisTTIcon, bool japanese) {
  const TrayMenuLook look = trayMenuLook(enDisTTIcon);
  SetMenuDefaultItem(menu, static_cast<UINT>(-1), FALSE);
  ModifyMenuW(menu, IDM_SETTINGS, MF_BYCOMMAND | MF_STRING, IDM_SETTINGS,
              win32::wide(look.settings, japanese));
  ModifyMenuW(menu, IDM_OFF, MF_BYCOMMAND | MF_STRING, IDM_OFF, win32::wide(look.pause, japanese));
  SetMenuDefaultItem(menu, look.defaultItem, FALSE);
}

void setTrayMenuCheck(HMENU menu, UINT item, bool checked) {
  CheckMenuItem(menu, item, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool fileExists(const std::wstring& path) {
  if (path.empty()) return false;
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  WIN32_FIND_DATAW found{};
  const win32::UniqueFind search(FindFirstFileW(path.c_str(), &found));
  SetErrorMode(previousMode);
  return static_cast<bool>(search);
}

void onTrayCallback(App& app, LPARAM event) {
  switch (static_cast<UINT>(event)) {
    case WM_LBUTTONUP:
      app.log(1427, u"WM_LBUTTONUP");
      if (app.settings.EnDisTTIcon == 1) {
        app.log(1429, u"WM_LBUTTONUP", u"1");
        runCommand(app, IDM_OFF);
      }
      break;
    case WM_LBUTTONDBLCLK:
      onDoubleClick(app);
      break;
    case WM_RBUTTONUP:
      onRightButtonUp(app);
      break;
    case NIN_BALLOONTIMEOUT:
      app.monitor().onBalloonTimeout();
      break;
    default:
      break;
  }
}

}  // namespace kivora::app
