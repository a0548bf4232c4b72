// The platform's registry and profile functions as Kivora relies on them; the
// fakes must answer exactly as the real ones do under Wine.

#include "unit/settings/store_environment.h"

namespace kivora::test {
namespace {

using namespace platform;

TEST_P(RegistryConformance, KeysAreFoundCreatedAndOpenedAgain) {
  auto& reg = env->registry();
  RegKey key{};
  EXPECT_EQ(reg.RegOpenKeyExW(root(), keyPath().c_str(), 0, kKeyRead, &key), kErrorFileNotFound);
  std::uint32_t disposition = 0;
  ASSERT_EQ(reg.RegCreateKeyExW(root(), keyPath().c_str(), kRegOptionNonVolatile, kKeyAllAccess,
                                &key, &disposition),
            kErrorSuccess);
  EXPECT_EQ(disposition, kRegCreatedNewKey);
  EXPECT_EQ(reg.RegCloseKey(key), kErrorSuccess);
  ASSERT_EQ(reg.RegCreateKeyExW(root(), keyPath().c_str(), kRegOptionNonVolatile, kKeyAllAccess,
                                &key, &disposition),
            kErrorSuccess);
  EXPECT_EQ(disposition, kRegOpenedExistingKey);
  EXPECT_EQ(reg.RegCloseKey(key), kErrorSuccess);
  EXPECT_EQ(reg.RegCloseKey(kHkeyCurrentUser), kErrorSuccess);  // predefined roots close quietly
}

TEST_P(RegistryConformance, QueriesReportSizeMissingValuesAndDataTooLargeForTheBuffer) {
  putText(u"Text", u"abcdef");
  auto& reg = env->registry();
  RegKey key{};
  ASSERT_EQ(reg.RegOpenKeyExW(root(), keyPath().c_str(), 0, kKeyRead, &key), kErrorSuccess);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(reg.RegQueryValueExW(key, u"TEXT", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 14u);
  std::uint8_t small[4] = {9, 9, 9, 9};
  size = sizeof small;
  EXPECT_EQ(reg.RegQueryValueExW(key, u"Text", &type, small, &size), kErrorMoreData);
  EXPECT_EQ(size, 14u);
  EXPECT_EQ(small[0], 9);  // nothing copied
  EXPECT_EQ(reg.RegQueryValueExW(key, u"Missing", &type, nullptr, &size), kErrorFileNotFound);
  // A read-only handle refuses changes.
  const auto four = le32(4);
  EXPECT_EQ(reg.RegSetValueExW(key, u"New", kRegDword, four.data(), 4), kErrorAccessDenied);
  EXPECT_EQ(reg.RegDeleteValueW(key, u"Text"), kErrorAccessDenied);
  reg.RegCloseKey(key);
  ASSERT_EQ(reg.RegOpenKeyExW(root(), keyPath().c_str(), 0, kKeyAllAccess, &key), kErrorSuccess);
  EXPECT_EQ(reg.RegDeleteValueW(key, u"Text"), kErrorSuccess);
  EXPECT_EQ(reg.RegDeleteValueW(key, u"Text"), kErrorFileNotFound);
  reg.RegCloseKey(key);
}

TEST_P(ProfileConformance, StructsRoundTripInHexWithChecksumAndRejectWrongLengthOrSum) {
  ASSERT_TRUE(env->files().createFile(
      ini(), std::vector<std::uint8_t>{0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00}));
  const std::uint8_t bytes[3] = {0x01, 0x02, 0xFF};
  auto& profile = env->profile();
  const std::u16string path = ini();
  ASSERT_TRUE(profile.WritePrivateProfileStructW(u"Kivora", u"S", bytes, 3, path.c_str()));
  EXPECT_EQ(iniValue(u"S"), u"0102FF02");  // 0x01 + 0x02 + 0xFF = 0x102
  std::uint8_t back[4] = {};
  EXPECT_TRUE(profile.GetPrivateProfileStructW(u"Kivora", u"S", back, 3, path.c_str()));
  EXPECT_EQ(std::vector<std::uint8_t>(back, back + 3), std::vector<std::uint8_t>(bytes, bytes + 3));
  EXPECT_FALSE(profile.GetPrivateProfileStructW(u"Kivora", u"S", back, 2, path.c_str()));
  EXPECT_FALSE(profile.GetPrivateProfileStructW(u"Kivora", u"S", back, 4, path.c_str()));
  putIni(u"S", u"0102FF03");
  EXPECT_FALSE(profile.GetPrivateProfileStructW(u"Kivora", u"S", back, 3, path.c_str()));
  putIni(u"S", u"0102FG02");
  EXPECT_FALSE(profile.GetPrivateProfileStructW(u"Kivora", u"S", back, 3, path.c_str()));
  EXPECT_FALSE(profile.GetPrivateProfileStructW(u"Kivora", u"Missing", back, 3, path.c_str()));
}

TEST_P(ProfileConformance, StringsIntegersDefaultsAndDeletion) {
  ASSERT_TRUE(env->files().createFile(
      ini(), std::vector<std::uint8_t>{0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00}));
  auto& profile = env->profile();
  const std::u16string path = ini();
  const char16_t* file = path.c_str();
  putIni(u"Neg", u"-5");
  putIni(u"Mixed", u"12abc");
  putIni(u"Empty", u"");
  putIni(u"Quoted", u"\"q\"");
  putIni(u"Long", u"abcdef");
  putIni(u"日本語", u"値");
  EXPECT_EQ(static_cast<std::int32_t>(profile.GetPrivateProfileIntW(u"Kivora", u"Neg", 7, file)),
            -5);
  EXPECT_EQ(profile.GetPrivateProfileIntW(u"kivora", u"MIXED", 7, file), 12u);
  EXPECT_EQ(profile.GetPrivateProfileIntW(u"Kivora", u"Empty", 7, file), 7u);
  EXPECT_EQ(profile.GetPrivateProfileIntW(u"Kivora", u"Missing", 9999, file), 9999u);
  char16_t buffer[16];
  EXPECT_EQ(profile.GetPrivateProfileStringW(u"Kivora", u"Quoted", u"", buffer, 16, file), 1u);
  EXPECT_EQ(std::u16string(buffer), u"q");
  EXPECT_EQ(profile.GetPrivateProfileStringW(u"Kivora", u"Long", u"", buffer, 4, file), 3u);
  EXPECT_EQ(std::u16string(buffer), u"abc");
  EXPECT_EQ(profile.GetPrivateProfileStringW(u"Kivora", u"Missing", u"--def--  ", buffer, 16, file),
            7u);
  EXPECT_EQ(std::u16string(buffer), u"--def--");
  EXPECT_EQ(iniValue(u"日本語"), u"値");
  // The file stays UTF-16 because it started with the byte-order mark.
  const auto bytes = env->fileBytes(path);
  ASSERT_TRUE(bytes && bytes->size() > 2);
  EXPECT_EQ((*bytes)[0], 0xFF);
  EXPECT_EQ((*bytes)[1], 0xFE);

  EXPECT_TRUE(profile.WritePrivateProfileStringW(u"Kivora", u"Neg", nullptr, file));
  EXPECT_EQ(iniValue(u"Neg"), std::nullopt);
  EXPECT_EQ(iniValue(u"Mixed"), u"12abc");
  EXPECT_TRUE(profile.WritePrivateProfileStringW(u"Kivora", nullptr, nullptr, file));
  EXPECT_EQ(iniValue(u"Mixed"), std::nullopt);

  env->writeProtect(path);
  EXPECT_FALSE(profile.WritePrivateProfileStringW(u"Kivora", u"A", u"1", file));
}

TEST_P(ProfileConformance, ASectionComesWholeAsKeyEqualsValueLines) {
  ASSERT_TRUE(env->files().createFile(
      ini(), std::vector<std::uint8_t>{0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00}));
  auto& profile = env->profile();
  const std::u16string path = ini();
  putIni(u"A", u"1");
  putIni(u"Quoted", u"\"q\"");
  putIni(u"Empty", u"");
  const std::u16string lines(u"A=1\0Quoted=\"q\"\0Empty=\0", 22);
  char16_t buffer[64];
  EXPECT_EQ(profile.GetPrivateProfileSectionW(u"kivora", buffer, 64, path.c_str()), lines.size());
  EXPECT_EQ(std::u16string(buffer, lines.size() + 1), lines + u'\0');
  // Too small a buffer: cut, still ending in two zeros.
  EXPECT_EQ(profile.GetPrivateProfileSectionW(u"Kivora", buffer, 8, path.c_str()), 6u);
  EXPECT_EQ(buffer[6], u'\0');
  EXPECT_EQ(buffer[7], u'\0');
  EXPECT_EQ(profile.GetPrivateProfileSectionW(u"Missing", buffer, 64, path.c_str()), 0u);
}

}  // namespace
}  // namespace kivora::test
