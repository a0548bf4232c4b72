// The system's logon NumLock value, over the fake registry.

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "settings/logon_numlock.h"

namespace kivora::test {
namespace {

using namespace settings;

constexpr char16_t kKeyboard[] = u".DEFAULT\\Control Panel\\Keyboard";

class LogonNumLockTest : public testing::Test {
 protected:
  void put(const std::u16string& text, std::uint32_t type = platform::kRegSz) {
    REGW key(regw);
    ASSERT_TRUE(key.OpenKey(platform::kHkeyUsers, kKeyboard, kOpenCreate));
    ASSERT_TRUE(key.WriteStringW(
        u"InitialKeyboardIndicators", text,
        type == platform::kRegExpandSz ? StringWriteKind::ExpandSz : StringWriteKind::Sz));
    key.CloseKey();
  }
  std::pair<std::u16string, std::int32_t> stored() {
    REGW key(regw);
    EXPECT_TRUE(key.OpenKey(platform::kHkeyUsers, kKeyboard, kOpenReadOnly));
    std::u16string text;
    key.ReadStringW(u"InitialKeyboardIndicators", text, 16);
    const std::int32_t type = key.ValueTypeW(u"InitialKeyboardIndicators");
    key.CloseKey();
    return {text, type};
  }

  fakes::FakeRegistry registry;
  std::vector<std::u16string> warnings;
  RegwContext regw{
      registry, [this](const std::u16string& t, const std::u16string&) { warnings.push_back(t); },
      false};
};

TEST_F(LogonNumLockTest, OnlyTheTextTwoCountsAsOn) {
  EXPECT_FALSE(readLogonNumLock(regw).on);  // no key at all
  for (const auto& [text, on] :
       {std::pair{u"2", true}, {u"0", false}, {u"2147483650", false}, {u" 2", false}}) {
    put(text);
    EXPECT_EQ(readLogonNumLock(regw).on, on) << std::string(text, text + 2);
  }
  EXPECT_TRUE(warnings.empty());
}

TEST_F(LogonNumLockTest, WithoutAdministratorRightsTheValueIsReadButNotWritable) {
  put(u"2");
  EXPECT_TRUE(readLogonNumLock(regw).writable);
  registry.allowReadOnly(platform::kHkeyUsers, kKeyboard);
  const LogonNumLock state = readLogonNumLock(regw);
  EXPECT_TRUE(state.on);
  EXPECT_FALSE(state.writable);
  EXPECT_FALSE(writeLogonNumLock(regw, false));
  EXPECT_EQ(stored().first, u"2");
  EXPECT_EQ(registry.openHandleCount(), 0u);
}

TEST_F(LogonNumLockTest, WritingKeepsTheValuesStringType) {
  put(u"0", platform::kRegExpandSz);
  EXPECT_TRUE(writeLogonNumLock(regw, true));
  EXPECT_EQ(stored(), (std::pair<std::u16string, std::int32_t>{u"2", platform::kRegExpandSz}));
  EXPECT_TRUE(writeLogonNumLock(regw, false));
  EXPECT_EQ(stored().first, u"0");
}

TEST_F(LogonNumLockTest, AValueThatCannotBeWrittenIsAFailure) {
  put(u"0");
  registry.denyWrites(platform::kHkeyUsers, kKeyboard);
  EXPECT_FALSE(writeLogonNumLock(regw, true));
  EXPECT_EQ(stored().first, u"0");
}

}  // namespace
}  // namespace kivora::test
