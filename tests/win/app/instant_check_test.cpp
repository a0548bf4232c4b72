// The main window takes raw keyboard input, with device notices, and the
// WinEvent hooks and session notification are in place exactly while
// InstantCheck is on.

#include "app/instant_check.h"

#include <gtest/gtest.h>

#include <vector>

#include "win/app/app_test_support.h"

namespace kivora::app {
namespace {

std::vector<RAWINPUTDEVICE> registeredDevices() {
  UINT count = 0;
  GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
  std::vector<RAWINPUTDEVICE> devices(count);
  if (count > 0 &&
      GetRegisteredRawInputDevices(devices.data(), &count, sizeof(RAWINPUTDEVICE)) != count) {
    devices.clear();
  }
  return devices;
}

TEST(InstantCheck, EverySourceFollowsTheSetting) {
  test::TestApp test;
  App& app = *test.app;
  app.mainWindow = CreateWindowExW(0, L"Static", L"Kivora instant check test", WS_POPUP, 0, 0, 10,
                                   10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(app.mainWindow);

  app.settings.InstantCheck = 0;
  followInstantCheck(app);
  EXPECT_TRUE(registeredDevices().empty());
  EXPECT_FALSE(app.windowEvents);
  EXPECT_FALSE(app.sessionNotification.active());

  app.settings.InstantCheck = 1;
  followInstantCheck(app);
  followInstantCheck(app);  // the dialog confirmed without a change
  const auto devices = registeredDevices();
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].usUsagePage, 1);
  EXPECT_EQ(devices[0].usUsage, 6);
  EXPECT_EQ(devices[0].dwFlags, static_cast<DWORD>(RIDEV_INPUTSINK | RIDEV_DEVNOTIFY));
  EXPECT_EQ(devices[0].hwndTarget, app.mainWindow);
  ASSERT_TRUE(app.windowEvents);
  EXPECT_TRUE(app.windowEvents->installed());
  // Kivora's own titles are never heard, whatever window is in front.
  EXPECT_NE(app.windowEvents->titleProcess(), GetCurrentProcessId());
  EXPECT_TRUE(app.sessionNotification.active());

  app.settings.InstantCheck = 0;
  followInstantCheck(app);
  EXPECT_TRUE(registeredDevices().empty());
  EXPECT_FALSE(app.rawKeyboardRegistered);
  EXPECT_FALSE(app.windowEvents);
  EXPECT_FALSE(app.sessionNotification.active());
  DestroyWindow(app.mainWindow);
}

}  // namespace
}  // namespace kivora::app
