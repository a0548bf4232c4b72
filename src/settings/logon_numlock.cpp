#include "settings/logon_numlock.h"

namespace kivora::settings {

namespace {

constexpr std::u16string_view kKeyboardKey = u".DEFAULT\\Control Panel\\Keyboard";
constexpr std::u16string_view kIndicators = u"InitialKeyboardIndicators";
constexpr std::u16string_view kNumLockOn = u"2";
constexpr std::u16string_view kNumLockOff = u"0";

}  // namespace

LogonNumLock readLogonNumLock(RegwContext& regw) {
  LogonNumLock state;
  REGW reading(regw);
  if (reading.OpenKey(platform::kHkeyUsers, kKeyboardKey, kOpenReadOnly)) {
    const auto value = reading.NewReadStringW(kIndicators, kNumLockOff);
    state.on = value && *value == kNumLockOn;
    reading.CloseKey();
  }
  REGW writing(regw);
  if (writing.OpenKey(platform::kHkeyUsers, kKeyboardKey, 0)) {
    state.writable = true;
    writing.CloseKey();
  }
  return state;
}

bool writeLogonNumLock(RegwContext& regw, bool on) {
  REGW key(regw);
  if (!key.OpenKey(platform::kHkeyUsers, kKeyboardKey, kOpenCreate)) return false;
  const bool written =
      key.WriteStringW(kIndicators, on ? kNumLockOn : kNumLockOff, StringWriteKind::KeepType);
  key.CloseKey();
  return written;
}

}  // namespace kivora::settings
