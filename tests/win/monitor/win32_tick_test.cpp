// One real tick under Wine: the monitor reads the real toggle states with
// GetKeyState and corrects them with keybd_event.

#include <gtest/gtest.h>

#include "win/monitor/win32_monitor_harness.h"

namespace kivora::test {
namespace {

class RealTick : public RealKeysFixture<testing::Test> {};

TEST_F(RealTick, CorrectsNumLockAndCapsLock) {
  settings.NumLockState = 3;   // constantly ON
  settings.CapsLockState = 2;  // constantly OFF
  setKey(VK_NUMLOCK, false);
  setKey(VK_CAPITAL, true);
  ASSERT_FALSE(keyIsOn(VK_NUMLOCK));
  ASSERT_TRUE(keyIsOn(VK_CAPITAL));

  Win32Monitor monitor(settings, scratch, mainWindow.handle());
  monitor.get().onMonitorTimer(monitor::kTimerId3);

  EXPECT_TRUE(keyIsOn(VK_NUMLOCK));
  EXPECT_FALSE(keyIsOn(VK_CAPITAL));
  EXPECT_TRUE(monitor.log.has(1899, u"NumLock状態変更 ON"));
  EXPECT_TRUE(monitor.log.has(1965, u"CapsLock状態変更 OFF"));
  // The monitor's own read-back saw the change take.
  EXPECT_EQ(monitor.log.count(1902), 0);
  EXPECT_EQ(monitor.log.count(1968), 0);
  EXPECT_TRUE(monitor.log.has(2281, u"初回監視終了 "));

  // A second tick finds nothing to do.
  monitor.log.clear();
  monitor.get().onMonitorTimer(monitor::kTimerId3);
  EXPECT_TRUE(monitor.log.has(1888, u"NumLock ONなのでONへの切替不要 "));
  EXPECT_TRUE(monitor.log.has(1994, u"CapsLock OFFなのでOFFへの切替不要 "));
}

TEST_F(RealTick, TheRealDeviceListCanBeRead) {
  Win32Monitor monitor(settings, scratch, mainWindow.handle());
  EXPECT_TRUE(monitor.get().devices().refreshConnectedDevices(platform::kNoWindow));
  EXPECT_TRUE(
      monitor.log.has(3313, u"refresh_connect_device_list キーボードデバイスリスト取得成功"));
}

}  // namespace
}  // namespace kivora::test
