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
    if (!monitorUnderTest) {
      monitor::MonitorServices services{desktop, keyboard, sound,        ime,    rawInput,
                                        hotkeys, clock,    engineRunner, *thread};
      monitorUnderTest =
          std::make_unique<monitor::Monitor>(settings, store(), log.log(), shell, services, modeJP);
    }
    return *monitorUnderTest;
  }
  void runScript(std::u16string text) {
    settings.replaceScript(std::move(text));
    nextSecond();
    engineMonitor().onMonitorTimer(monitor::kTimerId3);
    ASSERT_TRUE(engineMonitor().waitForScriptWorker(10000));
  }
  ~EngineScript() override {
    shell.closeBoxes();
    if (monitorUnderTest) {
      monitorUnderTest->requestScriptStop();
      monitorUnderTest->waitForScriptWorker(10000);
    }
  }

  script::testing::FakeScriptSystem scriptSystem;
  script::Engine engine{scriptSystem};
  monitor::EngineScriptRunner engineRunner{engine};
  std::unique_ptr<monitor::Monitor> monitorUnderTest;
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

// A script that fails every second: each run shows its one error balloon,
// the lock keys are still kept every tick, and the stored settings stay as
// they were saved.
TEST_F(EngineScript, AScriptFailingEverySecondDisturbsNeitherTheTicksNorTheSettings) {
  settings.NumLockState = 3;  // constantly ON
  class NoHooks final : public settings::SaveHooks {
    void showSaveWarning(const std::u16string&) override {}
    void registerPauseHotkey() override {}
  } hooks;
  ASSERT_TRUE(settings::SaveSettings(settings, store(), false, hooks));
  settings.replaceScript(u"DEFINE(\"KeepVar\", 1)\nruns++\nASSERT(0, \"run \" + runs)\n");
  for (int second = 1; second <= 6; ++second) {
    keyboard.setToggled(platform::kVkNumLock, false);
    nextSecond();
    engineMonitor().onMonitorTimer(monitor::kTimerId3);
    ASSERT_TRUE(engineMonitor().waitForScriptWorker(10000));
    EXPECT_TRUE(keyboard.toggled(platform::kVkNumLock)) << second;
    EXPECT_EQ(shell.balloons().size(), static_cast<std::size_t>(second));
  }
  for (const Balloon& b : shell.balloons()) EXPECT_EQ(b.icon, monitor::BalloonIcon::Error);
  EXPECT_NE(shell.balloons().back().text.find(u"run 6"), std::u16string::npos);
  settings::Settings stored;
  settings::LoadSettings(stored, store());
  EXPECT_EQ(stored.NumLockState, 3);
  EXPECT_EQ(stored.use_script, 1);
  EXPECT_EQ(stored.copyScript(), u"");
}

// At shut-down the shell asks the script to stop and waits at most two
// seconds. Loops that run no statement, loops of jumps and long sleeps all end
// well within that wait, and nothing after the stop runs.
TEST_F(EngineScript, ScriptsThatNeverEndStopWithinTheShutDownWait) {
  for (const char16_t* endless : {u"loop {}\n", u"for (,,) {\n}\n", u":a\ngoto :a\n",
                                  u"SLEEP(1000000)\nCB.ShellNotify(\"after\")\n",
                                  u"loop {\n SLEEP(1000000)\n CB.ShellNotify(\"after\")\n}\n",
                                  u"x = SLEEP(-1) + SLEEP(2000000000)\nCB.ShellNotify(x)\n"}) {
    settings.replaceScript(endless);
    nextSecond();
    engineMonitor().onMonitorTimer(monitor::kTimerId3);
    EXPECT_FALSE(engineMonitor().waitForScriptWorker(200)) << "still running";
    engineMonitor().requestScriptStop();
    EXPECT_TRUE(engineMonitor().waitForScriptWorker(2000));
  }
  EXPECT_TRUE(shell.balloons().empty());
}

// A script waiting in a message box cannot be stopped before the box is
// answered: the shut-down's wait runs out (the shell then ends the process
// around it). Answered later, the box ends the run before its next statement.
TEST_F(EngineScript, AScriptInAMessageBoxOutlastsTheWaitAndStopsRightAfterTheBox) {
  shell.holdBoxes();
  settings.replaceScript(u"TEXTOUT(\"waiting\")\nCB.ShellNotify(\"after\")\n");
  engineMonitor().onMonitorTimer(monitor::kTimerId3);
  ASSERT_TRUE(shell.waitForOpenBox());
  engineMonitor().requestScriptStop();
  EXPECT_FALSE(engineMonitor().waitForScriptWorker(300));
  shell.closeBoxes();
  EXPECT_TRUE(engineMonitor().waitForScriptWorker(2000));
  EXPECT_TRUE(shell.balloons().empty());
  ASSERT_EQ(shell.boxes().size(), 1u);
}

}  // namespace
}  // namespace kivora::test
