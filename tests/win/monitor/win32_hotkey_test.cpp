// RegisterHotKey for real: the pause hotkey registers on the main window, and
// a second registration of the same combination fails with the balloon.

#include <gtest/gtest.h>

#include "win/monitor/win32_monitor_harness.h"

namespace kivora::test {
namespace {

TEST(RealHotkeys, ASecondRegistrationOfTheSameKeyReportsTheFailure) {
  ScratchStore scratch;
  settings::Settings settings;
  settings.HOTKEY_ENDISTTICON = 0x067A;  // Ctrl+Alt+F11
  TestWindow first(L"Kivora", false);
  TestWindow second(L"Kivora second instance", false);

  Win32Monitor owner(settings, scratch, first.handle());
  EXPECT_TRUE(owner.get().hotkeys().registerPauseHotkey());
  EXPECT_TRUE(owner.shell.balloons().empty());
  // Registering again from the same window replaces its own hotkey.
  EXPECT_TRUE(owner.get().hotkeys().registerPauseHotkey());

  Win32Monitor intruder(settings, scratch, second.handle());
  EXPECT_FALSE(intruder.get().hotkeys().registerPauseHotkey());
  EXPECT_TRUE(intruder.log.has(911, u"[ホットキー登録] ホットキー割り当てに失敗"));
  EXPECT_EQ(
      intruder.shell.balloons(),
      (std::vector<Balloon>{{u"Cannot Register the hotkey.", monitor::BalloonIcon::Warning}}));

  // Once the first window lets go, the key is free again.
  owner.get().hotkeys().releasePauseHotkeyAtExit();
  EXPECT_TRUE(intruder.get().hotkeys().registerPauseHotkey());
  intruder.get().hotkeys().releasePauseHotkeyAtExit();
}

TEST(RealHotkeys, TheInsertBlockRegistersInsertWithoutModifiers) {
  ScratchStore scratch;
  settings::Settings settings;
  TestWindow window(L"Kivora", false);
  Win32Monitor monitor(settings, scratch, window.handle());
  ASSERT_TRUE(monitor.get().hotkeys().setInsertBlock(true));
  // The combination is now taken: nobody else can have it.
  EXPECT_FALSE(RegisterHotKey(nullptr, 77, 0, VK_INSERT));
  monitor.get().hotkeys().setInsertBlock(false);
  EXPECT_TRUE(RegisterHotKey(nullptr, 77, 0, VK_INSERT));
  UnregisterHotKey(nullptr, 77);
}

}  // namespace
}  // namespace kivora::test
