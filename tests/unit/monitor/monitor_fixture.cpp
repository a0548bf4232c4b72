#include "unit/monitor/monitor_fixture.h"

#include <chrono>

#include "settings/regw.h"

namespace kivora::test {

int ScriptedRunner::runScript(const char16_t* script, const monitor::ScriptRunHost& host) {
  const int now = ++active;
  int seen = mostActive.load();
  while (now > seen && !mostActive.compare_exchange_weak(seen, now)) {
  }
  {
    std::lock_guard lock(mutex_);
    scripts.emplace_back(script);
  }
  ++started;
  changed_.notify_all();
  const int result = body ? body(host) : 0;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !hold_; });
  }
  --active;
  return result;
}

void ScriptedRunner::holdRuns() {
  std::lock_guard lock(mutex_);
  hold_ = true;
}

void ScriptedRunner::release() {
  {
    std::lock_guard lock(mutex_);
    hold_ = false;
  }
  changed_.notify_all();
}

bool ScriptedRunner::waitForStarts(int runs) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return started >= runs; });
}

MonitorTest::MonitorTest()
    : thread(std::make_unique<monitor::ScriptThreadWorker>()),
      regw_{registry,
            [this](const std::u16string& text, const std::u16string& caption) {
              regwWarnings_.emplace_back(text, caption);
            },
            false} {
  editor = desktop.addWindow(window(0x1010), u"notes.txt - Editor", u"EditorFrame");
  browser = desktop.addWindow(window(0x2020), u"News - Browser", u"BrowserFrame");
  desktop.activate(editor);
  clock.now.wMinute = 10;
  clock.now.wSecond = 0;
}

MonitorTest::~MonitorTest() {
  runner.release();
  if (monitor_) monitor_->waitForScriptWorker(10000);
  monitor_.reset();
  // A misused REGW (a key left open) would have warned.
  EXPECT_TRUE(regwWarnings_.empty());
  EXPECT_EQ(registry.openHandleCount(), 0u);
}

monitor::Monitor& MonitorTest::monitor() {
  if (!monitor_) {
    monitor::MonitorServices services{desktop, keyboard, sound,  ime,    rawInput,
                                      hotkeys, clock,    runner, *thread};
    monitor_ =
        std::make_unique<monitor::Monitor>(settings, store(), log.log(), shell, services, modeJP);
  }
  return *monitor_;
}

void MonitorTest::nextSecond() {
  if (++clock.now.wSecond == 60) {
    clock.now.wSecond = 0;
    clock.now.wMinute = static_cast<std::uint16_t>((clock.now.wMinute + 1) % 60);
  }
}

void MonitorTest::storeRules(const std::vector<monitor::WindowRule>& rules, bool ini) {
  RecordingShell quiet;
  ASSERT_TRUE(monitor::saveWindowRules(store(), ini, false, rules, quiet));
}

}  // namespace kivora::test
