// The user's script on its worker: started by the tick at most once per
// second, never two runs at once, stopped at the next statement on request,
// and its host callbacks shown as balloons.

#include <thread>

#include "unit/monitor/monitor_fixture.h"

namespace kivora::test {
namespace {

using monitor::BalloonIcon;
using monitor::HostArgument;

HostArgument text(std::u16string value) { return {true, 0, std::move(value)}; }
HostArgument number(std::int32_t value) { return {false, value, {}}; }

class Script : public MonitorTest {
 protected:
  Script() {
    settings.use_script = 1;
    settings.kx_script = u"n = n + 1\r\n";
  }
  void waitForWorker() { ASSERT_TRUE(monitor().waitForScriptWorker(10000)); }
  // Runs one script whose body is `body`, and waits for it to end.
  void runOnce(const std::function<void(const monitor::ScriptRunHost&)>& body) {
    runner.body = [body](const monitor::ScriptRunHost& host) {
      body(host);
      return 0;
    };
    nextSecond();
    tick();
    waitForWorker();
  }
};

TEST_F(Script, RunsNeverOverlapWhileTicksKeepComing) {
  runner.holdRuns();
  for (int i = 0; i < 20; ++i) {
    tick();
    nextSecond();
  }
  ASSERT_TRUE(runner.waitForStarts(1));
  EXPECT_EQ(runner.started, 1);
  EXPECT_TRUE(monitor().scriptWorker().scriptRunning());

  runner.release();
  waitForWorker();
  EXPECT_FALSE(monitor().scriptWorker().scriptRunning());
  for (int i = 0; i < 5; ++i) {
    tick();
    nextSecond();
    waitForWorker();
  }
  EXPECT_EQ(runner.started, 6);
  EXPECT_EQ(runner.mostActive, 1);
  EXPECT_EQ(runner.scripts.front(), u"n = n + 1\r\n");
}

TEST_F(Script, TheTriggerRunsAtMostOncePerWallClockSecond) {
  tick();
  waitForWorker();
  tick();
  tick();
  waitForWorker();
  EXPECT_EQ(runner.started, 1);
  nextSecond();
  tick();
  waitForWorker();
  EXPECT_EQ(runner.started, 2);

  settings.replaceScript(u"");
  nextSecond();
  tick();
  EXPECT_EQ(runner.started, 2);
  EXPECT_EQ(monitor().state().lastScriptSecond, clock.now.wMinute * 60 + clock.now.wSecond);
}

TEST_F(Script, NothingStartsWhilePausedOrWithTheScriptSwitchedOff) {
  settings.KBWatchEnabled = 0;
  tick();
  settings.KBWatchEnabled = 1;
  settings.use_script = 0;
  nextSecond();
  tick();
  EXPECT_EQ(runner.started, 0);
}

TEST_F(Script, AStopRequestIsSeenByTheNextStatement) {
  std::atomic<int> statements{0};
  std::atomic<bool> inLoop{false};
  std::atomic<int> afterStop{-1};
  runner.body = [&](const monitor::ScriptRunHost& host) {
    inLoop = true;
    while (host.statementCallback(++statements) == 0) std::this_thread::yield();
    afterStop = host.statementCallback(statements + 1);  // the request is used up
    return 0;
  };
  monitor().requestScriptStop();  // nothing runs yet: no request is left pending
  tick();
  while (!inLoop) std::this_thread::yield();
  EXPECT_FALSE(monitor().scriptWorker().scriptStopRequest());
  monitor().requestScriptStop();
  waitForWorker();
  EXPECT_EQ(afterStop, 0);
  EXPECT_GT(statements, 0);
  EXPECT_FALSE(monitor().scriptWorker().scriptStopRequest());
}

TEST_F(Script, TheHostCarriesTheOwnerLanguageAndMessageBox) {
  runOnce([this](const monitor::ScriptRunHost& host) {
    EXPECT_EQ(host.ownerWindow, shell.window);
    EXPECT_FALSE(host.japanese);
    EXPECT_EQ(host.messageBox(host.ownerWindow, u"Hi", u"Title", 0x40), shell.boxAnswer);
  });
  const auto boxes = shell.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"Hi");
  EXPECT_EQ(boxes[0].flags, 0x40u);
}

TEST_F(Script, ShellNotifyShowsItsTextWithTheAskedIcon) {
  runOnce([](const monitor::ScriptRunHost& host) {
    host.applicationFunction(u"SHELLNOTIFY", {text(u"plain")});
    host.applicationFunction(u"ShellNotify", {text(u"warned"), text(u" 2")});
    host.applicationFunction(u"SHELLNOTIFY", {number(42), number(3)});
    host.applicationFunction(u"SHELLNOTIFY", {text(u"odd type"), number(7)});
    host.applicationFunction(u"SHELLNOTIFY", {text(u"not a number"), text(u"x1")});
    host.errorCallback(105, 3, u"Runtime error at line 3");
  });
  EXPECT_EQ(shell.balloons(),
            (std::vector<Balloon>{{u"plain", BalloonIcon::None},
                                  {u"warned", BalloonIcon::Warning},
                                  {u"42", BalloonIcon::Error},
                                  {u"odd type", BalloonIcon::None},
                                  {u"not a number", BalloonIcon::None},
                                  {u"Runtime error at line 3", BalloonIcon::Error}}));
}

TEST_F(Script, OtherApplicationFunctionsShowTheUnknownFunctionBalloon) {
  runOnce([](const monitor::ScriptRunHost& host) {
    host.applicationFunction(u"BEEP", {});
    host.applicationFunction(u"SHELLNOTIFY", {text(u"a"), number(1), number(2)});
  });
  EXPECT_EQ(
      shell.balloons(),
      (std::vector<Balloon>{
          {u"Unknown application provided function: CB.BEEP(args:0)", BalloonIcon::Error},
          {u"Unknown application provided function: CB.SHELLNOTIFY(args:3)", BalloonIcon::Error}}));
}

TEST_F(Script, TheUnknownFunctionBalloonInJapanese) {
  modeJP = true;
  runOnce([](const monitor::ScriptRunHost& host) {
    EXPECT_TRUE(host.japanese);
    host.applicationFunction(u"SHELLNOTIFY", {});
  });
  EXPECT_EQ(shell.balloons().at(0).text, u"不明なアプリ提供関数呼び出し: CB.SHELLNOTIFY(args:0)");
}

TEST_F(Script, AWorkerThatCannotBeCreatedIsTriedAgainTheNextSecond) {
  auto noThreads = std::make_unique<NoThreads>();
  auto* attempts = noThreads.get();
  thread = std::move(noThreads);
  tick();
  tick();
  EXPECT_EQ(attempts->attempts, 1);
  EXPECT_FALSE(monitor().scriptWorker().scriptRunning());
  nextSecond();
  tick();
  EXPECT_EQ(attempts->attempts, 2);
}

// --- the script hold ----------------------------------------------------------

TEST_F(Script, TheFirstTenSecondsAreHeldWithANotice) {
  monitor().onMainWindowCreated();
  EXPECT_TRUE(monitor().state().scriptHold);
  EXPECT_EQ(shell.timers.at(monitor::kScriptHoldTimer), 10000u);
  const auto balloons = shell.balloons();
  ASSERT_EQ(balloons.size(), 1u);
  EXPECT_EQ(balloons[0].icon, BalloonIcon::Information);
  EXPECT_TRUE(balloons[0].text.starts_with(u"Script execution will be suspended for 10 seconds."));
  EXPECT_TRUE(balloons[0].text.ends_with(u"will not be shown again next time.)"));

  tick();
  nextSecond();
  tick();
  EXPECT_EQ(runner.started, 0);
  monitor().onMonitorTimer(monitor::kScriptHoldTimer);
  EXPECT_FALSE(shell.timerRunning(monitor::kScriptHoldTimer));
  nextSecond();
  tick();
  waitForWorker();
  EXPECT_EQ(runner.started, 1);
}

TEST_F(Script, NoHoldWithoutScriptOrWatchingAndNoNoticeWhenSilenced) {
  settings.use_script = 0;
  monitor().onMainWindowCreated();
  settings.use_script = 1;
  settings.KBWatchEnabled = 0;
  monitor().onMainWindowCreated();
  EXPECT_FALSE(monitor().state().scriptHold);
  EXPECT_TRUE(shell.timers.empty());

  settings.KBWatchEnabled = 1;
  settings.NoNotifyScriptSuspend = 1;
  monitor().onMainWindowCreated();
  EXPECT_TRUE(monitor().state().scriptHold);
  EXPECT_TRUE(shell.balloons().empty());
}

TEST_F(Script, TheHoldNoticeInJapanese) {
  modeJP = true;
  monitor().onMainWindowCreated();
  EXPECT_TRUE(shell.balloons().at(0).text.starts_with(u"スクリプト実行を10秒間保留します。"));
}

TEST_F(Script, SleepStopsTheRunningScriptAndHoldsTheNextUntilTenSecondsAfterResume) {
  std::atomic<bool> inLoop{false};
  runner.body = [&](const monitor::ScriptRunHost& host) {
    inLoop = true;
    while (host.statementCallback(1) == 0) std::this_thread::yield();
    return 0;
  };
  tick();
  while (!inLoop) std::this_thread::yield();
  monitor().onPowerBroadcast(monitor::kPbtApmSuspend);
  waitForWorker();
  EXPECT_TRUE(monitor().state().scriptHold);

  monitor().onPowerBroadcast(monitor::kPbtApmResumeAutomatic);
  EXPECT_EQ(shell.timers.at(monitor::kScriptHoldTimer), 10000u);
  EXPECT_EQ(shell.balloons().size(), 1u);
  nextSecond();
  tick();
  EXPECT_EQ(runner.started, 1);
  monitor().onMonitorTimer(monitor::kScriptHoldTimer);
  runner.body = nullptr;
  nextSecond();
  tick();
  waitForWorker();
  EXPECT_EQ(runner.started, 2);
}

TEST_F(Script, ClosingTheHoldNoticeWithTheMiddleButtonSilencesItForGood) {
  keyboard.downKeys.insert(platform::kVkMButton);
  monitor().onBalloonTimeout();  // no hold: some other balloon
  EXPECT_EQ(settings.NoNotifyScriptSuspend, 0);

  monitor().onMainWindowCreated();
  keyboard.downKeys.clear();
  monitor().onBalloonTimeout();  // timed out on its own
  EXPECT_EQ(settings.NoNotifyScriptSuspend, 0);
  keyboard.downKeys.insert(platform::kVkMButton);
  monitor().onBalloonTimeout();
  EXPECT_EQ(settings.NoNotifyScriptSuspend, 1);
}

}  // namespace
}  // namespace kivora::test
