#pragma once
// The pause hotkey's sanitising rule, shared by the settings load and the
// hotkey registration: a key with no modifier or a single one becomes
// Ctrl+Alt+key, except the numeric-keypad and function keys, which may stand
// alone or with one modifier.

#include <cstdint>

namespace kivora::settings {

// Hotkey-control modifier bits (bits 8 to 15 of the value).
inline constexpr std::uint32_t kHotkeyShift = 0x01;
inline constexpr std::uint32_t kHotkeyControl = 0x02;
inline constexpr std::uint32_t kHotkeyAlt = 0x04;
inline constexpr std::uint32_t kHotkeyExt = 0x08;

std::int32_t sanitizePauseHotkey(std::int32_t hotkey);

}  // namespace kivora::settings
