// The monitoring tick over the fakes, timed by Google Benchmark: watching on,
// all three lock keys held (and already right, the steady state), the debug
// log off, and 0, 10 or 100 per-window rules in the store, none of which
// matches the window in front, so every rule is looked at.

#include <benchmark/benchmark.h>

#include <memory>
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

namespace kivora::bench {
namespace {

// A shell that does what the real one would cost the portable code: nothing.
class QuietShell final : public monitor::MonitorShell {
 public:
  platform::WindowHandle mainWindow() override {
    return static_cast<platform::WindowHandle>(0x5000);
  }
  void updateTrayIcon() override {}
  void flashTrayIcon(std::optional<int>) override {}
  void sendKeyStateToCompanion() override {}
  void startTimer(unsigned, unsigned) override {}
  void killTimer(unsigned) override {}
  unsigned noticeDpi() override { return 96; }
  void showNotice(const monitor::ScreenNotice&) override {}
  void hideNotice() override {}
  void showNewBalloon(std::u16string_view, monitor::BalloonIcon) override {}
  int messageBox(platform::WindowHandle, std::u16string_view, std::u16string_view,
                 unsigned) override {
    return 1;
  }
};

class NoScripts final : public monitor::ScriptRunner {
 public:
  int runScript(const char16_t*, const monitor::ScriptRunHost&) override { return 0; }
};

class NoThreads final : public monitor::WorkerThread {
 public:
  bool start(std::function<void()>) override { return false; }
  bool waitFor(unsigned) override { return true; }
};

struct TickWorld {
  explicit TickWorld(std::size_t ruleCount, bool ini) {
    settings.KBWatchEnabled = 1;
    settings.NumLockState = 3;     // constantly ON
    settings.CapsLockState = 2;    // constantly OFF
    settings.ScrollLockState = 2;  // constantly OFF
    settings.bUseIni = ini;
    keyboard.setToggled(platform::kVkNumLock, true);
    const auto front = desktop.addWindow(static_cast<platform::WindowHandle>(0x1010),
                                         u"notes.txt - Editor", u"EditorFrame");
    desktop.activate(front);
    std::vector<monitor::WindowRule> rules;
    for (std::size_t i = 0; i < ruleCount; ++i)
      rules.push_back({u"Application window number " +
                           std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                           std::u16string(1, static_cast<char16_t>(u'0' + i / 26)),
                       {monitor::kPolicyNone, monitor::kPolicyNone, monitor::kPolicyNone,
                        monitor::kPolicyNone}});
    settings::SettingsStore store{regw, profile, files, {}};
    if (!monitor::saveWindowRules(store, ini, false, rules, shell))
      throw std::runtime_error("rules not saved");
    monitor::MonitorServices services{desktop, keyboard, sound,  ime,   rawInput,
                                      hotkeys, clock,    runner, thread};
    monitor = std::make_unique<monitor::Monitor>(settings, store, log, shell, services, false);
  }

  settings::Settings settings;
  fakes::FakeRegistry registry;
  settings::RegwContext regw{registry, [](const std::u16string&, const std::u16string&) {}, false};
  fakes::FakeFiles files;
  fakes::FakeProfile profile{files};
  fakes::FakeClock clock;
  fakes::FakeCodePage codePage;
  fakes::FakeVersionRecord version;
  diag::DebugLog log{{files, clock, codePage, version}};
  QuietShell shell;
  fakes::FakeDesktop desktop;
  fakes::FakeKeyboard keyboard;
  fakes::FakeSound sound;
  fakes::FakeIme ime;
  fakes::FakeRawInput rawInput;
  fakes::FakeHotkeys hotkeys;
  NoScripts runner;
  NoThreads thread;
  std::unique_ptr<monitor::Monitor> monitor;
};

void tick(benchmark::State& state, bool ini) {
  TickWorld world(static_cast<std::size_t>(state.range(0)), ini);
  for (auto _ : state) world.monitor->onMonitorTimer(monitor::kTimerId3);
  if (!world.keyboard.events.empty()) state.SkipWithError("the steady-state tick pressed a key");
}

void registryTick(benchmark::State& state) { tick(state, false); }
void iniTick(benchmark::State& state) { tick(state, true); }

BENCHMARK(registryTick)->Name("tick/registry/rules")->Arg(0)->Arg(10)->Arg(100);
BENCHMARK(iniTick)->Name("tick/ini/rules")->Arg(0)->Arg(10)->Arg(100);

}  // namespace
}  // namespace kivora::bench

BENCHMARK_MAIN();
