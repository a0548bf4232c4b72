#pragma once
// A monitor over the real Win32 platform under Wine: real keyboard state,
// windows, hotkeys and device list, with its settings in a scratch registry
// key and a scratch folder holding the ini file (both removed afterwards).
// The shell records, as in the native tests.

#include <windows.h>

#include <future>
#include <memory>
#include <string>
#include <thread>

#include "monitor/monitor.h"
#include "monitor/script_engine_adapter.h"
#include "platform/win32/file_access_win32.h"
#include "platform/win32/local_time_win32.h"
#include "platform/win32/monitor_platform_win32.h"
#include "platform/win32/profile_win32.h"
#include "platform/win32/registry_win32.h"
#include "settings/settings_store.h"
#include "unit/monitor/log_capture.h"
#include "unit/monitor/recording_shell.h"

namespace kivora::test {

// A runner for tests that start no script.
class NoScriptRunner final : public monitor::ScriptRunner {
 public:
  int runScript(const char16_t*, const monitor::ScriptRunHost&) override { return -1; }
};

// A plain top-level window of this thread with the given title.
class TestWindow {
 public:
  explicit TestWindow(const std::wstring& title, bool visible = true);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND get() const { return window_; }
  platform::WindowHandle handle() const;

 private:
  HWND window_ = nullptr;
};

// A window in front that belongs to another thread with its own message
// loop, as the application the user works in would: the keys the monitor
// presses go to that thread's queue, not the monitor's.
class ForeignWindow {
 public:
  explicit ForeignWindow(const std::wstring& title);
  ~ForeignWindow();
  ForeignWindow(const ForeignWindow&) = delete;
  ForeignWindow& operator=(const ForeignWindow&) = delete;
  HWND get() const { return window_; }
  platform::WindowHandle handle() const;

 private:
  std::thread thread_;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
};

// Scratch places for the settings: a registry key under
// HKCU\Software\Orvanta\KivoraTests and a temporary current folder.
class ScratchStore {
 public:
  ScratchStore();
  ~ScratchStore();
  ScratchStore(const ScratchStore&) = delete;
  ScratchStore& operator=(const ScratchStore&) = delete;
  settings::SettingsStore store() { return {regw_, profile_, files_, location_}; }

 private:
  std::wstring name_;
  std::wstring previousDirectory_;
  std::wstring directory_;
  settings::StoreLocation location_;
  win32::Win32Registry registry_;
  win32::Win32Profile profile_;
  win32::Win32FileAccess files_;
  settings::RegwContext regw_{registry_, {}, false};
};

class Win32Monitor {
 public:
  explicit Win32Monitor(settings::Settings& settings, ScratchStore& scratch,
                        platform::WindowHandle mainWindow);
  monitor::Monitor& get() { return monitor_; }

  LogCapture log;
  RecordingShell shell;

 private:
  win32::Win32Desktop desktop_;
  win32::Win32Keyboard keyboard_;
  win32::Win32Sound sound_;
  win32::Win32Ime ime_;
  win32::Win32RawInput rawInput_;
  win32::Win32Hotkeys hotkeys_;
  win32::Win32LocalClock clock_;
  NoScriptRunner runner_;
  monitor::ScriptThreadWorker thread_;
  monitor::Monitor monitor_;
};

// The lock keys as this thread sees them, and synthetic presses.
bool keyIsOn(BYTE virtualKey);
void pressKey(BYTE virtualKey);
// Brings this thread's view of the toggle state in line with the real one
// (a thread that started after the last change sees every toggle as off).
void syncLockKeys();
void setKey(BYTE virtualKey, bool on);

// A fixture for tests that press the real NumLock and CapsLock: it leaves
// them as it found them, with a scratch store, settings and a main window.
template <typename Base>
class RealKeysFixture : public Base {
 protected:
  void SetUp() override {
    syncLockKeys();
    numLockBefore_ = keyIsOn(VK_NUMLOCK);
    capsLockBefore_ = keyIsOn(VK_CAPITAL);
  }
  void TearDown() override {
    setKey(VK_NUMLOCK, numLockBefore_);
    setKey(VK_CAPITAL, capsLockBefore_);
  }

  ScratchStore scratch;
  settings::Settings settings;
  TestWindow mainWindow{L"Kivora", false};

 private:
  bool numLockBefore_ = false;
  bool capsLockBefore_ = false;
};

}  // namespace kivora::test
