// Loading, saving and copying all of Settings. One table lists every value in
// load order, which is also the save order.

#include <new>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/unicode.h"
#include "settings/device_names.h"
#include "settings/hotkey_rule.h"
#include "settings/settings_store.h"

namespace kivora::settings {

namespace {

constexpr std::size_t kDeviceNamesCapacity = 32768;

enum class LoadRule {
  AsStored,
  Flag,           // any non-zero value becomes 1; saved as 0 or 1
  ClampUnsigned,  // above max (unsigned compare) becomes the replacement
  AtLeast,        // below min (unsigned compare) becomes min
  PauseHotkey,    // sanitizePauseHotkey
};

struct IntField {
  std::int32_t (*get)(const Settings&);
  void (*set)(Settings&, std::int32_t);
};

template <auto Member>
constexpr IntField field() {
  return {[](const Settings& s) { return static_cast<std::int32_t>(s.*Member); },
          [](Settings& s, std::int32_t v) {
            s.*Member = static_cast<std::remove_reference_t<decltype(s.*Member)>>(v);
          }};
}

// A lock setting is read and written as its stored number.
template <KeyStateSetting Settings::*Member>
constexpr IntField keyStateField() {
  return {[](const Settings& s) { return (s.*Member).stored(); },
          [](Settings& s, std::int32_t v) { s.*Member = KeyStateSetting{v}; }};
}

struct IntValue {
  std::u16string_view name;
  IntField field;
  std::int32_t defaultValue;
  LoadRule rule = LoadRule::AsStored;
  std::uint32_t limit = 0;        // ClampUnsigned: max; AtLeast: min
  std::int32_t replacement = 0;   // ClampUnsigned
  bool defaultIsCurrent = false;  // the value in memory is the default
};
struct SoundFileName {};
struct DeviceNames {};
using Entry = std::variant<IntValue, SoundFileName, DeviceNames>;

// Table rows, one helper per load rule.
IntValue asStored(std::u16string_view name, IntField f, std::int32_t def) { return {name, f, def}; }
IntValue flag(std::u16string_view name, IntField f) { return {name, f, 0, LoadRule::Flag}; }
// A flag whose default is the value already in memory.
IntValue stickyFlag(std::u16string_view name, IntField f) {
  return {name, f, 0, LoadRule::Flag, 0, 0, true};
}
// A lock setting beyond the modes its key offers loads as its default.
IntValue keyState(std::u16string_view name, IntField f, KeyStateSetting def, WatchMode highest) {
  return {name,
          f,
          def.stored(),
          LoadRule::ClampUnsigned,
          KeyStateSetting::highestStored(highest),
          def.stored()};
}

constexpr KeyStateSetting kNotWatchedOn{WatchMode::NotWatched, true};
constexpr KeyStateSetting kNotWatchedOff{WatchMode::NotWatched, false};

std::span<const Entry> table() {
  static const Entry entries[] = {
      flag(u"use_script", field<&Settings::use_script>()),
      keyState(u"NumLockState", keyStateField<&Settings::NumLockState>(), kNotWatchedOn,
               WatchMode::WhileDeviceConnected),
      asStored(u"RemoteCheck", field<&Settings::RemoteCheck>(), 0),
      keyState(u"RM_NumLockState", keyStateField<&Settings::RM_NumLockState>(), kNotWatchedOn,
               WatchMode::Once),
      flag(u"NotifyWatchedDevice", field<&Settings::NotifyWatchedDevice>()),
      keyState(u"CapsLockState", keyStateField<&Settings::CapsLockState>(), kNotWatchedOff,
               WatchMode::Once),
      keyState(u"ScrollLockState", keyStateField<&Settings::ScrollLockState>(), kNotWatchedOff,
               WatchMode::Once),
      asStored(u"KBWatchEnabled", field<&Settings::KBWatchEnabled>(), 1),
      asStored(u"PlaySound", field<&Settings::PlaySound>(), 0),
      SoundFileName{},
      asStored(u"EnDisTTIcon", field<&Settings::EnDisTTIcon>(), 1),
      asStored(u"NotifyOnly", field<&Settings::NotifyOnly>(), 0),
      asStored(u"BlockInsert", field<&Settings::BlockInsert>(), 0),
      flag(u"ShowLockedKeyIcon", field<&Settings::ShowLockedKeyIcon>()),
      flag(u"SendTK", field<&Settings::SendTK>()),
      asStored(u"ImeLock", field<&Settings::ImeLock>(), 0),
      IntValue{u"timer3_interval", field<&Settings::timer3_interval>(), 1000, LoadRule::AtLeast,
               100},
      asStored(u"return_waitmsec", field<&Settings::return_waitmsec>(), 0),
      flag(u"NoOpeningDlg", field<&Settings::NoOpeningDlg>()),
      flag(u"NoNotifyScriptSuspend", field<&Settings::NoNotifyScriptSuspend>()),
      IntValue{u"HOTKEY_ENDISTTICON", field<&Settings::HOTKEY_ENDISTTICON>(), 0,
               LoadRule::PauseHotkey},
      stickyFlag(u"BIGDIALOG", field<&Settings::BIGDIALOG>()),
      DeviceNames{},
      stickyFlag(u"NOT_WATCH_DEV_NUMLOCK", field<&Settings::NOT_WATCH_DEV_NUMLOCK>()),
      IntValue{u"InstantCheck", field<&Settings::InstantCheck>(), 1, LoadRule::Flag},
  };
  return entries;
}

std::int32_t applyLoadRule(const IntValue& v, std::int32_t loaded) {
  const auto asUnsigned = static_cast<std::uint32_t>(loaded);
  switch (v.rule) {
    case LoadRule::AsStored:
      return loaded;
    case LoadRule::Flag:
      return loaded != 0 ? 1 : 0;
    case LoadRule::ClampUnsigned:
      return asUnsigned > v.limit ? v.replacement : loaded;
    case LoadRule::AtLeast:
      return asUnsigned < v.limit ? static_cast<std::int32_t>(v.limit) : loaded;
    case LoadRule::PauseHotkey:
      return sanitizePauseHotkey(loaded);
  }
  return loaded;
}

std::vector<std::uint8_t> utf16leBytesWithTerminator(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve((text.size() + 1) * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

// The zero-terminated UTF-16LE text at the start of bytes; the end of the
// bytes ends it too.
std::u16string textFromUtf16le(const std::vector<std::uint8_t>& bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c == u'\0') break;
    text.push_back(c);
  }
  return text;
}

std::u16string loadIniScript(const SettingsStore& store) {
  const auto& where = store.location;
  const auto size = static_cast<std::int32_t>(store.profile.GetPrivateProfileIntW(
      where.iniSection.c_str(), u"kx_script_size", 1, where.iniPath.c_str()));
  if (size <= 2 || static_cast<std::size_t>(size) > kMaxIniScriptBytes) return {};
  try {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size), 0);
    if (!store.profile.GetPrivateProfileStructW(where.iniSection.c_str(), u"kx_script",
                                                bytes.data(), static_cast<std::uint32_t>(size),
                                                where.iniPath.c_str())) {
      return {};
    }
    return textFromUtf16le(bytes);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

void loadScript(Settings& settings, const SettingsStore& store) {
  if (settings.bUseIni) {
    settings.kx_script = loadIniScript(store);
    return;
  }
  REGW reg(store.regw);
  if (!reg.OpenKey(store.location.registryRoot, store.location.registryKey, kOpenReadOnly)) {
    return;  // the text in memory stays
  }
  settings.kx_script = reg.NewReadMultiStringW(u"kx_script").value_or(std::u16string());
  reg.CloseKey();
}

// Failures of the script write are not reported: the script is not a value
// the failure texts name. A script too long for the ini file is: writing it
// would leave a stored script the next start reads as empty, and the save at
// that exit would then replace it with nothing. The stored one stays.
void saveScript(const Settings& settings, const SettingsStore& store, bool modeJP,
                std::u16string& errorText) {
  std::lock_guard lock(settings.ScriptTextLock);
  const auto& where = store.location;
  if (settings.bUseIni) {
    if (settings.kx_script.size() > kMaxIniScriptLength) {
      appendIniWriteFailure(store, u"kx_script", errorText, modeJP);
      return;
    }
    const std::vector<std::uint8_t> bytes = utf16leBytesWithTerminator(settings.kx_script);
    const std::u16string size = utf8ToUtf16(std::to_string(bytes.size()));
    store.profile.WritePrivateProfileStringW(where.iniSection.c_str(), u"kx_script_size",
                                             size.c_str(), where.iniPath.c_str());
    store.profile.WritePrivateProfileStructW(where.iniSection.c_str(), u"kx_script", bytes.data(),
                                             static_cast<std::uint32_t>(bytes.size()),
                                             where.iniPath.c_str());
    return;
  }
  REGW reg(store.regw);
  if (!reg.OpenKey(where.registryRoot, where.registryKey, kOpenCreate)) return;
  reg.WriteStringW(u"kx_script", settings.kx_script, StringWriteKind::Sz);
  reg.CloseKey();
}

void loadEntry(Settings& settings, const SettingsStore& store, const Entry& entry) {
  const bool ini = settings.bUseIni;
  if (const auto* v = std::get_if<IntValue>(&entry)) {
    const std::int32_t fallback = v->defaultIsCurrent ? v->field.get(settings) : v->defaultValue;
    v->field.set(settings, applyLoadRule(*v, ReadSettingInt(store, ini, v->name, fallback)));
  } else if (std::holds_alternative<SoundFileName>(entry)) {
    ReadSettingString(store, ini, u"PlaySoundFileName", u"", settings.PlaySoundFileName,
                      kPathCapacity);
  } else {
    std::u16string stored;
    ReadSettingString(store, ini, u"WatchKeyboardDeviceNames", u"", stored, kDeviceNamesCapacity);
    appendDeviceNames(stored, settings.watchedKeyboards);
  }
}

void saveEntry(const Settings& settings, const SettingsStore& store, const Entry& entry,
               bool modeJP, std::u16string& errorText) {
  const bool ini = settings.bUseIni;
  if (const auto* v = std::get_if<IntValue>(&entry)) {
    std::int32_t value = v->field.get(settings);
    if (v->rule == LoadRule::Flag) value = value != 0 ? 1 : 0;
    WriteSettingInt(store, ini, v->name, value, errorText, modeJP);
  } else if (std::holds_alternative<SoundFileName>(entry)) {
    WriteSettingString(store, ini, u"PlaySoundFileName", settings.PlaySoundFileName, errorText,
                       modeJP);
  } else {
    WriteSettingString(store, ini, u"WatchKeyboardDeviceNames",
                       joinDeviceNames(settings.watchedKeyboards), errorText, modeJP);
  }
}

}  // namespace

void LoadSettings(Settings& settings, const SettingsStore& store) {
  if (settings.bUseIni) EnsureIniFile(store);
  loadScript(settings, store);
  for (const Entry& entry : table()) loadEntry(settings, store, entry);
}

bool SaveSettings(const Settings& settings, const SettingsStore& store, bool modeJP,
                  SaveHooks& hooks, std::u16string* saveErrorText) {
  std::u16string SaveErrorText;
  if (settings.bUseIni) EnsureIniFile(store);
  saveScript(settings, store, modeJP, SaveErrorText);
  for (const Entry& entry : table()) saveEntry(settings, store, entry, modeJP, SaveErrorText);
  if (!SaveErrorText.empty()) hooks.showSaveWarning(SaveErrorText);
  hooks.registerPauseHotkey();
  const bool saved = SaveErrorText.empty();
  if (saveErrorText) *saveErrorText = std::move(SaveErrorText);
  return saved;
}

bool copyIniToRegistry(Settings& settings, const SettingsStore& store, bool modeJP,
                       SaveHooks& hooks) {
  settings.bUseIni = true;
  LoadSettings(settings, store);
  settings.bUseIni = false;
  return SaveSettings(settings, store, modeJP, hooks);
}

bool copyRegistryToIni(Settings& settings, const SettingsStore& store, bool modeJP,
                       SaveHooks& hooks) {
  settings.bUseIni = false;
  LoadSettings(settings, store);
  settings.bUseIni = true;
  EnsureIniFile(store);
  return SaveSettings(settings, store, modeJP, hooks);
}

}  // namespace kivora::settings
