// IME open-state control over several ticks and window switches.

#include "unit/monitor/monitor_fixture.h"

namespace kivora::test {
namespace {

class Ime : public MonitorTest {
 protected:
  Ime() {
    editorIme = ime.addIme(editor, 0);
    browserIme = ime.addIme(browser, 0);
  }
  int requestsTo(platform::WindowHandle imeWindow) const {
    return static_cast<int>(std::count_if(ime.requests.begin(), ime.requests.end(),
                                          [&](auto& r) { return r.imeWindow == imeWindow; }));
  }
  platform::WindowHandle editorIme;
  platform::WindowHandle browserIme;
};

TEST_F(Ime, OnWhenSwitchedOpensOnceAndThenLeavesTheUserAlone) {
  settings.ImeLock = monitor::kImeOnWhenSwitched;
  tick();  // the first tick counts as a switch
  EXPECT_EQ(ime.status(editor), 1);
  EXPECT_TRUE(log.has(2165, u"ImmGetDefaultIMEWnd成功。hIMC= 0x00011010"));
  EXPECT_TRUE(log.has(2168, u"IMC_GETOPENSTATUS結果= 0"));
  EXPECT_TRUE(log.has(2206, u"IMC_SETOPENSTATUS:ON化[Window切替に伴う] 結果= S_OK"));

  desktop.activate(browser);
  tick();
  EXPECT_EQ(ime.status(browser), 1);
  ime.status(browser) = 0;  // the user closes it
  log.clear();
  tick();
  EXPECT_EQ(ime.status(browser), 0);
  EXPECT_TRUE(log.has(2224, u"ウィンドウ切替がないためIMEはONにしない [Window切替に伴う]"));

  desktop.activate(editor);
  ime.status(editor) = 1;
  log.clear();
  tick();
  EXPECT_TRUE(log.has(2219, u"IMEがONのためON切替しない [Window切替に伴う]"));
  desktop.activate(browser);
  tick();
  EXPECT_EQ(ime.status(browser), 1);
  EXPECT_EQ(requestsTo(browserIme), 2);
  EXPECT_EQ(requestsTo(editorIme), 1);
}

TEST_F(Ime, AnIgnoredSwitchRequestIsRepeatedEveryTickUntilTheImeFollows) {
  settings.ImeLock = monitor::kImeOnWhenSwitched;
  ime.ignoring.insert(editorIme);
  tick();
  EXPECT_TRUE(log.has(2211, u"IMC_GETOPENSTATUS=0のまま "));
  EXPECT_TRUE(monitor().imeRetry());
  tick();
  tick();
  EXPECT_EQ(requestsTo(editorIme), 3);

  ime.ignoring.clear();
  tick();
  EXPECT_EQ(ime.status(editor), 1);
  EXPECT_FALSE(monitor().imeRetry());
  tick();
  EXPECT_EQ(requestsTo(editorIme), 4);
}

TEST_F(Ime, OffWhenSwitchedCountsOnlyStatusOneAsOpenAndRetriesWhenIgnored) {
  settings.ImeLock = monitor::kImeOffWhenSwitched;
  ime.status(editor) = 2;
  tick();
  EXPECT_TRUE(log.has(2245, u"IMEがOFFのためOFF切替しない [Window切替に伴う]"));
  EXPECT_EQ(ime.setRequests(), 0);

  ime.status(browser) = 1;
  ime.ignoring.insert(browserIme);
  desktop.activate(browser);
  log.clear();
  tick();
  EXPECT_TRUE(log.has(2232, u"IMC_SETOPENSTATUS:OFF化[Window切替に伴う] 結果= S_OK"));
  EXPECT_TRUE(log.has(2237, u"IMC_GETOPENSTATUS=1のまま "));
  ime.ignoring.clear();
  tick();
  EXPECT_EQ(ime.status(browser), 0);
  EXPECT_FALSE(monitor().imeRetry());
  log.clear();
  tick();
  EXPECT_TRUE(log.has(2250, u"ウィンドウ切替がないためIMEはOFFにしない [Window切替に伴う]"));
  EXPECT_EQ(requestsTo(browserIme), 2);
}

TEST_F(Ime, AlwaysOnOpensOnEveryTickAndReportsARefusal) {
  settings.ImeLock = monitor::kImeAlwaysOn;
  tick();
  EXPECT_TRUE(log.has(2173, u"IMC_SETOPENSTATUS:ON化[常時] 結果= S_OK"));
  log.clear();
  tick();
  EXPECT_TRUE(log.has(2182, u"IMEがONのためON切替しない [常時]"));

  ime.status(editor) = 0;
  ime.refusing.insert(editorIme);
  log.clear();
  tick();
  EXPECT_TRUE(log.has(2173, u"IMC_SETOPENSTATUS:ON化[常時] 結果= failure"));
  EXPECT_TRUE(log.has(2178, u"IMC_GETOPENSTATUS=0のまま "));
  tick();
  EXPECT_EQ(requestsTo(editorIme), 3);
}

TEST_F(Ime, AlwaysOffClosesOnlyStatusOne) {
  settings.ImeLock = monitor::kImeAlwaysOff;
  ime.status(editor) = 2;
  tick();
  EXPECT_TRUE(log.has(2198, u"IMEがOFFのためOFF切替しない [常時]"));
  ime.status(editor) = 1;
  ime.ignoring.insert(editorIme);
  log.clear();
  tick();
  EXPECT_TRUE(log.has(2189, u"IMC_SETOPENSTATUS:OFF化[常時] 結果= S_OK"));
  EXPECT_TRUE(log.has(2194, u"IMC_GETOPENSTATUS=1のまま "));
}

TEST_F(Ime, AWindowRuleReplacesTheImeModeForItsWindow) {
  settings.ImeLock = monitor::kImeAlwaysOn;
  storeRules({{u"Browser", {0, 0, 0, monitor::kPolicyDontWatch}},
              {u"Editor", {0, 0, 0, monitor::kPolicyOffOnSwitch}}},
             false);
  desktop.activate(browser);
  tick();
  EXPECT_TRUE(log.has(2146, u"IMEstate特殊処理による変更= 0"));
  EXPECT_EQ(log.count(2165), 0);
  EXPECT_EQ(ime.status(browser), 0);

  ime.status(editor) = 1;
  desktop.activate(editor);
  log.clear();
  tick();
  EXPECT_TRUE(log.has(2146, u"IMEstate特殊処理による変更= 4"));
  EXPECT_EQ(ime.status(editor), 0);
}

TEST_F(Ime, AWindowWithoutAnImeIsOnlyLogged) {
  settings.ImeLock = monitor::kImeAlwaysOn;
  ime.imeWindows.erase(editor);
  tick();
  EXPECT_TRUE(log.has(2257, u"ImmGetDefaultIMEWnd失敗 "));
  EXPECT_EQ(ime.setRequests(), 0);
}

TEST(ImeModeTexts, EveryModeHasBothTexts) {
  for (int mode = 0; mode < monitor::kImeModeCount; ++mode) {
    EXPECT_FALSE(monitor::imeModeText(mode, false).empty());
    EXPECT_FALSE(monitor::imeModeText(mode, true).empty());
  }
  EXPECT_EQ(monitor::imeModeText(3, false), u"IME-ON when window is switched");
  EXPECT_TRUE(monitor::imeModeText(5, true).empty());
}

}  // namespace
}  // namespace kivora::test
