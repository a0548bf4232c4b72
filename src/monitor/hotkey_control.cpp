#include "monitor/hotkey_control.h"

#include "monitor/texts.h"
#include "platform/keyboard.h"
#include "settings/hotkey_rule.h"

namespace kivora::monitor {

namespace {

constexpr std::u16string_view kRegisterLog = u"[ホットキー登録]";

std::uint32_t keyOf(std::int32_t hotkeyValue) {
  return static_cast<std::uint32_t>(hotkeyValue) & 0xFF;
}

}  // namespace

std::uint32_t hotkeyModifiers(std::int32_t hotkeyValue) {
  const std::uint32_t flags = (static_cast<std::uint32_t>(hotkeyValue) >> 8) & 0xFF;
  std::uint32_t modifiers = 0;
  if (flags & settings::kHotkeyAlt) modifiers |= platform::kModAlt;
  if (flags & settings::kHotkeyControl) modifiers |= platform::kModControl;
  if (flags & settings::kHotkeyShift) modifiers |= platform::kModShift;
  return modifiers;
}

bool HotkeyControl::registerPauseHotkey() {
  const std::int32_t value = settings_.HOTKEY_ENDISTTICON;
  const platform::WindowHandle window = shell_.mainWindow();
  if (keyOf(value) == 0) {
    log_.log(diag::kLogEntry, 916, kRegisterLog, u"登録解除");
    hotkeys_.UnregisterHotKey(window, kPauseHotkeyId);
    return false;
  }
  log_.log(diag::kLogEntry, 908, kRegisterLog, u"機能ON/OFF切替");
  hotkeys_.UnregisterHotKey(window, kPauseHotkeyId);
  if (hotkeys_.RegisterHotKey(window, kPauseHotkeyId, hotkeyModifiers(value), keyOf(value)))
    return true;
  log_.log(diag::kLogEntry, 911, kRegisterLog, u"ホットキー割り当てに失敗");
  shell_.showNewBalloon(texts::kHotkeyNotRegistered.pick(modeJP_), BalloonIcon::Warning);
  return false;
}

bool HotkeyControl::setInsertBlock(bool on) {
  const platform::WindowHandle window = shell_.mainWindow();
  if (on) return hotkeys_.RegisterHotKey(window, kInsertBlockHotkeyId, 0, platform::kVkInsert);
  hotkeys_.UnregisterHotKey(window, kInsertBlockHotkeyId);
  return false;
}

void HotkeyControl::removeInsertBlockAtExit() {
  if (settings_.BlockInsert != 0) {
    log_.log(diag::kLogEntry, 2372, u"キーボードフック解除", u"");
    setInsertBlock(false);
  } else {
    log_.log(diag::kLogEntry, 2376, u"キーボードフック未使用", u"");
  }
}

void HotkeyControl::releasePauseHotkeyAtExit() {
  log_.log(diag::kLogEntry, 2388, u"ホットキーの全解除", u"");
  if (keyOf(settings_.HOTKEY_ENDISTTICON) == 0) return;
  log_.log(diag::kLogEntry, 926, kRegisterLog, u"全登録解除");
  hotkeys_.UnregisterHotKey(shell_.mainWindow(), kPauseHotkeyId);
}

}  // namespace kivora::monitor
