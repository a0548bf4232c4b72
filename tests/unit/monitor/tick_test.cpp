// The monitoring tick over several ticks: which keys it presses, what it
// logs, what it leaves for the next tick.

#include "unit/monitor/monitor_fixture.h"

namespace kivora::test {
namespace {

using monitor::kTimerId3;
using monitor::kTimerId4;
using monitor::kTimerId5;
using platform::kVkCapital;
using platform::kVkNumLock;
using platform::kVkScroll;

class Tick : public MonitorTest {};

TEST_F(Tick, ConstantlyOnPressesNumLockOnceAndLogsEveryStep) {
  settings.NumLockState = 3;
  keyboard.setToggled(kVkNumLock, false);
  tick();

  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  const std::vector<fakes::FakeKeyboard::Event> press{{kVkNumLock, 0, 0},
                                                      {kVkNumLock, 0, platform::kKeyEventFKeyUp}};
  EXPECT_EQ(keyboard.events, press);
  EXPECT_EQ(log.numbers(),
            (std::vector<unsigned>{1690, 1714, 1724, 1727, 1730, 1899, 1999, 2085, 2281}));
  const auto lines = log.lines();
  EXPECT_TRUE(lines.front().newLine);
  EXPECT_TRUE(std::none_of(lines.begin() + 1, lines.end(), [](auto& l) { return l.newLine; }));
  EXPECT_TRUE(log.has(1690, u"TIMERID3 "));
  EXPECT_TRUE(log.has(1724, u"ActiveWinHandle= 0x00001010"));
  EXPECT_TRUE(log.has(1727, u"ActiveWin= notes.txt - Editor"));
  EXPECT_TRUE(log.has(1730, u"ActiveWinClass= EditorFrame"));
  EXPECT_TRUE(log.has(1899, u"NumLock状態変更 ON"));
  EXPECT_TRUE(log.has(1999, u"CapsLock処理対象外 "));
  EXPECT_TRUE(log.has(2085, u"ScrollLock処理対象外 "));
  EXPECT_TRUE(log.has(2281, u"初回監視終了 "));
  // The tick's lines are echoed to the monitor window.
  EXPECT_NE(log.monitor.contents.find(u"L=1899:NumLock状態変更 ON"), std::u16string::npos);

  // The press flashed the single key-change icon and the icon comes back in 300 ms.
  EXPECT_EQ(shell.flashes, (std::vector<std::optional<int>>{std::nullopt}));
  EXPECT_EQ(shell.timers.at(kTimerId4), 300u);
  EXPECT_TRUE(shell.hides > 0 && !shell.notice);

  log.clear();
  tick();
  EXPECT_TRUE(log.has(1888, u"NumLock ONなのでONへの切替不要 "));
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 1);
  EXPECT_EQ(log.count(2281), 0);
}

TEST_F(Tick, EachKeyHasItsOwnLinesAndVirtualKey) {
  settings.NumLockState = 2;     // constantly OFF
  settings.CapsLockState = 3;    // constantly ON
  settings.ScrollLockState = 2;  // constantly OFF
  keyboard.setToggled(kVkNumLock, false);
  keyboard.setToggled(kVkCapital, false);
  keyboard.setToggled(kVkScroll, true);
  tick();
  EXPECT_TRUE(log.has(1908, u"NumLock OFFなのでOFFへの切替不要 "));
  EXPECT_TRUE(log.has(1985, u"CapsLock状態変更 ON"));
  EXPECT_TRUE(log.has(2051, u"ScrollLock状態変更 OFF"));
  EXPECT_TRUE(keyboard.toggled(kVkCapital));
  EXPECT_FALSE(keyboard.toggled(kVkScroll));

  keyboard.stuckKeys = {kVkCapital, kVkScroll};
  keyboard.setToggled(kVkCapital, false);
  keyboard.setToggled(kVkScroll, true);
  keyboard.setToggled(kVkNumLock, true);
  log.clear();
  tick();
  EXPECT_TRUE(log.has(1879, u"NumLock状態変更 OFF"));
  EXPECT_TRUE(log.has(1988, u"CapsLock状態変更 変更失敗"));
  EXPECT_TRUE(log.has(2054, u"ScrollLock状態変更 変更失敗"));
  log.clear();
  tick();
  EXPECT_TRUE(log.has(1988, u"CapsLock状態変更 変更失敗"));
  EXPECT_EQ(keyboard.pressesOf(kVkCapital), 3);
}

TEST_F(Tick, APressThatDoesNotTakeIsLoggedAndRetriedOnTheNextTick) {
  settings.NumLockState = 3;
  keyboard.stuckKeys.insert(kVkNumLock);
  tick();
  EXPECT_TRUE(log.has(1899, u"NumLock状態変更 ON"));
  EXPECT_TRUE(log.has(1902, u"NumLock状態変更 変更失敗"));
  tick();
  tick();
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 3);
}

TEST_F(Tick, MonitorOnceHoldsUntilTheFirstTickWithoutAFailedPress) {
  settings.NumLockState = 5;  // monitor once, ON
  keyboard.stuckKeys.insert(kVkNumLock);
  tick();
  tick();
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 2);
  EXPECT_EQ(log.count(2281), 0);
  EXPECT_TRUE(monitor().state().firstTick);

  keyboard.stuckKeys.clear();
  tick();
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  EXPECT_EQ(log.count(2281), 1);
  EXPECT_FALSE(monitor().state().firstTick);

  // Afterwards the key is the user's.
  keyboard.setToggled(kVkNumLock, false);
  log.clear();
  tick();
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 3);
  EXPECT_TRUE(log.has(1913, u"NumLock処理対象外 "));
}

TEST_F(Tick, WatchingPausedAtStartEndsMonitorOnceWithoutTouchingAnything) {
  settings.NumLockState = 5;
  settings.KBWatchEnabled = 0;
  settings.ImeLock = 1;
  ime.addIme(editor, 0);
  tick();
  EXPECT_EQ(log.numbers(), (std::vector<unsigned>{1690, 1711, 2281}));
  EXPECT_TRUE(log.has(1711, u"監視OFFのためメイン処理スキップ "));
  EXPECT_EQ(monitor().state().lastForeground, platform::kNoWindow);
  EXPECT_EQ(ime.setRequests(), 0);
  EXPECT_EQ(shell.hides, 0);  // the notice is left as it was

  settings.KBWatchEnabled = 1;
  tick();
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 0);
  EXPECT_EQ(monitor().state().lastForeground, editor);
}

TEST_F(Tick, TrayAndCompanionFollowEveryTickWhenAsked) {
  tick();
  EXPECT_EQ(shell.trayUpdates, 0);
  EXPECT_EQ(shell.companionSends, 0);
  settings.ShowLockedKeyIcon = 1;
  settings.SendTK = 1;
  settings.KBWatchEnabled = 0;
  tick();
  settings.ShowLockedKeyIcon = 0;
  settings.NotifyWatchedDevice = 1;
  tick();
  EXPECT_EQ(shell.trayUpdates, 2);
  EXPECT_EQ(shell.companionSends, 2);
}

TEST_F(Tick, LongTitlesAreReadUpTo2048Characters) {
  desktop.addWindow(editor, std::u16string(3000, u'x'), std::u16string(3000, u'c'));
  tick();
  EXPECT_EQ(log.find(1727)->text.size(), std::u16string(u"ActiveWin= ").size() + 2048);
  EXPECT_EQ(log.find(1730)->text.size(), std::u16string(u"ActiveWinClass= ").size() + 2048);
}

TEST_F(Tick, NoForegroundWindowIsLoggedAsANullHandle) {
  desktop.activate(platform::kNoWindow);
  settings.ImeLock = 1;
  tick();
  EXPECT_TRUE(log.has(1724, u"ActiveWinHandle= 0x00000000"));
  EXPECT_TRUE(log.has(1727, u"ActiveWin= "));
  EXPECT_TRUE(log.has(2261, u"IME関連処理 ImmGetDefaultIMEWnd失敗"));
}

TEST_F(Tick, TheMonitoringTimerNeverRunsFasterThan100Milliseconds) {
  settings.timer3_interval = 50;
  monitor().startMonitoring();
  EXPECT_EQ(shell.timers.at(kTimerId3), 100u);
  EXPECT_EQ(shell.timers.at(monitor::kDeviceListTimer), 1000u);
  settings.timer3_interval = 250;
  monitor().startMonitoring();
  EXPECT_EQ(shell.timers.at(kTimerId3), 250u);
}

// --- pressLockKey ---------------------------------------------------------

TEST_F(Tick, FlashShowsTheStatesBeforeThePressAndTheDeviceBit) {
  settings.ShowLockedKeyIcon = 1;
  settings.NotifyWatchedDevice = 1;
  settings.watchedKeyboards = {u"\\\\?\\HID#VID_1"};
  rawInput.addKeyboard(u"\\\\?\\HID#VID_1#7&1");
  monitor().onMonitorTimer(monitor::kDeviceListTimer);
  keyboard.setToggled(kVkNumLock, true);
  keyboard.setToggled(kVkScroll, true);
  monitor().pressLockKey(kVkNumLock);
  EXPECT_EQ(shell.flashes.back(), 32 + 2 + 8 + 1);
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));

  settings.NotifyWatchedDevice = 0;
  monitor().pressLockKey(0);
  EXPECT_EQ(shell.flashes.back(), 32 + 8);
  EXPECT_EQ(keyboard.events.size(), 2u);  // key 0 presses nothing
}

TEST_F(Tick, SoundPlaysTheFileOrFallsBackToTheBeep) {
  settings.PlaySound = 1;
  settings.PlaySoundFileName = u"C:\\chime.wav";
  monitor().pressLockKey(0);
  EXPECT_EQ(sound.played, (std::vector<fakes::FakeSound::Played>{
                              {u"C:\\chime.wav", platform::kSndFilename | platform::kSndAsync}}));
  EXPECT_TRUE(sound.beeps.empty());

  sound.unplayable.insert(u"C:\\chime.wav");
  monitor().pressLockKey(0);
  settings.PlaySoundFileName.clear();
  monitor().pressLockKey(0);
  EXPECT_EQ(sound.played.size(), 2u);
  EXPECT_EQ(sound.beeps, (std::vector<std::uint32_t>{platform::kMbOk, platform::kMbOk}));

  settings.PlaySound = 2;  // only 1 means a sound
  monitor().pressLockKey(0);
  EXPECT_EQ(sound.beeps.size(), 2u);
}

TEST_F(Tick, TrayIconComesBackWhenTimerId4Fires) {
  monitor().pressLockKey(0);
  ASSERT_TRUE(shell.timerRunning(kTimerId4));
  monitor().onMonitorTimer(kTimerId4);
  EXPECT_FALSE(shell.timerRunning(kTimerId4));
  EXPECT_EQ(shell.trayUpdates, 1);
  EXPECT_TRUE(log.has(1683, u"TIMERID4 通知領域アイコン戻し"));
}

// --- notify-only ----------------------------------------------------------

class NotifyOnly : public MonitorTest {
 protected:
  NotifyOnly() {
    settings.NotifyOnly = 1;
    settings.NumLockState = 3;   // wants ON
    settings.CapsLockState = 2;  // wants OFF
    keyboard.setToggled(kVkNumLock, false);
    keyboard.setToggled(kVkCapital, true);
  }
  monitor::ScreenNotice expectedNotice() const {
    return {1920 - 200,
            1017 - 104,
            200,
            124,
            16,
            0,
            {{0, 40, 0xE0FFFF, u" NumLock : OFF "}, {0, 64, 0xFFE0FF, u" CapsLock : ON  "}}};
  }
};

TEST_F(NotifyOnly, TheNoticeGrowsWithTheDpiOfItsMonitor) {
  struct Case {
    unsigned dpi;
    monitor::ScreenNotice notice;
  };
  const std::u16string num = u" NumLock : OFF ", caps = u" CapsLock : ON  ";
  const Case cases[] = {
      {144,
       {1920 - 300,
        1017 - 156,
        300,
        186,
        24,
        0,
        {{0, 60, 0xE0FFFF, num}, {0, 96, 0xFFE0FF, caps}}}},
      {120,
       {1920 - 250,
        1017 - 130,
        250,
        155,
        20,
        0,
        {{0, 50, 0xE0FFFF, num}, {0, 80, 0xFFE0FF, caps}}}},
      {0, expectedNotice()},  // no window to ask: as at 100 %
  };
  for (const Case& c : cases) {
    shell.dpi = c.dpi;
    tick();
    ASSERT_TRUE(shell.notice);
    EXPECT_EQ(*shell.notice, c.notice) << c.dpi;
  }
}

TEST_F(NotifyOnly, WithoutReturnTimeDifferencesAreShownEveryTickAndNeverCorrected) {
  for (int i = 0; i < 3; ++i) {
    log.clear();
    tick();
    ASSERT_TRUE(shell.notice);
    EXPECT_EQ(*shell.notice, expectedNotice());
    EXPECT_TRUE(log.has(1895, u"NumLock画面通知 OFF"));
    EXPECT_TRUE(log.has(1961, u"CapsLock画面通知 ON"));
    EXPECT_TRUE(log.has(2112, u"状態表示 "));
  }
  EXPECT_TRUE(keyboard.events.empty());
  EXPECT_FALSE(shell.timerRunning(kTimerId5));
  EXPECT_FALSE(monitor().state().bTimer5Active);

  // Once the user sets the keys right, the notice goes.
  keyboard.setToggled(kVkNumLock, true);
  keyboard.setToggled(kVkCapital, false);
  log.clear();
  tick();
  EXPECT_FALSE(shell.notice);
  EXPECT_EQ(log.count(2112), 0);
}

TEST_F(NotifyOnly, ReturnTimeLetOneTickCorrectTheKeysThenNotifyOnlyResumes) {
  settings.return_waitmsec = 3000;
  tick();
  EXPECT_EQ(shell.timers.at(kTimerId5), 3000u);
  EXPECT_TRUE(monitor().state().bTimer5Active);
  tick();  // a second tick while the timer runs starts nothing new
  EXPECT_EQ(std::count(shell.started.begin(), shell.started.end(), kTimerId5), 1);
  EXPECT_TRUE(keyboard.events.empty());

  log.clear();
  monitor().onMonitorTimer(kTimerId5);
  EXPECT_FALSE(shell.timerRunning(kTimerId5));
  EXPECT_FALSE(monitor().state().bTimer5Active);
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  EXPECT_FALSE(keyboard.toggled(kVkCapital));
  EXPECT_EQ(log.numbers().front(), 1687u);
  EXPECT_TRUE(log.lines().front().newLine);
  EXPECT_TRUE(log.has(1899, u"NumLock状態変更 ON"));
  EXPECT_TRUE(log.has(1965, u"CapsLock状態変更 OFF"));
  EXPECT_FALSE(shell.notice);
  EXPECT_EQ(settings.NotifyOnly, 1);

  // The next difference is only shown again, and starts the return timer again.
  keyboard.setToggled(kVkNumLock, false);
  tick();
  EXPECT_TRUE(shell.notice);
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 1);
  EXPECT_EQ(std::count(shell.started.begin(), shell.started.end(), kTimerId5), 2);
}

TEST_F(NotifyOnly, TheReturnTickKeepsNotifyOnlyOffWhenTheUserSwitchedItOff) {
  settings.return_waitmsec = 3000;
  tick();
  settings.NotifyOnly = 0;  // the settings dialog, while the timer runs
  monitor().onMonitorTimer(kTimerId5);
  EXPECT_EQ(settings.NotifyOnly, 0);
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
}

// --- per-window rules in the tick --------------------------------------------

TEST_F(Tick, SwitchRulesActOnlyOnTheFirstTickAfterTheirWindowComesToTheFront) {
  storeRules({{u"Browser", {monitor::kPolicyOnOnSwitch, monitor::kPolicyOffOnSwitch, 0, 0}}},
             false);
  keyboard.setToggled(kVkNumLock, false);
  keyboard.setToggled(kVkCapital, true);
  tick();  // the editor: no rule, NumLock and CapsLock not watched
  EXPECT_TRUE(keyboard.events.empty());

  desktop.activate(browser);
  log.clear();
  tick();
  EXPECT_TRUE(log.has(1761, u"ウィンドウ名による特殊処理対象 "));
  EXPECT_TRUE(log.has(1864, u"NumLock特殊処理による変更= 3"));
  EXPECT_TRUE(log.has(1952, u"CapsLock特殊処理による変更= 2"));
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  EXPECT_FALSE(keyboard.toggled(kVkCapital));

  // While the browser stays in front, the user's changes stand.
  keyboard.setToggled(kVkNumLock, false);
  keyboard.setToggled(kVkCapital, true);
  log.clear();
  tick();
  EXPECT_TRUE(log.has(1864, u"NumLock特殊処理による変更= 0"));
  EXPECT_TRUE(log.has(1913, u"NumLock処理対象外 "));
  EXPECT_TRUE(log.has(1999, u"CapsLock処理対象外 "));
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 1);

  // Away and back: the rule acts once more.
  desktop.activate(editor);
  tick();
  desktop.activate(browser);
  tick();
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  EXPECT_FALSE(keyboard.toggled(kVkCapital));
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 2);
}

TEST_F(Tick, FixedRulesBeatTheStandardSettingsAndDontWatchSilencesAKey) {
  settings.ScrollLockState = 3;
  settings.CapsLockState = 3;
  storeRules({{u"Editor", {monitor::kPolicyAlwaysOff, monitor::kPolicyDontWatch, 0, 0}}}, true);
  settings.bUseIni = true;
  keyboard.setToggled(kVkNumLock, true);
  keyboard.setToggled(kVkCapital, false);
  keyboard.setToggled(kVkScroll, false);
  tick();
  tick();
  EXPECT_TRUE(log.has(1801, u"ウィンドウ名による特殊処理対象 "));
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));  // always OFF on every tick
  EXPECT_FALSE(keyboard.toggled(kVkCapital));  // not watched here
  EXPECT_TRUE(keyboard.toggled(kVkScroll));    // no rule code: standard setting
  EXPECT_EQ(log.count(2038), 0);
}

// --- device reversal and remote session ---------------------------------------

class DeviceReversal : public MonitorTest {
 protected:
  DeviceReversal() {
    settings.NumLockState = 7;  // ON while a listed keyboard is connected
    settings.NOT_WATCH_DEV_NUMLOCK = 1;
    settings.watchedKeyboards = {u"\\\\?\\HID#VID_04F2&PID_0112"};
  }
  void refreshAndTick() {
    monitor().onMonitorTimer(monitor::kDeviceListTimer);
    tick();
  }
};

TEST_F(DeviceReversal, NumLockIsHeldOppositeWithoutTheDeviceAndAsSetWithIt) {
  keyboard.setToggled(kVkNumLock, true);
  refreshAndTick();
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
  keyboard.setToggled(kVkNumLock, true);
  refreshAndTick();
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));  // held constantly, not once

  const auto device = rawInput.addKeyboard(u"\\\\?\\HID#VID_04F2&PID_0112#8&2b3c&0&0000#{884b}");
  refreshAndTick();
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  keyboard.setToggled(kVkNumLock, false);
  refreshAndTick();
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));

  rawInput.remove(device);
  refreshAndTick();
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 5);
}

TEST_F(DeviceReversal, WithoutReversalOrListTheDeviceModeOnlyActsWhileConnected) {
  settings.NOT_WATCH_DEV_NUMLOCK = 0;
  keyboard.setToggled(kVkNumLock, false);
  refreshAndTick();
  EXPECT_TRUE(log.has(1913, u"NumLock処理対象外 "));
  rawInput.addKeyboard(u"\\\\?\\HID#VID_04F2&PID_0112#1");
  refreshAndTick();
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));

  // With no watched names nothing counts as connected, not even for reversal.
  settings.watchedKeyboards.clear();
  settings.NOT_WATCH_DEV_NUMLOCK = 1;
  keyboard.setToggled(kVkNumLock, false);
  log.clear();
  refreshAndTick();
  EXPECT_TRUE(log.has(1913, u"NumLock処理対象外 "));
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
}

TEST_F(DeviceReversal, TheListIsNotRefreshedWhenNothingLooksAtIt) {
  settings.NumLockState = 3;
  monitor().onMonitorTimer(monitor::kDeviceListTimer);
  EXPECT_EQ(log.count(3250), 0);
  settings.NotifyWatchedDevice = 1;
  monitor().onMonitorTimer(monitor::kDeviceListTimer);
  settings.NumLockState = 2;
  settings.NotifyWatchedDevice = 0;
  monitor().onMonitorTimer(monitor::kDeviceListTimer);
  EXPECT_EQ(log.count(3250), 2);
  EXPECT_EQ(log.count(3313), 2);
}

class RemoteSession : public MonitorTest {
 protected:
  RemoteSession() {
    settings.RemoteCheck = 1;
    settings.NumLockState = 3;     // ON at the console
    settings.RM_NumLockState = 2;  // OFF on remote desktop
    desktop.metrics[platform::kSmRemoteSession] = 1;
    keyboard.setToggled(kVkNumLock, true);
  }
};

TEST_F(RemoteSession, TheRemoteSettingReplacesNumLocksOwn) {
  tick();
  EXPECT_TRUE(log.has(1827, u"リモートデスクトップ中かつリモートデスクトップ接続時は監視変更 "));
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));

  desktop.metrics[platform::kSmRemoteSession] = 0;  // back at the console
  log.clear();
  tick();
  EXPECT_EQ(log.count(1827), 0);
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));

  settings.RemoteCheck = 0;
  desktop.metrics[platform::kSmRemoteSession] = 1;
  tick();
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
}

TEST_F(RemoteSession, ARuleWithoutANumLockCodeLeavesTheRemoteSettingInForce) {
  storeRules({{u"Editor", {monitor::kPolicyNone, monitor::kPolicyAlwaysOn, 0, 0}}}, false);
  tick();
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
  EXPECT_TRUE(keyboard.toggled(kVkCapital));
}

TEST_F(RemoteSession, ANumLockRuleBeatsTheRemoteSetting) {
  storeRules({{u"Editor", {monitor::kPolicyAlwaysOn, 0, 0, 0}}}, false);
  keyboard.setToggled(kVkNumLock, false);
  tick();
  EXPECT_TRUE(log.has(1827, u"リモートデスクトップ中かつリモートデスクトップ接続時は監視変更 "));
  EXPECT_TRUE(log.has(1864, u"NumLock特殊処理による変更= 3"));
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
}

}  // namespace
}  // namespace kivora::test
