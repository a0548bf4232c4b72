#include "settings/regw.h"
#include "fakes/fake_registry.h"
#include "unit/settings/store_environment.h"

namespace kivora::test {
namespace {

using namespace platform;
using settings::kOpenCreate;
using settings::kOpenReadOnly;
using settings::REGW;
using settings::StringWriteKind;

constexpr std::u16string_view kJapaneseSecondLine =
    u"\nこのメッセージが表示されたら、現在編集している/していたダイアログの名前を、"
    u"メッセージの内容と共に正確に作者まで報告して下さい。";

TEST_P(RegwStore, RootNamesAndPrefixes) {
  putDword(u"Probe", 5);
  REGW reg(*regw);
  EXPECT_TRUE(reg.OpenKey(std::nullopt, u"HKCU", kOpenReadOnly));
  EXPECT_TRUE(reg.CloseKey());
  EXPECT_TRUE(reg.OpenKey(std::nullopt, u"hkey_current_user", kOpenReadOnly));
  EXPECT_TRUE(reg.CloseKey());
  EXPECT_TRUE(reg.OpenKey(std::nullopt, u"HKCU\\" + keyPath(), kOpenReadOnly));
  EXPECT_EQ(reg.ReadIntegerW(u"Probe", -1), 5);
  EXPECT_TRUE(reg.CloseKey());
  EXPECT_TRUE(reg.OpenKey(std::nullopt, u"HKEY_CURRENT_USER\\" + keyPath(), kOpenReadOnly));
  EXPECT_TRUE(reg.CloseKey());
  EXPECT_FALSE(reg.OpenKey(std::nullopt, u"hkcu\\" + keyPath(),
                           kOpenReadOnly));  // prefixes are case-sensitive
  EXPECT_FALSE(reg.OpenKey(std::nullopt, u"HKU\\Software", kOpenReadOnly));  // no such short name
  EXPECT_FALSE(reg.OpenKey(root(), keyPath() + u"\\Missing", kOpenReadOnly));
  EXPECT_TRUE(reg.OpenKey(root(), keyPath() + u"\\Made", kOpenCreate));
  EXPECT_TRUE(reg.CloseKey());
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(settings::rootByName(u"HKPN"), kHkeyPerformanceNlsText);
  EXPECT_EQ(settings::rootByName(u"HKU"), std::nullopt);
}

TEST_P(RegwStore, MisuseWarnsInEnglishAndJapaneseAndReturnsTheFailureResult) {
  putText(u"Name", u"value");
  {
    REGW reg(*regw);
    ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenReadOnly));
    ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenReadOnly));  // closes the first, warns, opens
    EXPECT_EQ(reg.ValueExistW(u"Name"), 12);
    EXPECT_TRUE(reg.CloseKey());
    EXPECT_FALSE(reg.CloseKey());
    std::u16string buffer = u"stale";
    EXPECT_EQ(reg.ValueExistW(u"Name"), -1);
    EXPECT_EQ(reg.ValueTypeW(u"Name"), -1);
    EXPECT_FALSE(reg.ReadStringW(u"Name", buffer, 10));
    EXPECT_EQ(buffer, u"");
    EXPECT_EQ(reg.ReadIntegerW(u"Name", 42), 42);
    EXPECT_FALSE(reg.WriteStringW(u"Name", u"x", StringWriteKind::Sz));
    EXPECT_FALSE(reg.WriteIntegerW(u"Name", 1));
    EXPECT_FALSE(reg.DeleteValue(u"Name"));
    EXPECT_EQ(reg.NewReadStringW(u"Name", u"dflt"), u"dflt");
    buffer = u"stale";
    EXPECT_FALSE(reg.ReadMultiStringW(u"Name", buffer, 10));
    EXPECT_EQ(buffer, u"");
    EXPECT_EQ(reg.NewReadMultiStringW(u"Name"), std::nullopt);
    regw->RegwJapanese = true;
    EXPECT_EQ(reg.NewReadStringW(u"Name", std::nullopt), std::nullopt);
    ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenReadOnly));
  }  // destroyed while open
  const std::vector<std::pair<std::u16string, std::u16string>> expected{
      {u"An error has occurred in REGW::OpenKey().", u"Registory Class"},
      {u"An error has occurred in REGW::CloseKey().", u"Registory Class"},
      {u"An error has occurred in ValueExistW.", u"Registory Class"},
      {u"An error has occurred in ValueTypeW.", u"Registory Class"},
      {u"An error has occurred in ReadStringW.", u"Registory Class"},
      {u"An error has occurred in ReadIntegerW.", u"Registory Class"},
      {u"An error has occurred in WriteStringW.", u"Registory Class"},
      {u"An error has occurred in WriteIntegerW.", u"Registory Class"},
      {u"An error has occurred in REGW::DeleteValue().", u"Registory Class"},
      {u"An error has occurred in (new)ReadString.", u"Registory Class"},
      {u"An error has occurred in ReadMultiStringW.", u"Registry Class"},
      {u"An error has occurred in (new)ReadMultiStringW.", u"Registry Class"},
      {u"開かれていないキーを対象に (new)RegReadStringW が行われようとしたので保護します。" +
           std::u16string(kJapaneseSecondLine),
       u"Registory Class"},
      {u"レジストリを自動クローズしました。" + std::u16string(kJapaneseSecondLine),
       u"Registory Class"},
  };
  EXPECT_EQ(warnings, expected);
  warnings.clear();
  REGW reg(*regw);
  ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenReadOnly));
  ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenReadOnly));
  ASSERT_TRUE(reg.CloseKey());
  reg.CloseKey();
  std::u16string buffer;
  reg.ReadMultiStringW(u"Name", buffer, 4);
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_EQ(warnings[0].first,
            u"レジストリキーを多重オープンしようとしたので保護しました(REGW::OpenKey())。" +
                std::u16string(kJapaneseSecondLine));
  EXPECT_EQ(warnings[1].first,
            u"レジストリを多重クローズしようとしたので保護しました(REGW::CloseKey)。" +
                std::u16string(kJapaneseSecondLine));
  EXPECT_EQ(warnings[2],
            std::make_pair(
                u"開かれていないキーを対象に ReadMultiStringW が行われようとしたので保護します。" +
                    std::u16string(kJapaneseSecondLine),
                std::u16string(u"Registry Class")));
  if (auto* fake = env->fakeRegistry()) {
    EXPECT_EQ(fake->openHandleCount(), 0u);
  }
}

TEST_P(RegwStore, ReadIntegerConvertsEveryValueType) {
  putText(u"Sz", u"123");
  putText(u"Plus", u"+7");
  putText(u"Minus", u"-");
  putText(u"Bad", u"12a");
  putText(u"Empty", u"");
  putText(u"Expand", u"-45", kRegExpandSz);
  putValue(u"Qword", kRegQword, {2, 0, 0, 0, 1, 0, 0, 0});
  putValue(u"Big", kRegDwordBigEndian, {0, 0, 1, 0});
  putValue(u"Short", kRegBinary, {1, 2});
  putValue(u"None", kRegNone, {1, 0, 0, 0});
  putDword(u"Dword", 0xFFFFFFFE);
  REGW reg(*regw);
  ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenReadOnly));
  EXPECT_EQ(reg.ReadIntegerW(u"Sz", 9), 123);
  EXPECT_EQ(reg.ReadIntegerW(u"Plus", 9), 7);
  EXPECT_EQ(reg.ReadIntegerW(u"Minus", 9), 0);
  EXPECT_EQ(reg.ReadIntegerW(u"Bad", 9), 9);
  EXPECT_EQ(reg.ReadIntegerW(u"Empty", 9), 9);
  EXPECT_EQ(reg.ReadIntegerW(u"Expand", 9), -45);
  EXPECT_EQ(reg.ReadIntegerW(u"Qword", 9), 2);
  EXPECT_EQ(reg.ReadIntegerW(u"Big", 9), 256);
  EXPECT_EQ(reg.ReadIntegerW(u"Short", 9), 0x0201);
  EXPECT_EQ(reg.ReadIntegerW(u"None", 9), 9);
  EXPECT_EQ(reg.ReadIntegerW(u"Dword", 9), -2);
  EXPECT_EQ(reg.ReadIntegerW(u"Missing", 9), 9);
  EXPECT_EQ(reg.ValueTypeW(u"Big"), static_cast<std::int32_t>(kRegDwordBigEndian));
  EXPECT_EQ(reg.ValueTypeW(u"Missing"), 0);
  reg.CloseKey();
}

TEST_P(RegwStore, WriteStringPicksTheTypeByKind) {
  putText(u"WasExpand", u"%X%", kRegExpandSz);
  REGW reg(*regw);
  ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenCreate));
  EXPECT_TRUE(reg.WriteStringW(u"TwoPercent", u"%A%", StringWriteKind::ExpandIfTwoPercent));
  EXPECT_TRUE(reg.WriteStringW(u"OnePercent", u"100%", StringWriteKind::ExpandIfTwoPercent));
  EXPECT_TRUE(reg.WriteStringW(u"WasExpand", u"plain", StringWriteKind::KeepType));
  EXPECT_TRUE(reg.WriteStringW(u"New", u"plain", StringWriteKind::KeepType));
  EXPECT_TRUE(reg.WriteStringW(u"Forced", u"plain", StringWriteKind::ExpandSz));
  EXPECT_TRUE(reg.WriteIntegerW(u"Int", -3));
  EXPECT_TRUE(reg.DeleteValue(u"Int"));
  EXPECT_FALSE(reg.DeleteValue(u"Int"));
  reg.CloseKey();
  EXPECT_EQ(getValue(u"TwoPercent")->first, kRegExpandSz);
  EXPECT_EQ(getValue(u"OnePercent")->first, kRegSz);
  EXPECT_EQ(getValue(u"WasExpand")->first, kRegExpandSz);
  EXPECT_EQ(getValue(u"New")->first, kRegSz);
  EXPECT_EQ(getValue(u"Forced")->first, kRegExpandSz);
  auto data = utf16le(u"plain");
  data.insert(data.end(), {0, 0});
  EXPECT_EQ(getValue(u"New")->second, data);  // the terminator is stored
}

TEST_P(RegwStore, StringReadsCutAndTerminateWithinTheBuffer) {
  putText(u"Long", u"abcdefghij");
  putValue(u"EmptyData", kRegSz, {});
  REGW reg(*regw);
  ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenReadOnly));
  std::u16string buffer;
  EXPECT_TRUE(reg.ReadStringW(u"Long", buffer, 4));
  EXPECT_EQ(buffer, u"abc");
  EXPECT_TRUE(reg.ReadStringW(u"Long", buffer, 11));
  EXPECT_EQ(buffer, u"abcdefghij");
  buffer = u"stale";
  EXPECT_FALSE(reg.ReadStringW(u"Missing", buffer, 8));
  EXPECT_EQ(buffer, u"");
  std::size_t count = 0;
  EXPECT_EQ(reg.NewReadStringW(u"Long", std::nullopt, &count), u"abcdefghij");
  EXPECT_EQ(count, 12u);
  EXPECT_EQ(reg.NewReadStringW(u"EmptyData", u"dflt", &count), u"dflt");
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(reg.NewReadStringW(u"Missing", std::nullopt), std::nullopt);
  reg.CloseKey();
}

TEST_P(RegwStore, MultiStringsBecomeCrLfSeparatedText) {
  putValue(u"Multi", kRegMultiSz, utf16le(std::u16string(u"x\0yy\0\0", 6)));
  putValue(u"Unclosed", kRegMultiSz, utf16le(std::u16string(u"a\0b\0", 4)));
  putText(u"Single", u"abc");
  putDword(u"Number", 1);
  REGW reg(*regw);
  ASSERT_TRUE(reg.OpenKey(root(), keyPath(), kOpenReadOnly));
  std::u16string buffer;
  EXPECT_TRUE(reg.ReadMultiStringW(u"Multi", buffer, 8));
  EXPECT_EQ(buffer, u"x\r\nyy\r\n");
  EXPECT_FALSE(reg.ReadMultiStringW(u"Multi", buffer, 4));
  EXPECT_EQ(buffer, u"");
  EXPECT_TRUE(reg.ReadMultiStringW(u"Single", buffer, 4));
  EXPECT_EQ(buffer, u"abc");
  EXPECT_FALSE(reg.ReadMultiStringW(u"Single", buffer, 3));
  EXPECT_FALSE(reg.ReadMultiStringW(u"Number", buffer, 8));
  EXPECT_FALSE(reg.ReadMultiStringW(u"Multi", buffer, 0));
  EXPECT_EQ(reg.NewReadMultiStringW(u"Multi"), u"x\r\nyy\r\n");
  EXPECT_EQ(reg.NewReadMultiStringW(u"Unclosed"), u"a\r\nb\r\n");
  EXPECT_EQ(reg.NewReadMultiStringW(u"Single"), u"abc");
  EXPECT_EQ(reg.NewReadMultiStringW(u"Number"), std::nullopt);
  EXPECT_EQ(reg.NewReadMultiStringW(u"Missing"), std::nullopt);
  reg.CloseKey();
}

}  // namespace
}  // namespace kivora::test
