#include "app/main_window.h"

#include "app/app.h"
#include "app/commands.h"
#include "app/dialogs.h"
#include "app/instant_check.h"
#include "app/start_dialogs.h"
#include "app/startup_shortcut.h"
#include "app/texts.h"
#include "app/tray.h"
#include "app/tray_menu.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "settings/texts.h"
#include "ui/message_box.h"

namespace kivora::app {

namespace {

constexpr int kWindowWidth = 200;
constexpr int kWindowHeight = 124;
constexpr COLORREF kTransparentColour = 0xFFFFFF;
constexpr BYTE kNoticeAlpha = 200;

void addCurrentTrayIcon(App& app, const std::u16string& tooltip) {
  addTrayIcon(app.mainWindow, currentTrayIcon(app.icons, app.traySettings()), win32::wide(tooltip));
}

void onCreate(App& app, HWND window) {
  app.mainWindow = window;
  addCurrentTrayIcon(app, trayTooltip(app.settings.KBWatchEnabled, app.modeJP));
  app.taskbarCreatedMsg = RegisterWindowMessageW(L"TaskbarCreated");
  app.menu.reset(
      LoadMenuW(app.instance, MAKEINTRESOURCEW(app.modeJP ? IDR_TRAYMENU_JA : IDR_TRAYMENU_EN)));
  app.trayMenu = GetSubMenu(app.menu.get(), 0);
  if (!SettingsExist(app.store(), app.settings.bUseIni)) showSettingsDialog(app);
  app.monitor().startMonitoring();
  followInstantCheck(app);
  if (app.settings.BlockInsert != 0) app.monitor().hotkeys().setInsertBlock(true);
  app.startupShortcutPath = startupShortcutPath();
  if (app.modeJP && app.settings.NoOpeningDlg == 0) createOpeningDialog(app);
  app.monitor().onMainWindowCreated();
}

void onTaskbarCreated(App& app) {
  app.log(2417, u"通知領域アイコン復旧");
  // A taskbar that comes back may come at another scaling.
  followTrayIconSize(app.icons, app.instance, app.modeJP);
  addCurrentTrayIcon(app, kCaption);
}

// The scaling may have changed: the tray icons follow the taskbar's size.
void onScalingMayHaveChanged(App& app) {
  if (followTrayIconSize(app.icons, app.instance, app.modeJP)) app.shell.updateTrayIcon();
}

// MYWM_REG_STARTUP comes from outside and does not wait for other dialogs;
// whatever was open stays marked open afterwards.
void onRegisterStartup(App& app) {
  app.log(1670, u"MYWM_REG_STARTUP");
  const bool wasOpen = app.dialogOpen;
  app.dialogOpen = true;
  toggleStartupShortcut(app, app.mainWindow);
  app.dialogOpen = wasOpen;
  app.menuOpen = false;
}

void onFlash(App& app) {
  app.log(2409, u"色替え・音お知らせ");
  app.monitor().pressLockKey(0);
}

void stopRunningScript(App& app) {
  if (app.monitor().scriptWorker().scriptRunning()) app.monitor().requestScriptStop();
}

LRESULT handleMessage(App& app, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  // After the shut-down a forced exit leaves the window alive for a moment:
  // it takes no more timers, clicks or commands.
  if (app.shutDownDone && msg != WM_PAINT) return DefWindowProcW(window, msg, wParam, lParam);
  if (msg == app.taskbarCreatedMsg && msg != 0) {
    onTaskbarCreated(app);
    return 0;
  }
  switch (msg) {
    case WM_CREATE:
      onCreate(app, window);
      return 0;
    case WM_TIMER:
      app.monitor().onMonitorTimer(static_cast<unsigned>(wParam));
      return 0;
    case WM_INPUT:
      onRawInput(app, reinterpret_cast<HRAWINPUT>(lParam));
      // The system frees the report only through DefWindowProcW.
      return DefWindowProcW(window, msg, wParam, lParam);
    case kTrayCallbackMessage:
      onTrayCallback(app, lParam);
      return 0;
    case kFlashMessage:
      onFlash(app);
      return 0;
    case MYWM_EXECALL:
      onExecAll(app, wParam);
      return 0;
    case MYWM_REG_STARTUP:
      onRegisterStartup(app);
      return 0;
    case WM_HOTKEY:
      if (wParam == monitor::kPauseHotkeyId) {
        app.log(2402, u"IDM_OFFホットキー検知");
        runCommand(app, IDM_OFF);
      } else {
        onFlash(app);
      }
      return 0;
    case WM_DPICHANGED:
      onScalingMayHaveChanged(app);
      return 0;
    case WM_SETTINGCHANGE:
      onScalingMayHaveChanged(app);
      return DefWindowProcW(window, msg, wParam, lParam);
    case WM_POWERBROADCAST:
      app.monitor().onPowerBroadcast(static_cast<unsigned>(wParam));
      return TRUE;
    case WM_QUERYENDSESSION:
      stopRunningScript(app);
      DestroyWindow(window);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) {
        app.log(2351, u"Windowsセッション終了に伴う緊急終了");
        DestroyWindow(window);
      }
      return 0;
    case WM_CLOSE:
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      shutDown(app);
      return 0;
    default:
      return DefWindowProcW(window, msg, wParam, lParam);
  }
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  App* app = reinterpret_cast<App*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!app) return DefWindowProcW(window, msg, wParam, lParam);
  return handleMessage(*app, window, msg, wParam, lParam);
}

}  // namespace

HWND createMainWindow(App& app) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = mainWindowProc;
  wc.hInstance = app.instance;
  wc.hIcon = app.images.appIcon.get();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);

  const HWND window =
      CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST,
                      kMainWindowClass, L"Kivora", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                      kWindowWidth, kWindowHeight, nullptr, nullptr, app.instance, &app);
  if (!window) return nullptr;
  SetLayeredWindowAttributes(window, kTransparentColour, kNoticeAlpha, LWA_COLORKEY | LWA_ALPHA);
  ShowWindow(window, SW_HIDE);
  UpdateWindow(window);
  app.monitor().hotkeys().registerPauseHotkey();
  return window;
}

void shutDown(App& app) {
  if (app.shutDownDone) return;
  app.shutDownDone = true;
  auto& monitor = app.monitor();
  // A run goes on after use_script was switched off in the settings; it is
  // asked to stop all the same, or the exit would wait for it.
  stopRunningScript(app);
  app.log(2363, u"タイマ登録解除");
  KillTimer(app.mainWindow, monitor::kTimerId3);
  app.log(2367, u"通知領域アイコン削除");
  removeTrayIcon(app.mainWindow);
  monitor.hotkeys().removeInsertBlockAtExit();
  app.log(2380, u"メニューリソース削除");
  app.trayMenu = nullptr;
  app.menu.reset();
  if (!SaveSettings(app.settings, app.store(), app.modeJP, app.shell)) {
    const std::u16string text(settings::cannotSaveSettingsText(app.settings.bUseIni, app.modeJP));
    ui::ThemedMessageBox(nullptr, win32::wide(text), win32::wide(kCaption), MB_ICONWARNING);
  }
  monitor.hotkeys().releasePauseHotkeyAtExit();
  app.debugLog.log(diag::kLogEnd, 2392, u"", u"");
  app.scriptWorkerEnded = monitor.waitForScriptWorker(2000);
  PostQuitMessage(0);
}

}  // namespace kivora::app
