#include "settings/hotkey_rule.h"

#include <gtest/gtest.h>

namespace kivora::settings {
namespace {

TEST(PauseHotkeyRule, LoneOrSingleModifierKeysGainCtrlAltExceptKeypadAndFunctionKeys) {
  EXPECT_EQ(sanitizePauseHotkey(0x0241), 0x0641);  // Ctrl+A
  EXPECT_EQ(sanitizePauseHotkey(0x0041), 0x0641);  // A
  EXPECT_EQ(sanitizePauseHotkey(0x0141), 0x0641);  // Shift+A: the modifier is dropped
  EXPECT_EQ(sanitizePauseHotkey(0x0341), 0x0341);  // Shift+Ctrl+A
  EXPECT_EQ(sanitizePauseHotkey(0x0841), 0x0841);  // the extended-key flag is left alone
  EXPECT_EQ(sanitizePauseHotkey(0x0070), 0x0070);  // F1
  EXPECT_EQ(sanitizePauseHotkey(0x0087), 0x0087);  // F24
  EXPECT_EQ(sanitizePauseHotkey(0x0460), 0x0460);  // Alt+keypad 0
  EXPECT_EQ(sanitizePauseHotkey(0x006F), 0x006F);  // keypad divide
  EXPECT_EQ(sanitizePauseHotkey(0x006C), 0x066C);  // keypad separator is not in the list
  EXPECT_EQ(sanitizePauseHotkey(0x006E), 0x066E);  // nor keypad decimal
  EXPECT_EQ(sanitizePauseHotkey(0), 0);
}

}  // namespace
}  // namespace kivora::settings
