#include "settings/hotkey_rule.h"

namespace kivora::settings {

namespace {

bool mayStandWithoutCtrlAlt(std::uint32_t key) {
  return (key >= 0x60 && key <= 0x6B) ||  // numeric-keypad digits, multiply, add
         key == 0x6D || key == 0x6F ||    // numeric-keypad subtract, divide
         (key >= 0x70 && key <= 0x87);    // F1 to F24
}

}  // namespace

std::int32_t sanitizePauseHotkey(std::int32_t hotkey) {
  if (hotkey == 0) return 0;
  const auto value = static_cast<std::uint32_t>(hotkey);
  const std::uint32_t modifiers = (value >> 8) & 0xFF;
  const std::uint32_t key = value & 0xFF;
  const bool atMostOneModifier = modifiers == 0 || modifiers == kHotkeyShift ||
                                 modifiers == kHotkeyControl || modifiers == kHotkeyAlt;
  if (!atMostOneModifier || mayStandWithoutCtrlAlt(key)) return hotkey;
  return static_cast<std::int32_t>(key | ((kHotkeyControl | kHotkeyAlt) << 8));
}

}  // namespace kivora::settings
