#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/unicode.h"
#include "settings/texts.h"

namespace kivora::settings {

namespace {

void appendFailure(std::u16string& errorText, const std::u16string& failure) {
  if (!errorText.empty()) errorText += kSaveErrorSeparator;
  errorText += failure;
}

std::u16string iniWriteFailure(const StoreLocation& where, std::u16string_view name, bool modeJP) {
  return fillIn(texts::kIniWriteFailure.pick(modeJP), {where.iniPath, where.iniSection, name});
}

std::u16string keyOpenFailure(const StoreLocation& where, bool modeJP) {
  return fillIn(texts::kKeyOpenFailure.pick(modeJP), {where.registryRootName, where.registryKey});
}

std::u16string valueWriteFailure(const StoreLocation& where, std::u16string_view name,
                                 bool modeJP) {
  return fillIn(texts::kValueWriteFailure.pick(modeJP),
                {where.registryRootName, where.registryKey, name});
}

bool openSettingsKey(REGW& reg, const StoreLocation& where, unsigned flags) {
  return reg.OpenKey(where.registryRoot, where.registryKey, flags);
}

// Writes one value in registry mode; value writes what is to be written.
template <typename WriteValue>
bool writeRegistryValue(const SettingsStore& store, std::u16string_view name,
                        std::u16string& errorText, bool modeJP, WriteValue value) {
  REGW reg(store.regw);
  if (!openSettingsKey(reg, store.location, kOpenCreate)) {
    appendFailure(errorText, keyOpenFailure(store.location, modeJP));
    return false;
  }
  const bool written = value(reg);
  reg.CloseKey();
  if (!written) appendFailure(errorText, valueWriteFailure(store.location, name, modeJP));
  return written;
}

bool writeIniValue(const SettingsStore& store, std::u16string_view name, const char16_t* text,
                   std::u16string& errorText, bool modeJP) {
  const std::u16string n(name);
  const bool written = store.profile.WritePrivateProfileStringW(
      store.location.iniSection.c_str(), n.c_str(), text, store.location.iniPath.c_str());
  if (!written) appendFailure(errorText, iniWriteFailure(store.location, name, modeJP));
  return written;
}

}  // namespace

void appendIniWriteFailure(const SettingsStore& store, std::u16string_view name,
                           std::u16string& errorText, bool modeJP) {
  appendFailure(errorText, iniWriteFailure(store.location, name, modeJP));
}

bool EnsureIniFile(const SettingsStore& store) {
  static constexpr std::array<std::uint8_t, 6> kEmptyUtf16File{0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00};
  if (store.files.canOpenForReading(store.location.iniPath)) return true;
  return store.files.createFile(store.location.iniPath, kEmptyUtf16File);
}

std::int32_t ReadSettingInt(const SettingsStore& store, bool useIni, std::u16string_view name,
                            std::int32_t defaultValue) {
  const std::u16string n(name);
  if (useIni) {
    return static_cast<std::int32_t>(
        store.profile.GetPrivateProfileIntW(store.location.iniSection.c_str(), n.c_str(),
                                            defaultValue, store.location.iniPath.c_str()));
  }
  REGW reg(store.regw);
  if (!openSettingsKey(reg, store.location, kOpenReadOnly)) return defaultValue;
  const std::int32_t value = reg.ReadIntegerW(n, defaultValue);
  reg.CloseKey();
  return value;
}

std::uint32_t ReadSettingString(const SettingsStore& store, bool useIni, std::u16string_view name,
                                std::u16string_view defaultText, std::u16string& text,
                                std::size_t capacity) {
  const std::u16string n(name);
  if (useIni) {
    text.clear();
    if (capacity == 0) return 0;
    std::vector<char16_t> buffer(capacity, u'\0');
    const std::u16string fallback(defaultText);
    const std::uint32_t copied = store.profile.GetPrivateProfileStringW(
        store.location.iniSection.c_str(), n.c_str(), fallback.c_str(), buffer.data(),
        static_cast<std::uint32_t>(capacity), store.location.iniPath.c_str());
    text.assign(buffer.data(), std::min<std::size_t>(copied, capacity - 1));
    return copied;
  }
  text = defaultText.substr(0, capacity == 0 ? 0 : capacity - 1);
  REGW reg(store.regw);
  if (!openSettingsKey(reg, store.location, kOpenReadOnly)) return 0;
  const bool read = reg.ReadStringW(n, text, capacity);
  reg.CloseKey();
  return read ? 1 : 0;
}

bool WriteSettingInt(const SettingsStore& store, bool useIni, std::u16string_view name,
                     std::int32_t value, std::u16string& errorText, bool modeJP) {
  if (useIni) {
    const std::u16string decimal = utf8ToUtf16(std::to_string(value));
    return writeIniValue(store, name, decimal.c_str(), errorText, modeJP);
  }
  return writeRegistryValue(store, name, errorText, modeJP,
                            [&](REGW& reg) { return reg.WriteIntegerW(name, value); });
}

bool WriteSettingString(const SettingsStore& store, bool useIni, std::u16string_view name,
                        std::optional<std::u16string_view> text, std::u16string& errorText,
                        bool modeJP) {
  if (useIni) {
    if (!text) return writeIniValue(store, name, nullptr, errorText, modeJP);
    const std::u16string value(*text);
    return writeIniValue(store, name, value.c_str(), errorText, modeJP);
  }
  return writeRegistryValue(store, name, errorText, modeJP, [&](REGW& reg) {
    return reg.WriteStringW(name, text.value_or(u""), StringWriteKind::Sz);
  });
}

bool SettingsExist(const SettingsStore& store, bool useIni) {
  constexpr std::int32_t kAbsent = 9999;
  if (useIni) return ReadSettingInt(store, true, u"NumLockState", kAbsent) != kAbsent;
  REGW reg(store.regw);
  if (!openSettingsKey(reg, store.location, kOpenReadOnly)) return false;
  reg.CloseKey();
  return true;
}

}  // namespace kivora::settings
