// The script worker with the real KX-Script engine on its own thread: what a
// script does through the host reaches the shell, and a stop request ends an
// endless loop.

#include "script/engine.h"
#include "unit/monitor/monitor_fixture.h"
#include "unit/script/fake_script_system.h"

namespace kivora::test {
namespace {

class EngineScript : public MonitorTest {
 protected:
  EngineScript() {
    settings.use_script = 1;
    thread = std::make_unique<monitor::ScriptThreadWorker>();
  }
  monitor::Monitor& engineMonitor() {
    if (!monitor_) {
      monitor::MonitorServices services{desktop, keyboard, sound,         ime,    rawInput,
                                        hotkeys, clock,    engineRunner_, *thread};
      monitor_ =
          std::make_unique<monitor::Monitor>(settings, store(), log.log(), shell, services, modeJP);
    }
    return *monitor_;
  }
  void runScript(std::u16string text) {
    settings.replaceScript(std::move(text));
    nextSecond();
    engineMonitor().onMonitorTimer(monitor::kTimerId3);
    ASSERT_TRUE(engineMonitor().waitForScriptWorker(10000));
  }
  ~EngineScript() override {
    if (monitor_) {
      monitor_->requestScriptStop();
      monitor_->waitForScriptWorker(10000);
    }
  }

  script::testing::FakeScriptSystem system_;
  script::Engine engine_{system_};
  monitor::EngineScriptRunner engineRunner_{engine_};
  std::unique_ptr<monitor::Monitor> monitor_;
};

TEST_F(EngineScript, ShellNotifyAndUnknownCallsBecomeBalloons) {
  runScript(u"CB.ShellNotify(\"saved \" + 3, 2)\nCB.Beep()\nCB.shellnotify(7)\n");
  EXPECT_EQ(shell.balloons(),
            (std::vector<Balloon>{{u"saved 3", monitor::BalloonIcon::Warning},
                                  {u"Unknown application provided function: CB.BEEP(args:0)",
                                   monitor::BalloonIcon::Error},
                                  {u"7", monitor::BalloonIcon::None}}));
}

TEST_F(EngineScript, ScriptErrorsBecomeErrorBalloons) {
  runScript(u"x = 1\nx = (\n");
  const auto balloons = shell.balloons();
  ASSERT_EQ(balloons.size(), 1u);
  EXPECT_EQ(balloons[0].icon, monitor::BalloonIcon::Error);
  EXPECT_FALSE(balloons[0].text.empty());
}

TEST_F(EngineScript, AStopRequestEndsAnEndlessLoop) {
  settings.replaceScript(u"CB.ShellNotify(\"looping\")\nloop {\n  n = n + 1\n}\n");
  engineMonitor().onMonitorTimer(monitor::kTimerId3);
  EXPECT_FALSE(engineMonitor().waitForScriptWorker(100));
  EXPECT_TRUE(engineMonitor().scriptWorker().scriptRunning());

  engineMonitor().onPowerBroadcast(monitor::kPbtApmSuspend);
  ASSERT_TRUE(engineMonitor().waitForScriptWorker(10000));
  EXPECT_FALSE(engineMonitor().scriptWorker().scriptRunning());
  EXPECT_EQ(shell.balloons().size(), 1u);  // stopping is not an error
}

}  // namespace
}  // namespace kivora::test
