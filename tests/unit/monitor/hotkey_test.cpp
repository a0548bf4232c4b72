// The pause hotkey and the Insert block: the stored hotkey code, through the
// settings load, becomes one RegisterHotKey on the main window.

#include "unit/monitor/monitor_fixture.h"

namespace kivora::test {
namespace {

using fakes::FakeHotkeys;
using monitor::kInsertBlockHotkeyId;
using monitor::kPauseHotkeyId;
using platform::kModAlt;
using platform::kModControl;
using platform::kModShift;

class Hotkeys : public MonitorTest {
 protected:
  // HOTKEY_ENDISTTICON as stored, then loaded like at start.
  void loadHotkey(std::int32_t stored) {
    std::u16string errors;
    ASSERT_TRUE(
        settings::WriteSettingInt(store(), false, u"HOTKEY_ENDISTTICON", stored, errors, false));
    settings::LoadSettings(settings, store());
  }
  std::set<FakeHotkeys::Combination> pauseKeys() const {
    return hotkeys.of(shell.window, kPauseHotkeyId);
  }
};

TEST_F(Hotkeys, StoredCodesBecomeTheRegisteredCombination) {
  struct Case {
    std::int32_t stored;
    FakeHotkeys::Combination registered;
  };
  const Case cases[] = {
      {0x0241, {kModControl | kModAlt, 0x41}},  // Ctrl+A gains Alt on load
      {0x0070, {0, 0x70}},                      // F1 may stand alone
      {0x0341, {kModShift | kModControl, 0x41}},
      {0x0C41, {kModAlt, 0x41}},  // Alt + extended-key flag: the flag is ignored
  };
  for (const auto& c : cases) {
    loadHotkey(c.stored);
    log.clear();
    EXPECT_TRUE(monitor().hotkeys().registerPauseHotkey());
    EXPECT_EQ(pauseKeys(), std::set{c.registered}) << std::hex << c.stored;
    EXPECT_TRUE(log.has(908, u"[ホットキー登録] 機能ON/OFF切替"));
  }
  EXPECT_EQ(hotkeys.registered.size(), 1u);  // each registration replaced the one before
  EXPECT_TRUE(shell.balloons().empty());
}

TEST_F(Hotkeys, NoKeyRemovesThePauseHotkey) {
  settings.HOTKEY_ENDISTTICON = 0x0641;
  monitor().hotkeys().registerPauseHotkey();
  settings.HOTKEY_ENDISTTICON = 0x0600;  // modifiers without a key are no hotkey
  log.clear();
  EXPECT_FALSE(monitor().hotkeys().registerPauseHotkey());
  EXPECT_TRUE(pauseKeys().empty());
  EXPECT_TRUE(log.has(916, u"[ホットキー登録] 登録解除"));
}

TEST_F(Hotkeys, ATakenCombinationIsReportedInTheUsersLanguage) {
  hotkeys.heldElsewhere.insert({kModControl | kModAlt, 0x50});
  settings.HOTKEY_ENDISTTICON = 0x0650;
  EXPECT_FALSE(monitor().hotkeys().registerPauseHotkey());
  EXPECT_TRUE(log.has(911, u"[ホットキー登録] ホットキー割り当てに失敗"));
  EXPECT_EQ(
      shell.balloons(),
      (std::vector<Balloon>{{u"Cannot Register the hotkey.", monitor::BalloonIcon::Warning}}));
}

TEST_F(Hotkeys, ATakenCombinationInJapanese) {
  modeJP = true;
  hotkeys.heldElsewhere.insert({kModControl | kModAlt, 0x50});
  settings.HOTKEY_ENDISTTICON = 0x0650;
  monitor().hotkeys().registerPauseHotkey();
  EXPECT_EQ(shell.balloons().at(0).text, u"ホットキーの割り当てに失敗しました。");
}

TEST_F(Hotkeys, TheInsertBlockComesAndGoesSilently) {
  auto& control = monitor().hotkeys();
  EXPECT_TRUE(control.setInsertBlock(true));
  const std::set<FakeHotkeys::Combination> insert{{0, platform::kVkInsert}};
  EXPECT_EQ(hotkeys.of(shell.window, kInsertBlockHotkeyId), insert);
  control.setInsertBlock(false);
  EXPECT_TRUE(hotkeys.registered.empty());

  hotkeys.heldElsewhere.insert({0, platform::kVkInsert});
  EXPECT_FALSE(control.setInsertBlock(true));
  EXPECT_TRUE(shell.balloons().empty());
  EXPECT_TRUE(log.lines().empty());
}

TEST_F(Hotkeys, ShutDownReleasesBothWithTheirLogLines) {
  settings.BlockInsert = 1;
  settings.HOTKEY_ENDISTTICON = 0x0641;
  auto& control = monitor().hotkeys();
  control.setInsertBlock(true);
  control.registerPauseHotkey();
  log.clear();
  control.removeInsertBlockAtExit();
  control.releasePauseHotkeyAtExit();
  EXPECT_TRUE(hotkeys.registered.empty());
  EXPECT_EQ(log.numbers(), (std::vector<unsigned>{2372, 2388, 926}));
  EXPECT_TRUE(log.has(926, u"[ホットキー登録] 全登録解除"));

  settings.BlockInsert = 0;
  settings.HOTKEY_ENDISTTICON = 0;
  log.clear();
  control.removeInsertBlockAtExit();
  control.releasePauseHotkeyAtExit();
  EXPECT_EQ(log.numbers(), (std::vector<unsigned>{2376, 2388}));
}

}  // namespace
}  // namespace kivora::test
