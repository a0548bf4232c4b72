#include "unit/settings/store_environment.h"

#include <string>

#include "platform/unicode.h"

namespace kivora::test {

using namespace platform;

std::vector<std::uint8_t> utf16le(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

std::vector<std::uint8_t> multiSz(const std::vector<std::u16string>& strings) {
  std::vector<std::uint8_t> bytes;
  for (const auto& s : strings) {
    const auto text = utf16le(s);
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.insert(bytes.end(), {0, 0});
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

std::vector<std::uint8_t> le32(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

void StoreTest::putValue(const std::u16string& name, std::uint32_t type,
                         const std::vector<std::uint8_t>& data) {
  RegKey key{};
  ASSERT_EQ(env->registry().RegCreateKeyExW(root(), keyPath().c_str(), kRegOptionNonVolatile,
                                            kKeyAllAccess, &key, nullptr),
            kErrorSuccess);
  EXPECT_EQ(env->registry().RegSetValueExW(key, name.c_str(), type, data.data(),
                                           static_cast<std::uint32_t>(data.size())),
            kErrorSuccess);
  env->registry().RegCloseKey(key);
}

void StoreTest::putDword(const std::u16string& name, std::uint32_t value) {
  putValue(name, kRegDword, le32(value));
}

void StoreTest::putText(const std::u16string& name, std::u16string_view text, std::uint32_t type) {
  auto bytes = utf16le(text);
  bytes.push_back(0);
  bytes.push_back(0);
  putValue(name, type, bytes);
}

std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> StoreTest::getValue(
    const std::u16string& name) {
  RegKey key{};
  if (env->registry().RegOpenKeyExW(root(), keyPath().c_str(), 0, kKeyRead, &key) !=
      kErrorSuccess) {
    return std::nullopt;
  }
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  std::optional<std::pair<std::uint32_t, std::vector<std::uint8_t>>> result;
  if (env->registry().RegQueryValueExW(key, name.c_str(), &type, nullptr, &size) == kErrorSuccess) {
    std::vector<std::uint8_t> data(size + 1);
    if (env->registry().RegQueryValueExW(key, name.c_str(), &type, data.data(), &size) ==
        kErrorSuccess) {
      data.resize(size);
      result.emplace(type, std::move(data));
    }
  }
  env->registry().RegCloseKey(key);
  return result;
}

std::optional<std::u16string> StoreTest::iniValue(const std::u16string& key) {
  const auto where = env->location();
  char16_t buffer[4096];
  env->profile().GetPrivateProfileStringW(where.iniSection.c_str(), key.c_str(), u"--absent--",
                                          buffer, 4096, where.iniPath.c_str());
  if (std::u16string_view(buffer) == u"--absent--") return std::nullopt;
  return std::u16string(buffer);
}

void StoreTest::putIni(const std::u16string& key, const std::u16string& value) {
  const auto where = env->location();
  ASSERT_TRUE(env->profile().WritePrivateProfileStringW(where.iniSection.c_str(), key.c_str(),
                                                        value.c_str(), where.iniPath.c_str()));
}

void SettingsPersistence::load(settings::Settings& s, bool ini) {
  s.bUseIni = ini;
  settings::LoadSettings(s, store());
}

void SettingsPersistence::stored(bool ini, const std::u16string& name, std::int32_t value) {
  if (ini) {
    settings::EnsureIniFile(store());
    putIni(name, utf8ToUtf16(std::to_string(value)));
  } else {
    putDword(name, static_cast<std::uint32_t>(value));
  }
}

std::vector<std::u16string> SoundFileHistoryStore::loadedHistory(bool ini) {
  settings::ComboboxQueue queue(store(), kHistoryName);
  queue.load(ini);
  return queue.entries();
}

void SoundFileHistoryStore::putHistoryIni(const std::u16string& key, const std::u16string& value) {
  settings::EnsureIniFile(store());
  ASSERT_TRUE(env->profile().WritePrivateProfileStringW(kHistoryName, key.c_str(), value.c_str(),
                                                        ini().c_str()));
}

std::optional<std::u16string> SoundFileHistoryStore::historyIni(const std::u16string& key) {
  char16_t buffer[1100];
  env->profile().GetPrivateProfileStringW(kHistoryName, key.c_str(), u"--absent--", buffer, 1100,
                                          ini().c_str());
  if (std::u16string_view(buffer) == u"--absent--") return std::nullopt;
  return std::u16string(buffer);
}

}  // namespace kivora::test
