#pragma once
// Everything a monitor needs, over fakes: settings in a fake registry and ini
// file, a desktop with windows, a keyboard, IME, devices, hotkeys, a clock,
// a script runner the test scripts, and a shell that records. The monitor is
// made on first use, so a test sets the settings first.

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fakes/fake_desktop.h"
#include "fakes/fake_files.h"
#include "fakes/fake_hotkeys.h"
#include "fakes/fake_ime.h"
#include "fakes/fake_keyboard.h"
#include "fakes/fake_log_services.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_raw_input.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_sound.h"
#include "monitor/monitor.h"
#include "monitor/script_engine_adapter.h"
#include "settings/settings_store.h"
#include "unit/monitor/log_capture.h"
#include "unit/monitor/recording_shell.h"

namespace kivora::test {

// A script runner whose runs the test controls: each run calls `body` (when
// set) and, while `hold` is set, waits until release() lets it finish.
class ScriptedRunner final : public monitor::ScriptRunner {
 public:
  int runScript(const char16_t* script, const monitor::ScriptRunHost& host) override;

  void holdRuns();
  void release();
  // Waits until `runs` runs have started.
  bool waitForStarts(int runs);

  std::function<int(const monitor::ScriptRunHost&)> body;
  std::atomic<int> started{0};
  std::atomic<int> active{0};
  std::atomic<int> mostActive{0};
  std::vector<std::u16string> scripts;  // guarded by mutex_

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool hold_ = false;
};

// A thread that cannot be created.
class NoThreads final : public monitor::WorkerThread {
 public:
  bool start(std::function<void()>) override {
    ++attempts;
    return false;
  }
  bool waitFor(unsigned) override { return true; }
  int attempts = 0;
};

inline platform::WindowHandle window(std::uintptr_t value) {
  return static_cast<platform::WindowHandle>(value);
}

class MonitorTest : public testing::Test {
 protected:
  MonitorTest();
  ~MonitorTest() override;

  monitor::Monitor& monitor();
  settings::SettingsStore store() { return {regw_, profile, iniFiles, {}}; }
  void tick() { monitor().onMonitorTimer(monitor::kTimerId3); }
  // Moves the wall clock on by one second.
  void nextSecond();
  // Replaces the stored per-window rules (registry or ini file).
  void storeRules(const std::vector<monitor::WindowRule>& rules, bool ini);

  settings::Settings settings;
  fakes::FakeRegistry registry;
  fakes::FakeFiles iniFiles;
  fakes::FakeProfile profile{iniFiles};
  LogCapture log;
  RecordingShell shell;
  fakes::FakeDesktop desktop;
  fakes::FakeKeyboard keyboard;
  fakes::FakeSound sound;
  fakes::FakeIme ime;
  fakes::FakeRawInput rawInput;
  fakes::FakeHotkeys hotkeys;
  fakes::FakeClock clock;
  ScriptedRunner runner;
  std::unique_ptr<monitor::WorkerThread> thread;
  bool modeJP = false;

  // Two application windows; the first is in front.
  platform::WindowHandle editor;
  platform::WindowHandle browser;

 private:
  std::vector<std::pair<std::u16string, std::u16string>> regwWarnings_;
  settings::RegwContext regw_;
  std::unique_ptr<monitor::Monitor> monitor_;
};

}  // namespace kivora::test
