#pragma once
// App: everything the resident program holds for its whole life, owned by
// start-up (runKivora) and reached by the main window, the tray, the commands
// and the dialogs through a reference. Used on the user-interface thread; the
// script worker reaches only the shell's balloon and message-box functions.

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "app/shell.h"
#include "app/tray_icons.h"
#include "diag/debug_log.h"
#include "monitor/monitor.h"
#include "monitor/script_engine_adapter.h"
#include "platform/win32/code_page_win32.h"
#include "platform/win32/file_access_win32.h"
#include "platform/win32/handles.h"
#include "platform/win32/local_time_win32.h"
#include "platform/win32/monitor_platform_win32.h"
#include "platform/win32/profile_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/script_system.h"
#include "platform/win32/vectored_fault_guard.h"
#include "platform/win32/version_record_win32.h"
#include "script/engine.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "ui/debug_log_dialogs.h"
#include "ui/enlarge.h"

namespace kivora::app {

// Private window messages.
inline constexpr UINT kFlashMessage = WM_APP + 1;     // flash and sound, no key pressed
inline constexpr UINT MYWM_EXECALL = WM_APP + 2;      // wParam: a command id
inline constexpr UINT MYWM_REG_STARTUP = WM_APP + 3;  // toggle the start-up shortcut
inline constexpr wchar_t kMainWindowClass[] = L"Kivora";
inline constexpr wchar_t kMutexName[] = L"Kivora";

// Icon 107 and the two pictures of where the tray icon hides, loaded at start
// for the dialogs of start-up.
struct StartupImages {
  win32::UniqueIcon appIcon;                    // default size
  win32::UniqueIcon appIconSmall;               // small-icon size (16 x 16 at 100 %)
  std::array<win32::UniqueBitmap, 2> pictures;  // 165, 166
};

class App {
 public:
  App(HINSTANCE instance, bool modeJP);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  settings::SettingsStore store() { return {regw, profile, files, {}}; }
  // The monitor, once the settings are loaded.
  monitor::Monitor& monitor() { return *monitor_; }
  bool hasMonitor() const { return monitor_.has_value(); }
  void createMonitor();
  // The icon and tooltip state the tray shows.
  monitor::TrayIconSettings traySettings() const;
  void log(unsigned line, std::u16string_view first, std::u16string_view second = u"");

  const HINSTANCE instance;
  const bool modeJP;

  win32::Win32Registry registry;
  win32::Win32Profile profile;
  win32::Win32FileAccess files;
  win32::Win32LocalClock clock;
  win32::Win32CodePage codePage;
  win32::Win32VersionRecord version;
  settings::RegwContext regw;
  settings::Settings settings;
  diag::DebugLog debugLog;
  // The debug log's live monitor window, attached to debugLog for the App's life.
  ui::DebugMonitorDialog debugMonitor;
  AppShell shell;

  StartupImages images;
  TrayIcons icons;

  // The program's folder, current while it runs.
  std::wstring folder;

  HWND mainWindow = nullptr;
  win32::UniqueMenu menu;
  HMENU trayMenu = nullptr;
  UINT taskbarCreatedMsg = 0;
  std::wstring startupShortcutPath;

  // A modal dialog of the program is open (settings, About, debug log, the
  // start-up question).
  bool dialogOpen = false;
  // The tray menu is up, or a click's action is being carried out.
  bool menuOpen = false;
  HWND aboutWindow = nullptr;
  HWND settingsWindow = nullptr;
  HWND openingDialog = nullptr;
  std::optional<ui::DialogEnlargement> openingEnlargement;

  // The shut-down order has run (a forced exit sends WM_DESTROY from outside,
  // and the window may get it again when it is really destroyed).
  bool shutDownDone = false;
  // The script worker ended within the shut-down's wait.
  bool scriptWorkerEnded = true;
  // The main window takes raw keyboard input (InstantCheck, app/instant_check.h).
  bool rawKeyboardRegistered = false;

 private:
  win32::Win32Desktop desktop_;
  win32::Win32Keyboard keyboard_;
  win32::Win32Sound sound_;
  win32::Win32Ime ime_;
  win32::Win32RawInput rawInput_;
  win32::Win32Hotkeys hotkeys_;
  win32::Win32ScriptSystem scriptSystem_;
  win32::VectoredFaultGuard faultGuard_;
  script::Engine engine_;
  monitor::EngineScriptRunner scriptRunner_;
  monitor::ScriptThreadWorker scriptThread_;
  std::optional<monitor::Monitor> monitor_;
};

}  // namespace kivora::app
