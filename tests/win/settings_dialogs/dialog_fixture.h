#pragma once
// What the settings dialogs reach, over the real platform under Wine: the
// settings in a scratch registry key and a scratch ini folder, the real
// raw-input device list and hotkeys (owned by a hidden main window), and
// recorders for what the dialogs ask of the application.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "monitor/device_watch.h"
#include "monitor/hotkey_control.h"
#include "platform/win32/monitor_platform_win32.h"
#include "settings/settings_store.h"
#include "ui/settings_dialogs.h"
#include "win/monitor/win32_monitor_harness.h"

namespace kivora::test {

class CountingSaveHooks final : public settings::SaveHooks {
 public:
  void showSaveWarning(const std::u16string& text) override { warnings.push_back(text); }
  void registerPauseHotkey() override { ++hotkeyRegistrations; }
  std::vector<std::u16string> warnings;
  int hotkeyRegistrations = 0;
};

class DialogTest : public testing::Test {
 protected:
  DialogTest();
  ~DialogTest() override;

  settings::SettingsStore store() { return scratch.store(); }
  ui::DialogBasics basics(bool japanese);
  ui::SettingsDialogContext settingsContext(bool japanese);
  // The settings as the store holds them now (bUseIni as in `settings`).
  std::unique_ptr<settings::Settings> stored();
  // Whether the scratch store holds any settings at all.
  bool anythingSaved();

  ScratchStore scratch;
  settings::Settings settings;
  LogCapture log;
  RecordingShell shell;
  TestWindow mainWindow{L"Kivora dialog tests main window", false};
  CountingSaveHooks hooks;
  bool dialogOpen = false;
  HWND settingsWindow = nullptr;
  int timerRestarts = 0;
  int instantCheckFollows = 0;
  int trayUpdates = 0;
  bool scriptRunning = false;
  int scriptStopRequests = 0;
  std::vector<std::wstring> helpTopics;
  std::function<void(HWND)> scriptEditor;

 private:
  win32::Win32RawInput rawInput_;
  win32::Win32Hotkeys hotkeyApi_;

 public:
  monitor::DeviceWatch devices{rawInput_, log.log(), shell, false};
  monitor::HotkeyControl hotkeys{hotkeyApi_, log.log(), shell, settings, false};
};

// The logon NumLock value of HKEY_USERS\.DEFAULT as a test found it, put
// back when the object goes.
class LogonNumLockGuard {
 public:
  LogonNumLockGuard();
  ~LogonNumLockGuard();
  static std::optional<std::wstring> read();
  static void write(const std::wstring& text);

 private:
  std::optional<std::wstring> before_;
};

}  // namespace kivora::test
