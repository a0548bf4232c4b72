// Per-window rules in both stores: the lookup the tick makes, the list the
// rule dialog loads and saves, and the policy texts the dialog shows.

#include "settings/regw.h"
#include "unit/monitor/ini_rule_cases.h"
#include "unit/monitor/monitor_fixture.h"

namespace kivora::test {
namespace {

using monitor::RuleCodes;
using monitor::WindowRule;

class WindowRules : public MonitorTest, public testing::WithParamInterface<bool> {
 protected:
  bool ini() const { return GetParam(); }
  RuleCodes find(std::u16string_view title) {
    return monitor::findWindowRule(store(), ini(), log.log(), title);
  }
  unsigned foundLine() const { return ini() ? 1801 : 1761; }
  unsigned missedLine() const { return ini() ? 1809 : 1767; }
  // Writes one value of a rule by hand, the way another program might have left it.
  void putValue(const std::u16string& name, const std::u16string& text, std::int32_t code = 0) {
    if (ini()) {
      std::u16string errors;
      ASSERT_TRUE(settings::WriteSettingString(store(), true, name, text, errors, false));
      return;
    }
    settings::RegwContext context{registry, {}, false};
    settings::REGW key(context);
    ASSERT_TRUE(key.OpenKey(platform::kHkeyCurrentUser,
                            u"Software\\Orvanta\\Kivora\\CurrentVersion\\SpecProg",
                            settings::kOpenCreate));
    if (name.ends_with(u"_NAME")) {
      key.WriteStringW(name, text, settings::StringWriteKind::Sz);
    } else {
      key.WriteIntegerW(name, code);
    }
    key.CloseKey();
  }
};

TEST_P(WindowRules, TheFirstRuleWhoseTextOccursInTheTitleWins) {
  storeRules({{u"Notepad", {1, 2, 3, 4}}, {u"Note", {5, 0, 0, 0}}}, ini());
  EXPECT_EQ(find(u"Untitled - Notepad"), (RuleCodes{1, 2, 3, 4}));
  EXPECT_TRUE(log.has(foundLine(), u"ウィンドウ名による特殊処理対象 "));
  EXPECT_FALSE(log.lines().front().newLine);
  EXPECT_EQ(find(u"Release Notes"), (RuleCodes{5, 0, 0, 0}));
  log.clear();
  EXPECT_EQ(find(u"untitled - notepad"), RuleCodes{});  // case-sensitive
  EXPECT_TRUE(log.has(missedLine(), u"ウィンドウ名による特殊処理対象は見つからない "));
}

TEST_P(WindowRules, AnEmptyRuleTextMatchesEveryTitle) {
  storeRules({{u"", {2, 0, 0, 0}}}, ini());
  EXPECT_EQ(find(u""), (RuleCodes{2, 0, 0, 0}));
  EXPECT_EQ(find(u"anything"), (RuleCodes{2, 0, 0, 0}));
}

TEST_P(WindowRules, TheListEndsAtTheFirstGap) {
  putValue(u"00000000_NAME", u"Alpha");
  putValue(u"00000000_NMLK", u"2", 2);
  putValue(u"00000002_NAME", u"Gamma");
  putValue(u"00000002_NMLK", u"1", 1);
  EXPECT_EQ(find(u"Gamma window"), RuleCodes{});
  EXPECT_EQ(find(u"Alpha window"), (RuleCodes{2, 0, 0, 0}));  // missing codes count as 0
  EXPECT_EQ(monitor::loadWindowRules(store(), ini()),
            (std::vector<WindowRule>{{u"Alpha", {2, 0, 0, 0}}}));
}

TEST_P(WindowRules, SavingAShorterListLeavesNothingBehind) {
  std::vector<WindowRule> five;
  for (int i = 0; i < 5; ++i)
    five.push_back({u"Window " + std::u16string(1, static_cast<char16_t>(u'A' + i)), {i, 0, 0, 0}});
  storeRules(five, ini());
  const std::vector<WindowRule> two{{u"Mail", {1, 1, 1, 1}}, {u"Terminal", {0, 2, 0, 5}}};
  RecordingShell balloons;
  EXPECT_TRUE(monitor::saveWindowRules(store(), ini(), false, two, balloons));
  EXPECT_TRUE(balloons.balloons().empty());
  EXPECT_EQ(monitor::loadWindowRules(store(), ini()), two);
  for (const auto* gone : {u"00000002_NAME", u"00000003_NMLK", u"00000004_IME"}) {
    std::u16string text;
    settings::ReadSettingString(store(), ini(), gone, u"absent", text, 260);
    EXPECT_EQ(text, ini() ? u"absent" : u"") << std::string(gone, gone + 13);
  }
  EXPECT_EQ(find(u"Window C"), RuleCodes{});
}

TEST_P(WindowRules, LongRuleTextsAreCutTo259CharactersWhereABufferHoldsThem) {
  const std::u16string longText(300, u'r');
  storeRules({{longText, {2, 0, 0, 0}}}, ini());
  // The rule dialog saves back what it loaded: from the registry it must get
  // the whole text, or one OK would cut every long rule for good.
  EXPECT_EQ(monitor::loadWindowRules(store(), ini()).front().title,
            ini() ? longText.substr(0, 259) : longText);
  EXPECT_EQ(find(longText.substr(0, 259) + u" tail"), (RuleCodes{2, 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(BothStores, WindowRules, testing::Bool(),
                         [](const auto& info) { return info.param ? "Ini" : "Registry"; });

class WindowRulesIni : public MonitorTest {};

TEST_F(WindowRulesIni, OneReadOfTheSectionFindsWhatValueByValueReadsFind) {
  expectSectionReadMatchesValueReads(store(), log.log());
}

// Counts the profile calls the tick makes.
class CountingProfile final : public platform::Profile {
 public:
  explicit CountingProfile(platform::Profile& inner) : inner_(inner) {}
  std::uint32_t GetPrivateProfileStringW(const char16_t* a, const char16_t* k, const char16_t* d,
                                         char16_t* r, std::uint32_t n, const char16_t* f) override {
    ++others;
    return inner_.GetPrivateProfileStringW(a, k, d, r, n, f);
  }
  std::uint32_t GetPrivateProfileSectionW(const char16_t* a, char16_t* r, std::uint32_t n,
                                          const char16_t* f) override {
    ++sections;
    return inner_.GetPrivateProfileSectionW(a, r, n, f);
  }
  std::uint32_t GetPrivateProfileIntW(const char16_t* a, const char16_t* k, std::int32_t d,
                                      const char16_t* f) override {
    ++others;
    return inner_.GetPrivateProfileIntW(a, k, d, f);
  }
  bool GetPrivateProfileStructW(const char16_t*, const char16_t*, void*, std::uint32_t,
                                const char16_t*) override {
    ++others;
    return false;
  }
  bool WritePrivateProfileStringW(const char16_t*, const char16_t*, const char16_t*,
                                  const char16_t*) override {
    ++others;
    return false;
  }
  bool WritePrivateProfileStructW(const char16_t*, const char16_t*, const void*, std::uint32_t,
                                  const char16_t*) override {
    ++others;
    return false;
  }
  int sections = 0;
  int others = 0;

 private:
  platform::Profile& inner_;
};

TEST_F(WindowRulesIni, ATickReadsTheSectionOnceAndOnlyTheCodesOfTheRuleThatApplies) {
  std::vector<WindowRule> rules;
  for (int i = 0; i < 20; ++i)
    rules.push_back(
        {u"Window " + std::u16string(1, static_cast<char16_t>(u'A' + i)), {1, 0, 0, 0}});
  storeRules(rules, true);
  CountingProfile counting(profile);
  settings::RegwContext context{registry, {}, false};
  const settings::SettingsStore counted{context, counting, iniFiles, {}};
  EXPECT_EQ(monitor::findWindowRule(counted, true, log.log(), u"Unrelated"), RuleCodes{});
  EXPECT_EQ(counting.sections, 1);
  EXPECT_EQ(counting.others, 0);
  EXPECT_EQ(monitor::findWindowRule(counted, true, log.log(), u"Window T"),
            (RuleCodes{1, 0, 0, 0}));
  EXPECT_EQ(counting.sections, 2);
  EXPECT_EQ(counting.others, 4);
}

class WindowRulesRegistry : public MonitorTest {};

TEST_F(WindowRulesRegistry, WithoutTheRulesKeyNoRuleAppliesAndNothingIsLogged) {
  EXPECT_EQ(monitor::findWindowRule(store(), false, log.log(), u"Any"), RuleCodes{});
  EXPECT_TRUE(log.lines().empty());
  EXPECT_TRUE(monitor::loadWindowRules(store(), false).empty());
}

TEST_F(WindowRulesRegistry, ASaveThatCannotOpenTheKeyWarnsInTheUsersLanguage) {
  registry.denyOpen(platform::kHkeyCurrentUser,
                    u"Software\\Orvanta\\Kivora\\CurrentVersion\\SpecProg");
  RecordingShell balloons;
  EXPECT_FALSE(monitor::saveWindowRules(store(), false, false, {{u"A", {}}}, balloons));
  EXPECT_FALSE(monitor::saveWindowRules(store(), false, true, {{u"A", {}}}, balloons));
  EXPECT_EQ(
      balloons.balloons(),
      (std::vector<Balloon>{
          {u"Cannot open HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora\\CurrentVersion",
           monitor::BalloonIcon::Warning},
          {u"HKEY_CURRENT_USER\\Software\\Orvanta\\Kivora\\CurrentVersion\\SpecProgレジストリを"
           u"開けません",
           monitor::BalloonIcon::Warning}}));
}

TEST_F(WindowRulesRegistry, RulesAreStoredAsStringsAndDwordsInTheSpecProgKey) {
  storeRules({{u"Editor", {1, 2, 3, 4}}}, false);
  settings::RegwContext context{registry, {}, false};
  settings::REGW key(context);
  ASSERT_TRUE(key.OpenKey(platform::kHkeyCurrentUser,
                          u"Software\\Orvanta\\Kivora\\CurrentVersion\\SpecProg",
                          settings::kOpenReadOnly));
  EXPECT_EQ(key.ValueTypeW(u"00000000_NAME"), static_cast<std::int32_t>(platform::kRegSz));
  EXPECT_EQ(key.ValueTypeW(u"00000000_CPLK"), static_cast<std::int32_t>(platform::kRegDword));
  EXPECT_EQ(key.ReadIntegerW(u"00000000_IME", -1), 4);
  key.CloseKey();
}

TEST_F(WindowRulesRegistry, IniWriteFailuresAreCollectedIntoOneBalloon) {
  settings::EnsureIniFile(store());
  iniFiles.setReadOnly(u".\\Kivora.ini", true);
  RecordingShell balloons;
  EXPECT_FALSE(monitor::saveWindowRules(store(), true, false, {{u"A", {1, 0, 0, 0}}}, balloons));
  const auto shown = balloons.balloons();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].icon, monitor::BalloonIcon::Warning);
  EXPECT_EQ(shown[0].text,
            u".\\Kivora.ini[Kivora] - 00000000_NAME write error.\r\n-----\r\n"
            u".\\Kivora.ini[Kivora] - 00000000_NMLK write error.\r\n-----\r\n"
            u".\\Kivora.ini[Kivora] - 00000000_CPLK write error.\r\n-----\r\n"
            u".\\Kivora.ini[Kivora] - 00000000_SCLK write error.\r\n-----\r\n"
            u".\\Kivora.ini[Kivora] - 00000000_IME write error.");
}

TEST_F(WindowRulesRegistry, AnIniSaveKeepsTheFileInUtf16SoTitlesSurvive) {
  storeRules({{u"メモ帳", {2, 0, 0, 0}}}, true);
  const auto bytes = iniFiles.bytes(u".\\Kivora.ini").value();
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  EXPECT_EQ(monitor::findWindowRule(store(), true, log.log(), u"無題 - メモ帳"),
            (RuleCodes{2, 0, 0, 0}));
}

TEST(LockPolicyTexts, TextsAndCodesRoundTripInBothLanguages) {
  for (bool japanese : {false, true}) {
    const auto texts = monitor::lockPolicyTexts(japanese);
    for (int code = 0; code < monitor::kLockPolicyCount; ++code)
      EXPECT_EQ(monitor::lockPolicyCode(texts[static_cast<std::size_t>(code)]), code);
  }
  EXPECT_EQ(monitor::lockPolicyText(4, false), u"ON (when window is activated)");
  EXPECT_EQ(monitor::lockPolicyText(3, true), u"アプリ切替時OFF");
  EXPECT_EQ(monitor::lockPolicyText(6, false), u"");
  EXPECT_EQ(monitor::lockPolicyCode(u"on (always)"), 0);  // other texts map to 0
}

}  // namespace
}  // namespace kivora::test
