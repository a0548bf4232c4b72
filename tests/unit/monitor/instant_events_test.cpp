// The events that run a tick at once: which ones do, how a burst of them is
// folded into few ticks, and what a keyboard or session change brings.

#include "unit/monitor/monitor_fixture.h"

namespace kivora::test {
namespace {

using monitor::kEventObjectNameChange;
using monitor::kEventSystemForeground;
using monitor::kEventTickTimer;
using platform::kVkNumLock;

class InstantEvents : public MonitorTest {
 protected:
  InstantEvents() { settings.NumLockState = 3; }  // constantly ON
  int ticks() const { return log.count(1690); }
  void titleChange(platform::WindowHandle window) {
    monitor().onWindowEvent(kEventObjectNameChange, window, monitor::kObjidWindow,
                            monitor::kChildIdSelf);
  }
  void quietTimeEnds() { monitor().onMonitorTimer(kEventTickTimer); }
};

TEST_F(InstantEvents, OnlyTheWindowInFrontAndConnectingSessionsRunATick) {
  constexpr std::int32_t kObjidClient = -4;
  constexpr unsigned kEventObjectCreate = 0x8000;
  struct Case {
    const char* what;
    std::function<void(monitor::Monitor&)> event;
    bool runsTick;
  };
  const platform::WindowHandle front = editor;
  const std::vector<Case> cases{
      {"switch", [&](auto& m) { m.onWindowEvent(kEventSystemForeground, browser, 0, 0); }, true},
      {"title in front", [&](auto& m) { m.onWindowEvent(kEventObjectNameChange, front, 0, 0); },
       true},
      {"title behind", [&](auto& m) { m.onWindowEvent(kEventObjectNameChange, browser, 0, 0); },
       false},
      {"name of a part",
       [&](auto& m) { m.onWindowEvent(kEventObjectNameChange, front, kObjidClient, 0); }, false},
      {"name of a child", [&](auto& m) { m.onWindowEvent(kEventObjectNameChange, front, 0, 3); },
       false},
      {"other event", [&](auto& m) { m.onWindowEvent(kEventObjectCreate, front, 0, 0); }, false},
      {"keyboard", [](auto& m) { m.onInputDeviceChange(monitor::kGidcRemoval); }, true},
      {"console connect", [](auto& m) { m.onSessionChange(monitor::kWtsConsoleConnect); }, true},
      {"remote connect", [](auto& m) { m.onSessionChange(monitor::kWtsRemoteConnect); }, true},
      {"unlock", [](auto& m) { m.onSessionChange(monitor::kWtsSessionUnlock); }, true},
      {"disconnect", [](auto& m) { m.onSessionChange(0x2); }, false},
      {"lock", [](auto& m) { m.onSessionChange(0x7); }, false},
  };
  for (const std::int32_t instantCheck : {1, 0}) {
    settings.InstantCheck = instantCheck;
    for (const auto& c : cases) {
      log.clear();
      c.event(monitor());
      EXPECT_EQ(ticks(), c.runsTick && instantCheck != 0 ? 1 : 0)
          << c.what << ", InstantCheck " << instantCheck;
      quietTimeEnds();
    }
  }
  EXPECT_FALSE(shell.timerRunning(kEventTickTimer));
}

TEST_F(InstantEvents, EachTriggerHasItsOwnLogLine) {
  monitor().onWindowEvent(kEventSystemForeground, editor, 0, 0);
  quietTimeEnds();
  titleChange(editor);
  quietTimeEnds();
  monitor().onInputDeviceChange(monitor::kGidcArrival);
  quietTimeEnds();
  monitor().onSessionChange(monitor::kWtsRemoteConnect);
  EXPECT_TRUE(log.has(1691, u"EVENT_SYSTEM_FOREGROUND 0x00001010"));
  EXPECT_TRUE(log.has(1693, u"EVENT_OBJECT_NAMECHANGE 0x00001010"));
  EXPECT_TRUE(log.has(1695, u"WM_INPUT_DEVICE_CHANGE 接続"));
  EXPECT_TRUE(log.has(1697, u"WM_WTSSESSION_CHANGE WTS_REMOTE_CONNECT"));
}

TEST_F(InstantEvents, ABurstBecomesOneTickNowAndOneForTheLastEvent) {
  storeRules({{u"Spreadsheet", {monitor::kPolicyAlwaysOff, 0, 0, 0}}}, false);
  keyboard.setToggled(kVkNumLock, true);
  titleChange(editor);
  EXPECT_EQ(ticks(), 1);
  ASSERT_TRUE(shell.timerRunning(kEventTickTimer));
  EXPECT_EQ(shell.timers.at(kEventTickTimer), monitor::kEventTickInterval);

  // The window retitles itself many times before the quiet time ends; its
  // last title takes a rule.
  for (int i = 0; i < 50; ++i) {
    desktop.addWindow(editor, i < 49 ? u"Saving " + std::u16string(1, u'0' + i % 10) + u"%"
                                     : u"Budget - Spreadsheet");
    titleChange(editor);
  }
  monitor().onWindowEvent(kEventSystemForeground, editor, 0, 0);
  monitor().onLockKeyChanged(kVkNumLock);  // Kivora's own press coming back
  EXPECT_EQ(ticks(), 1);
  EXPECT_EQ(log.count(1699), 1);  // folded, said once
  quietTimeEnds();
  EXPECT_EQ(ticks(), 2);
  EXPECT_TRUE(log.has(1686, u"TIMERID_EVENT まとめたイベントの補正"));
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 1);

  // A quiet time with nothing folded in ends the timer; the next event runs at once.
  EXPECT_TRUE(shell.timerRunning(kEventTickTimer));
  quietTimeEnds();
  EXPECT_FALSE(shell.timerRunning(kEventTickTimer));
  EXPECT_EQ(ticks(), 2);
  titleChange(editor);
  EXPECT_EQ(ticks(), 3);
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 1);
}

TEST_F(InstantEvents, AnEventDuringTheTickIsFoldedIn) {
  // A tick can wait on another window (the IME), and the thread may take
  // the next event meanwhile; it must not start a second tick inside the first.
  settings.ImeLock = 1;
  ime.addIme(editor);
  ime.whileWaiting = [&] { titleChange(editor); };
  titleChange(editor);
  EXPECT_EQ(ticks(), 1);
  quietTimeEnds();
  EXPECT_EQ(ticks(), 2);
}

TEST_F(InstantEvents, AfterAPressThatDidNotTakeEventsLeaveTheRetryToTheTimer) {
  keyboard.stuckKeys.insert(kVkNumLock);
  monitor().onWindowEvent(kEventSystemForeground, editor, 0, 0);
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 1);
  for (int i = 0; i < 10; ++i) titleChange(editor);
  quietTimeEnds();
  monitor().onSessionChange(monitor::kWtsSessionUnlock);
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 1);
  EXPECT_TRUE(log.has(1694, u"EVENT_OBJECT_NAMECHANGE 切替失敗の後なので次のタイマまで待つ"));
  EXPECT_TRUE(log.has(1698, u"WM_WTSSESSION_CHANGE 切替失敗の後なので次のタイマまで待つ"));
  tick();
  EXPECT_EQ(keyboard.pressesOf(kVkNumLock), 2);
  keyboard.stuckKeys.clear();
  tick();
  keyboard.setToggled(kVkNumLock, false);
  monitor().onWindowEvent(kEventSystemForeground, editor, 0, 0);
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
}

TEST_F(InstantEvents, AKeyboardArrivingIsSeenAtOnce) {
  settings.NumLockState = 7;  // ON while the watched keyboard is connected, else OFF
  settings.NOT_WATCH_DEV_NUMLOCK = 1;
  settings.NotifyWatchedDevice = 1;
  settings.watchedKeyboards = {u"\\\\?\\HID#VID_04F2&PID_0112"};
  const auto device = rawInput.addKeyboard(u"\\\\?\\HID#VID_04F2&PID_0112#8&2b3c&0&0000#{884b}");
  monitor().onInputDeviceChange(monitor::kGidcArrival);
  EXPECT_TRUE(keyboard.toggled(kVkNumLock));
  EXPECT_TRUE(monitor().trayDeviceBit());
  quietTimeEnds();
  rawInput.remove(device);
  monitor().onInputDeviceChange(monitor::kGidcRemoval);
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
  EXPECT_FALSE(monitor().trayDeviceBit());
  EXPECT_EQ(shell.trayUpdates, 2);  // each tick showed the device's state

  // With InstantCheck off the list is still read again, but no tick runs.
  quietTimeEnds();
  settings.InstantCheck = 0;
  rawInput.addKeyboard(u"\\\\?\\HID#VID_04F2&PID_0112#9");
  monitor().onInputDeviceChange(monitor::kGidcArrival);
  EXPECT_TRUE(monitor().trayDeviceBit());
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
}

TEST_F(InstantEvents, ARemoteSessionConnectingTakesItsNumLockSettingAtOnce) {
  settings.RemoteCheck = 1;
  settings.RM_NumLockState = 2;  // constantly OFF in a remote session
  keyboard.setToggled(kVkNumLock, true);
  desktop.metrics[platform::kSmRemoteSession] = 1;
  monitor().onSessionChange(monitor::kWtsRemoteConnect);
  EXPECT_FALSE(keyboard.toggled(kVkNumLock));
  EXPECT_TRUE(log.has(1827, u"リモートデスクトップ中かつリモートデスクトップ接続時は監視変更 "));
}

}  // namespace
}  // namespace kivora::test
