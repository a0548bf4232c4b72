#include "monitor/tray_icon_choice.h"

#include <gtest/gtest.h>

#include <set>

using namespace kivora::monitor;

namespace {

TEST(TrayIconChoice, LockStateIndexCoversAllFortyEightIconsOnce) {
  std::set<int> seen;
  for (int state = 0; state < 3; ++state) {
    for (int bits = 0; bits < 16; ++bits) {
      const LockKeys keys{(bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
      const int index = lockStateIconIndex(state, keys, (bits & 1) != 0);
      EXPECT_EQ(index, 16 * state + bits);
      const LockStateIconContent content = lockStateIconContent(index);
      EXPECT_EQ(lockStateIconIndex(content.state, content.keys, content.device), index);
      seen.insert(index);
    }
  }
  EXPECT_EQ(seen.size(), 48u);
  EXPECT_EQ(*seen.rbegin(), kLockStateIconCount - 1);
}

TEST(TrayIconChoice, LockStateIconsFollowWatchingKeysAndDevice) {
  TrayIconSettings settings{.showLockedKeyIcon = true, .kbWatchEnabled = 1, .showDevice = false};
  // Watching, NumLock and ScrollLock on, no device list.
  EXPECT_EQ(chooseTrayIcon(settings, {true, false, true}),
            (TrayIconChoice{TrayIconKind::LockState, 26}));

  settings.kbWatchEnabled = 0;
  settings.showDevice = true;
  EXPECT_EQ(chooseTrayIcon(settings, {false, true, false}),
            (TrayIconChoice{TrayIconKind::LockState, 5}));

  settings.kbWatchEnabled = 2;  // neither 0 nor 1 draws the flash state
  EXPECT_EQ(chooseTrayIcon(settings, {}), (TrayIconChoice{TrayIconKind::LockState, 33}));
}

TEST(TrayIconChoice, SingleIconsWithoutLockStateDisplay) {
  TrayIconSettings settings{.showLockedKeyIcon = false, .kbWatchEnabled = 1, .showDevice = false};
  const LockKeys allOn{true, true, true};
  EXPECT_EQ(chooseTrayIcon(settings, allOn).kind, TrayIconKind::Watching);
  settings.kbWatchEnabled = 0;
  EXPECT_EQ(chooseTrayIcon(settings, allOn).kind, TrayIconKind::Paused);
  settings.showDevice = true;
  EXPECT_EQ(chooseTrayIcon(settings, allOn).kind, TrayIconKind::DevicePaused);
  settings.kbWatchEnabled = 5;  // any non-zero value is watching here
  EXPECT_EQ(chooseTrayIcon(settings, allOn).kind, TrayIconKind::DeviceWatching);
}

TEST(TrayIconChoice, FlashUsesTheFlashRowOrTheKeyChangeIcon) {
  TrayIconSettings settings{.showLockedKeyIcon = true, .kbWatchEnabled = 0, .showDevice = true};
  EXPECT_EQ(chooseFlashIcon(settings, {true, true, false}),
            (TrayIconChoice{TrayIconKind::LockState, 32 + 2 + 4 + 1}));
  settings.showLockedKeyIcon = false;
  EXPECT_EQ(chooseFlashIcon(settings, {true, true, false}).kind, TrayIconKind::KeyChange);
}

}  // namespace
