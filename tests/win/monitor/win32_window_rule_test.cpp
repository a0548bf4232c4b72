// A per-window rule stored in the real registry and in a real ini file is
// found through the title of a real window brought to the foreground.

#include <gtest/gtest.h>

#include "monitor/window_rules.h"
#include "platform/win32/window_handle_win32.h"
#include "unit/monitor/ini_rule_cases.h"
#include "win/monitor/win32_monitor_harness.h"

namespace kivora::test {
namespace {

class RealWindowRule : public RealKeysFixture<testing::TestWithParam<bool>> {};

TEST_P(RealWindowRule, TheRuleOfTheForegroundWindowDecidesTheKeys) {
  const bool ini = GetParam();
  settings.bUseIni = ini;
  settings::EnsureIniFile(scratch.store());
  RecordingShell balloons;
  ASSERT_TRUE(monitor::saveWindowRules(
      scratch.store(), ini, false,
      {{u"Spreadsheet", {monitor::kPolicyAlwaysOff, 0, 0, 0}},
       {u"Kivora rule target", {monitor::kPolicyAlwaysOn, monitor::kPolicyAlwaysOff, 0, 0}}},
      balloons));

  ForeignWindow target(L"Report - Kivora rule target - 42");
  ASSERT_EQ(GetForegroundWindow(), target.get());
  setKey(VK_NUMLOCK, false);
  setKey(VK_CAPITAL, true);

  Win32Monitor monitor(settings, scratch, mainWindow.handle());
  monitor.get().onMonitorTimer(monitor::kTimerId3);

  EXPECT_TRUE(monitor.log.has(1727, u"ActiveWin= Report - Kivora rule target - 42"));
  EXPECT_TRUE(monitor.log.has(ini ? 1801 : 1761, u"ウィンドウ名による特殊処理対象 "));
  EXPECT_TRUE(monitor.log.has(1864, u"NumLock特殊処理による変更= 3"));
  EXPECT_TRUE(keyIsOn(VK_NUMLOCK));
  EXPECT_FALSE(keyIsOn(VK_CAPITAL));
  EXPECT_EQ(monitor.get().state().lastForeground, target.handle());

  // Another window in front: no rule, and the keys are left alone.
  ForeignWindow other(L"Unrelated window");
  ASSERT_EQ(GetForegroundWindow(), other.get());
  setKey(VK_NUMLOCK, false);
  monitor.log.clear();
  monitor.get().onMonitorTimer(monitor::kTimerId3);
  EXPECT_TRUE(monitor.log.has(ini ? 1809 : 1767, u"ウィンドウ名による特殊処理対象は見つからない "));
  EXPECT_FALSE(keyIsOn(VK_NUMLOCK));
}

INSTANTIATE_TEST_SUITE_P(BothStores, RealWindowRule, testing::Bool(),
                         [](const auto& info) { return info.param ? "IniFile" : "Registry"; });

// The real profile functions: one read of the section finds the rule that
// reading value by value finds.
TEST(RealIniRules, OneReadOfTheSectionFindsWhatValueByValueReadsFind) {
  ScratchStore scratch;
  LogCapture log;
  expectSectionReadMatchesValueReads(scratch.store(), log.log());
}

}  // namespace
}  // namespace kivora::test
