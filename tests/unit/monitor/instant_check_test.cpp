// Instant correction: the release of a lock key, and the events of
// instant_events.h, run the monitoring tick at once. It must be the timer's
// own tick, rule for rule, and Kivora's own presses, which come back as
// releases too, must never start a chain of presses.

#include "unit/monitor/monitor_fixture.h"

namespace kivora::test {
namespace {

using monitor::kTimerId5;
using platform::kVkCapital;
using platform::kVkNumLock;

class InstantCheck : public MonitorTest {
 protected:
  // The user, or another program, presses a key.
  void pressByUser(std::uint8_t virtualKey) {
    keyboard.keybd_event(virtualKey, 0, 0, 0);
    keyboard.keybd_event(virtualKey, 0, platform::kKeyEventFKeyUp, 0);
  }
  // Hands every release among the key events to the monitor, as WM_INPUT
  // does, then the releases of the presses those caused, until no new key
  // events come; they come back within a few milliseconds, before the quiet
  // time after a tick ends, which it then does. Returns the rounds that
  // took; 10 means it did not stop.
  int deliverReleases() {
    int rounds = 0;
    while (delivered_ < keyboard.events.size() && rounds < 10) {
      ++rounds;
      for (const std::size_t end = keyboard.events.size(); delivered_ < end; ++delivered_) {
        const auto& event = keyboard.events[delivered_];
        if (event.flags & platform::kKeyEventFKeyUp) monitor().onLockKeyChanged(event.virtualKey);
      }
      if (delivered_ == keyboard.events.size()) endQuietTime();
    }
    return rounds;
  }
  // The quiet time after an event's tick passes, with the tick it held back.
  void endQuietTime() {
    for (int i = 0; i < 10 && shell.timerRunning(monitor::kEventTickTimer); ++i)
      monitor().onMonitorTimer(monitor::kEventTickTimer);
  }

 private:
  std::size_t delivered_ = 0;
};

TEST_F(InstantCheck, AReleaseCorrectsAtOnceAndKivorasOwnReleaseEndsTheChain) {
  settings.NumLockState = 3;   // constantly ON
  settings.CapsLockState = 2;  // constantly OFF
  keyboard.setToggled(kVkNumLock, true);
  pressByUser(kVkNumLock);
  EXPECT_EQ(deliverReleases(), 2);  // the user's release, then Kivora's own
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 2);  // the user's and one of Kivora's
  EXPECT_TRUE(log.has(1688, u"WM_INPUT NumLock"));
  EXPECT_EQ(log.count(1690), 2);  // each release ran the whole tick
  EXPECT_EQ(log.count(1899), 1);
  EXPECT_TRUE(log.has(1888, u"NumLock ONなのでONへの切替不要 "));

  pressByUser(kVkCapital);
  EXPECT_EQ(deliverReleases(), 2);
  EXPECT_FALSE(keyboard.toggled(kVkCapital));
  EXPECT_EQ(keyboard.pressesOf(kVkCapital), 2);

  // Other keys, and every key with the setting off, run nothing.
  log.clear();
  monitor().onLockKeyChanged(0x41);
  monitor().onLockKeyChanged(0);
  settings.InstantCheck = 0;
  pressByUser(kVkNumLock);
  deliverReleases();
  EXPECT_TRUE(log.lines().empty());
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
}

TEST_F(InstantCheck, APressThatDoesNotTakeLeavesTheRetryToTheTimer) {
  settings.NumLockState = 3;
  keyboard.stuckKeys.insert(kVkNumLock);
  pressByUser(kVkNumLock);
  EXPECT_EQ(deliverReleases(), 2);
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 2);
  EXPECT_TRUE(log.has(1902, u"NumLock状態変更 変更失敗"));
  EXPECT_TRUE(log.has(1689, u"WM_INPUT 切替失敗の後なので次のタイマまで待つ"));

  tick();
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 3);
  keyboard.stuckKeys.clear();
  tick();
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  deliverReleases();  // once a press took, releases act at once again
  pressByUser(kVkNumLock);
  EXPECT_EQ(deliverReleases(), 2);
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
}

TEST_F(InstantCheck, TheScriptStillStartsAtMostOncePerSecond) {
  settings.use_script = 1;
  settings.kx_script = u"x = 1";
  tick();
  ASSERT_TRUE(runner.waitForStarts(1));
  ASSERT_TRUE(monitor().waitForScriptWorker(10000));
  monitor().onLockKeyChanged(kVkNumLock);
  EXPECT_EQ(runner.started, 1);
  endQuietTime();
  nextSecond();
  monitor().onLockKeyChanged(kVkNumLock);
  EXPECT_TRUE(runner.waitForStarts(2));
}

// The same situations on a timer tick and on each trigger that runs the tick
// at once: the extra tick must obey every rule the timer's tick does.
enum class Trigger { Timer, KeyRelease, Foreground, TitleChange, DeviceChange, SessionChange };

class SameTick : public MonitorTest, public testing::WithParamInterface<Trigger> {
 protected:
  void trigger() {
    switch (GetParam()) {
      case Trigger::Timer:
        tick();
        return;
      case Trigger::KeyRelease:
        monitor().onLockKeyChanged(kVkCapital);
        break;
      case Trigger::Foreground:
        monitor().onWindowEvent(monitor::kEventSystemForeground, desktop.foreground, 0, 0);
        break;
      case Trigger::TitleChange:
        monitor().onWindowEvent(monitor::kEventObjectNameChange, desktop.foreground, 0, 0);
        break;
      case Trigger::DeviceChange:
        monitor().onInputDeviceChange(monitor::kGidcArrival);
        break;
      case Trigger::SessionChange:
        monitor().onSessionChange(monitor::kWtsRemoteConnect);
        break;
    }
    // The quiet time after an event's tick passes before the next trigger.
    if (shell.timerRunning(monitor::kEventTickTimer))
      monitor().onMonitorTimer(monitor::kEventTickTimer);
  }
  // The log's call-site numbers from the tick's own first line on.
  std::vector<unsigned> tickNumbers() const {
    std::vector<unsigned> numbers = log.numbers();
    numbers.erase(numbers.begin(), std::find(numbers.begin(), numbers.end(), 1690u));
    return numbers;
  }
};

TEST_P(SameTick, NotifyOnlyShowsTheNoticeAndItsReturnTimerCorrectsOnce) {
  settings.NotifyOnly = 1;
  settings.return_waitmsec = 3000;
  settings.NumLockState = 3;
  keyboard.setToggled(kVkNumLock, false);
  trigger();
  trigger();
  EXPECT_TRUE(keyboard.events.empty());
  ASSERT_TRUE(shell.notice);
  EXPECT_EQ(shell.notice->lines.size(), 1u);
  EXPECT_EQ(std::count(shell.started.begin(), shell.started.end(), kTimerId5), 1);
  monitor().onMonitorTimer(kTimerId5);
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  EXPECT_EQ(settings.NotifyOnly, 1);
}

TEST_P(SameTick, PausedWatchingTouchesNothingAndEndsTheFirstTick) {
  settings.NumLockState = 5;  // monitor once, ON
  settings.KBWatchEnabled = 0;
  keyboard.setToggled(kVkNumLock, false);
  trigger();
  EXPECT_EQ(tickNumbers(), (std::vector<unsigned>{1690, 1711, 2281}));
  EXPECT_FALSE(monitor().state().firstTick);
  settings.KBWatchEnabled = 1;
  trigger();
  EXPECT_TRUE(keyboard.events.empty());
}

TEST_P(SameTick, ADontWatchRuleLeavesTheKeyAlone) {
  settings.NumLockState = 3;
  storeRules({{u"Editor", {monitor::kPolicyDontWatch, 0, 0, 0}}}, false);
  keyboard.setToggled(kVkNumLock, false);
  trigger();
  EXPECT_TRUE(log.has(1864, u"NumLock特殊処理による変更= 0"));
  EXPECT_TRUE(log.has(1913, u"NumLock処理対象外 "));
  EXPECT_TRUE(keyboard.events.empty());
}

TEST_P(SameTick, ActivationRulesActOnlyWhenTheWindowInFrontChanged) {
  // NumLock ON and CapsLock OFF when the browser comes to the front; no
  // standard watching, so only the rule presses.
  settings.NumLockState = 0;
  settings.CapsLockState = 0;
  storeRules({{u"Browser", {monitor::kPolicyOnOnSwitch, monitor::kPolicyOffOnSwitch, 0, 0}}},
             false);
  trigger();  // the editor is the window of the last tick
  keyboard.setToggled(kVkCapital, true);
  desktop.activate(browser);
  trigger();
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  EXPECT_FALSE(keyboard.toggled(kVkCapital));
  // While the browser stays in front the user may change them.
  keyboard.setToggled(kVkNumLock, false);
  trigger();
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 1);
}

std::string triggerName(const testing::TestParamInfo<Trigger>& info) {
  constexpr std::array<const char*, 6> kNames{"TimerTick",   "KeyRelease",   "Foreground",
                                              "TitleChange", "DeviceChange", "SessionChange"};
  return kNames[static_cast<std::size_t>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Triggers, SameTick,
                         testing::Values(Trigger::Timer, Trigger::KeyRelease, Trigger::Foreground,
                                         Trigger::TitleChange, Trigger::DeviceChange,
                                         Trigger::SessionChange),
                         triggerName);

}  // namespace
}  // namespace kivora::test
