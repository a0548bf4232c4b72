// The keyboard device list: names, matching and the three failure paths.

#include "unit/monitor/monitor_fixture.h"

namespace kivora::test {
namespace {

class DeviceList : public MonitorTest {
 protected:
  monitor::DeviceWatch& devices() { return monitor().devices(); }
  platform::WindowHandle dialog = window(0x7070);
};

TEST_F(DeviceList, NamesAreCutAtTheSecondHash) {
  EXPECT_EQ(monitor::cutDeviceName(u"\\\\?\\HID#VID_046D&PID_C31C&MI_00#7&2a#{884b}"),
            u"\\\\?\\HID#VID_046D&PID_C31C&MI_00");
  EXPECT_EQ(monitor::cutDeviceName(u"\\\\?\\HID#VID_1"), u"\\\\?\\HID#VID_1");
  EXPECT_EQ(monitor::cutDeviceName(u"NoHashAtAll"), u"NoHashAtAll");
  EXPECT_EQ(monitor::cutDeviceName(u"##tail"), u"#");
}

TEST_F(DeviceList, OnlyReadableKeyboardsAreListedInDeviceOrder) {
  rawInput.addKeyboard(u"KBD#A#1");
  rawInput.addDevice(platform::kRimTypeMouse, u"MOUSE#M#1");
  rawInput.addKeyboard(u"KBD#A#2");
  rawInput.addDevice(platform::kRimTypeHid, u"HID#H#1");
  rawInput.addKeyboard(u"KBD#B#1");
  rawInput.devices.back().nameReadable = false;
  rawInput.addKeyboard(u"Plain");
  EXPECT_TRUE(devices().refreshConnectedDevices(platform::kNoWindow));
  EXPECT_EQ(devices().connectedKeyboards(),
            (std::vector<std::u16string>{u"KBD#A", u"KBD#A", u"Plain"}));
  EXPECT_TRUE(log.has(3250, u"refresh_connect_device_list() "));
  EXPECT_TRUE(log.has(3313, u"refresh_connect_device_list キーボードデバイスリスト取得成功"));
  EXPECT_TRUE(log.lines().back().newLine);

  EXPECT_TRUE(devices().isWatchedDeviceConnected({u"Other", u"KBD#A"}));
  EXPECT_FALSE(devices().isWatchedDeviceConnected({u"kbd#a", u"Plain "}));  // exact, case-sensitive
  EXPECT_FALSE(devices().isWatchedDeviceConnected({}));
}

TEST_F(DeviceList, BeforeTheFirstRefreshNothingIsConnected) {
  rawInput.addKeyboard(u"KBD#A#1");
  EXPECT_FALSE(devices().isWatchedDeviceConnected({u"KBD#A"}));
}

TEST_F(DeviceList, AFailedCountKeepsTheListAndTellsTheDialog) {
  rawInput.addKeyboard(u"KBD#A#1");
  ASSERT_TRUE(devices().refreshConnectedDevices(platform::kNoWindow));
  rawInput.countFails = true;
  log.clear();
  EXPECT_FALSE(devices().refreshConnectedDevices(platform::kNoWindow));
  EXPECT_TRUE(shell.boxes().empty());
  EXPECT_TRUE(
      log.has(3256, u"refresh_connect_device_list キーボードデバイスのリストの数を取得できません"));
  EXPECT_FALSE(devices().refreshConnectedDevices(dialog));
  const auto boxes = shell.boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, dialog);
  EXPECT_EQ(boxes[0].text, u"Cannot get a number of keyboard device list.");
  EXPECT_EQ(boxes[0].caption, u"Select keyboard devices");
  EXPECT_EQ(boxes[0].flags, monitor::kMbIconError);
  EXPECT_EQ(devices().connectedKeyboards(), (std::vector<std::u16string>{u"KBD#A"}));
}

TEST_F(DeviceList, ADeviceArrivingOrLeavingDuringTheRefreshFailsItUntilTheNext) {
  rawInput.addKeyboard(u"KBD#A#1");
  ASSERT_TRUE(devices().refreshConnectedDevices(platform::kNoWindow));

  rawInput.afterCount = [this] { rawInput.addKeyboard(u"KBD#B#1"); };
  EXPECT_FALSE(devices().refreshConnectedDevices(dialog));
  EXPECT_TRUE(
      log.has(3268, u"refresh_connect_device_list キーボードデバイスのリストを取得できません"));
  EXPECT_EQ(shell.boxes().back().text, u"Cannot get a keyboard device list.");
  EXPECT_EQ(devices().connectedKeyboards(), (std::vector<std::u16string>{u"KBD#A"}));

  const auto first = rawInput.devices.front().handle;
  rawInput.afterCount = [this, first] { rawInput.remove(first); };
  EXPECT_FALSE(devices().refreshConnectedDevices(platform::kNoWindow));
  EXPECT_EQ(devices().connectedKeyboards(), (std::vector<std::u16string>{u"KBD#A"}));

  EXPECT_TRUE(devices().refreshConnectedDevices(platform::kNoWindow));
  EXPECT_EQ(devices().connectedKeyboards(), (std::vector<std::u16string>{u"KBD#B"}));
}

TEST_F(DeviceList, JapaneseMessagesAndCaption) {
  modeJP = true;
  rawInput.countFails = true;
  devices().refreshConnectedDevices(dialog);
  rawInput.countFails = false;
  rawInput.afterCount = [this] { rawInput.addKeyboard(u"KBD#B#1"); };
  devices().refreshConnectedDevices(dialog);
  const auto boxes = shell.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, u"キーボードデバイスのリストの数を取得できません");
  EXPECT_EQ(boxes[1].text, u"キーボードデバイスのリストを取得できません");
  EXPECT_EQ(boxes[1].caption, u"キーボードデバイスを選択");
}

TEST_F(DeviceList, TwoKeyboardsWithTheSameCutNameBothCount) {
  settings.watchedKeyboards = {u"KBD#A"};
  const auto one = rawInput.addKeyboard(u"KBD#A#1");
  rawInput.addKeyboard(u"KBD#A#2");
  monitor().onMonitorTimer(monitor::kDeviceListTimer);
  rawInput.remove(one);
  monitor().onMonitorTimer(monitor::kDeviceListTimer);
  EXPECT_TRUE(monitor().watchedDeviceConnected());
  settings.watchedKeyboards.clear();
  EXPECT_FALSE(monitor().watchedDeviceConnected());
}

}  // namespace
}  // namespace kivora::test
