// Instant correction: the release of a lock key runs the monitoring tick at
// once. It must be the timer's own tick, rule for rule, and Kivora's own
// presses, which come back as releases too, must never start a chain of
// presses.

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
  // events come. Returns the rounds that took; 10 means it did not stop.
  int deliverReleases() {
    int rounds = 0;
    while (delivered_ < keyboard.events.size() && rounds < 10) {
      ++rounds;
      for (const std::size_t end = keyboard.events.size(); delivered_ < end; ++delivered_) {
        const auto& event = keyboard.events[delivered_];
        if (event.flags & platform::kKeyEventFKeyUp) monitor().onLockKeyChanged(event.virtualKey);
      }
    }
    return rounds;
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
  nextSecond();
  monitor().onLockKeyChanged(kVkNumLock);
  EXPECT_TRUE(runner.waitForStarts(2));
}

// The same situations, once on a timer tick and once on a release: the
// extra tick must obey every rule the timer's tick does.
class SameTick : public MonitorTest, public testing::WithParamInterface<bool> {
 protected:
  bool onRelease() const { return GetParam(); }
  void trigger() {
    if (onRelease()) {
      monitor().onLockKeyChanged(kVkCapital);
    } else {
      tick();
    }
  }
  // The log's call-site numbers after the release's own first line.
  std::vector<unsigned> tickNumbers() const {
    std::vector<unsigned> numbers = log.numbers();
    if (onRelease() && !numbers.empty() && numbers.front() == 1688) numbers.erase(numbers.begin());
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

INSTANTIATE_TEST_SUITE_P(Triggers, SameTick, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "KeyRelease" : "TimerTick";
                         });

}  // namespace
}  // namespace kivora::test
