#include "app/startup.h"

#include <objbase.h>
#include <commctrl.h>

#include <memory>

#include "app/app.h"
#include "app/help.h"
#include "app/main_window.h"
#include "app/png_resource.h"
#include "app/start_dialogs.h"
#include "app/texts.h"
#include "app/tray.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_version.h"
#include "resource_ids.h"
#include "ui/dialog_look.h"
#include "ui/system_library.h"

namespace kivora::app {

namespace {

constexpr UINT kCopyGlobalData = 0x0049;

void loadStartupImages(StartupImages& images, HINSTANCE instance) {
  images.appIcon.reset(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_KIVORA), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  images.appIconSmall = loadSmallIcon(instance, IDI_KIVORA);
  const GdiplusSession gdiplus;
  images.pictures[0] = loadPngResource(instance, IDP_TRAY_HINT_WIN7);
  images.pictures[1] = loadPngResource(instance, IDP_TRAY_HINT_WIN10);
}

// The second start: forward a switch to the running instance, stop it, or
// offer the already-running dialog.
void runSecondInstance(StartSwitch given, HINSTANCE instance, bool modeJP,
                       const StartupImages& images) {
  if (const auto command = forwardedCommand(given)) {
    if (const HWND running = FindWindowW(kMainWindowClass, nullptr)) {
      SendMessageW(running, MYWM_EXECALL, *command, 0);
    } else {
      ui::ThemedMessageBox(nullptr, win32::wide(texts::kForwardNoWindow, modeJP),
                           win32::wide(kCaption), MB_ICONERROR);
    }
    return;
  }
  if (given != StartSwitch::Exit &&
      showAlreadyRunningDialog(instance, modeJP, images) != IDC_FORCE_EXIT)
    return;
  if (const HWND running = FindWindowW(kMainWindowClass, nullptr)) {
    // Runs its whole shut-down, which ends its message loop.
    SendMessageW(running, WM_DESTROY, 0, 0);
  } else if (given != StartSwitch::Exit) {
    ui::ThemedMessageBox(nullptr, win32::wide(texts::kForceExitNoWindow, modeJP),
                         win32::wide(kCaption), MB_ICONERROR);
  }
}

void runCopySwitch(App& app, StartSwitch copy) {
  const bool succeeded =
      copy == StartSwitch::IniToRegistry
          ? settings::copyIniToRegistry(app.settings, app.store(), app.modeJP, app.shell)
          : settings::copyRegistryToIni(app.settings, app.store(), app.modeJP, app.shell);
  const CopyReport report = copyReport(copy, succeeded, app.modeJP);
  ui::ThemedMessageBox(nullptr, report.text, win32::wide(kCaption), report.icon);
}

// Lets a sender of lower integrity reach the window with dropped files and
// copied data (Windows Vista on).
void openMessageFilter() {
  const auto version = win32::windowsVersion();
  if (version.major * 100 + version.minor < 600) return;
  static const win32::UniqueModule user32 = ui::LoadSystemLibrary(L"user32.dll");
  if (!user32) return;
  using FilterFunction = BOOL(WINAPI*)(UINT message, DWORD flag);
  const auto filter = reinterpret_cast<FilterFunction>(
      reinterpret_cast<void*>(GetProcAddress(user32.get(), "ChangeWindowMessageFilter")));
  if (!filter) return;
  constexpr DWORD kMsgfltAdd = 1;
  for (const UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, kCopyGlobalData})
    filter(message, kMsgfltAdd);
}

int runMessageLoop(App& app) {
  MSG msg{};
  int result = 0;
  while ((result = GetMessageW(&msg, nullptr, 0, 0)) != 0 && result != -1) {
    // The opening dialog and the debug-log monitor are modeless: they need
    // the dialog keys (Tab, Enter, mnemonics) taken out of the loop.
    if (app.openingDialog && IsDialogMessageW(app.openingDialog, &msg)) continue;
    if (app.debugMonitor.exists() && IsDialogMessageW(app.debugMonitor.window(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return result == 0 ? static_cast<int>(msg.wParam) : 0;
}

// Everything after the message loop, in the order it was taken.
int cleanUp(std::unique_ptr<App> app, win32::UniqueHandle mutex, bool comStarted, int exitCode) {
  closeHelp();
  if (app->mainWindow && IsWindow(app->mainWindow)) DestroyWindow(app->mainWindow);
  mutex.reset();
  if (comStarted) CoUninitialize();
  for (auto& icon : app->icons.lockState) icon.reset();
  ui::deleteDarkBrush();
  {
    const std::lock_guard lock(app->settings.ScriptTextLock);
    app->settings.kx_script.clear();
    app->settings.kx_script.shrink_to_fit();
  }
  for (auto& picture : app->images.pictures) picture.reset();
  app->icons = TrayIcons{};
  app->images.appIcon.reset();
  app->images.appIconSmall.reset();
  // A script that never reached a statement boundary still runs on the
  // worker; the engine and monitor it uses cannot go before it does, so the
  // process ends around it. The settings were saved by the shut-down.
  if (!app->scriptWorkerEnded) ExitProcess(static_cast<UINT>(exitCode));
  return exitCode;
}

}  // namespace

CopyReport copyReport(StartSwitch copy, bool succeeded, bool japanese) {
  if (copy == StartSwitch::IniToRegistry) {
    return succeeded
               ? CopyReport{win32::wide(texts::kIniToRegistryDone, japanese), MB_ICONINFORMATION}
               : CopyReport{win32::wide(texts::kIniToRegistryFailed, japanese), MB_ICONERROR};
  }
  // A failed copy to the ini file gets the error icon too, so that it does
  // not look like the success box.
  return succeeded
             ? CopyReport{win32::wide(texts::kRegistryToIniDone, japanese), MB_ICONINFORMATION}
             : CopyReport{win32::wide(texts::kRegistryToIniFailed, japanese), MB_ICONERROR};
}

int runKivora(HINSTANCE instance, const wchar_t* commandLine) {
  ui::DetectDarkMode();
  ui::EnableDarkApp();
  const bool modeJP = chooseJapaneseMode();
  auto app = std::make_unique<App>(instance, modeJP);
  loadStartupImages(app->images, instance);

  const StartSwitch given = parseStartSwitch(commandLine ? commandLine : L"");
  win32::UniqueHandle mutex(CreateMutexW(nullptr, TRUE, kMutexName));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    // This process never owns the mutex; holding it open would only keep a
    // stopped instance's mutex alive.
    mutex.reset();
    runSecondInstance(given, instance, modeJP, app->images);
    return 0;
  }
  switch (given) {
    case StartSwitch::Exit:
      return 0;
    case StartSwitch::Ini:
      app->settings.bUseIni = true;
      break;
    case StartSwitch::IniToRegistry:
    case StartSwitch::RegistryToIni:
      runCopySwitch(*app, given);
      return 0;
    default:
      break;
  }
  const std::u16string self = win32::modulePath(nullptr);
  if (!app->settings.bUseIni && iniModeByFileName(win32::wide(self))) app->settings.bUseIni = true;
  openMessageFilter();
  app->icons = loadTrayIcons(instance, modeJP);

  app->folder = programFolder(win32::wide(self));
  if (!app->folder.empty()) SetCurrentDirectoryW(app->folder.c_str());
  settings::LoadSettings(app->settings, app->store());
  app->createMonitor();
  setTrayLog(
      [log = &app->debugLog](unsigned kind, unsigned line, std::u16string_view first,
                             std::u16string_view second) { log->log(kind, line, first, second); });

  // Common controls and COM come before the window: the settings dialog of a
  // first start opens while the window is being created.
  InitCommonControls();
  const HRESULT com = CoInitialize(nullptr);
  if (!createMainWindow(*app)) {
    if (SUCCEEDED(com)) CoUninitialize();
    setTrayLog(nullptr);
    return 0;
  }
  if (const auto command = forwardedCommand(given))
    SendMessageW(app->mainWindow, MYWM_EXECALL, *command, 0);
  const int exitCode = runMessageLoop(*app);
  if (app->scriptWorkerEnded) setTrayLog(nullptr);
  return cleanUp(std::move(app), std::move(mutex), SUCCEEDED(com), exitCode);
}

}  // namespace kivora::app
