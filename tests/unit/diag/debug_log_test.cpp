#include "diag/debug_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "diag/narrow_text.h"
#include "diag/settings_dump.h"
#include "fakes/fake_files.h"
#include "fakes/fake_log_services.h"

namespace kivora::diag {
namespace {

constexpr char16_t kLogPath[] = u"C:\\logs\\kivora.log";
constexpr char kStamp[] = "\r\n2024/03/07 08:09:10.011 ";

class DebugLogTest : public testing::Test {
 protected:
  DebugLogTest() {
    version.texts[u"\\StringFileInfo\\041104b0\\FileVersion"] = u"4.3.1.0";
    version.texts[u"\\StringFileInfo\\041104b0\\SpecialBuild"] = u"sp";
    version.texts[u"\\StringFileInfo\\041104b0\\PrivateBuild"] = u"pv";
    log.szDebugOutFileName = kLogPath;
    log.attachMonitor(&monitor);
  }
  std::string written() {
    const auto bytes = files.bytes(kLogPath);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<no file>");
  }
  std::string startBlock() {
    return std::string("--- Debug Log Start ---") + kStamp +
           "[START] Kivora ver.4.31.00sp [pv] (x64) ";
  }

  fakes::FakeFiles files;
  fakes::FakeClock clock;
  fakes::FakeCodePage codePage;
  fakes::FakeVersionRecord version;
  fakes::FakeDebugMonitor monitor;
  DebugLog log{{files, clock, codePage, version}};
};

TEST_F(DebugLogTest, OffCostsNothingAndWritesNothing) {
  EXPECT_TRUE(log.log(kLogStart, 1, u"", u""));
  EXPECT_TRUE(log.log(kLogEntry | kLogEcho, 2, u"abc", u""));
  EXPECT_TRUE(log.log(kLogEnd, 3, u"", u""));
  EXPECT_FALSE(files.exists(kLogPath));
  EXPECT_EQ(monitor.contents, u"");
}

TEST_F(DebugLogTest, StartEntriesContinuationAndEndByteForByte) {
  log.bDebugOut = true;
  ASSERT_TRUE(log.log(kLogStart, 1, u"", u""));
  EXPECT_TRUE(log.log(kLogEntry, 12, u"abc", u""));
  EXPECT_TRUE(log.log(kLogContinuation, 13, u"x=", u"設定"));  // no mapping in code page 1252
  EXPECT_TRUE(log.log(7, 14, u"ignored", u"ignored"));         // other kinds: a time stamp only
  EXPECT_TRUE(log.log(kLogEntry, 123456, u"wide", u"line"));
  EXPECT_TRUE(log.log(kLogEnd, 15, u"", u""));
  EXPECT_FALSE(log.isFileOpen());
  EXPECT_EQ(written(), startBlock() + kStamp + " L=0012:abc  L=0013:x= ??" + kStamp + kStamp +
                           " L=123456:wide line" + kStamp + "[END]\r\n");
}

TEST_F(DebugLogTest, RestartEndsTheOpenLogAndAppendsToAnExistingFile) {
  files.put(kLogPath, {'o', 'l', 'd'});
  version.present = false;  // the start still succeeds, without its [START] text
  log.bDebugOut = true;
  ASSERT_TRUE(log.log(kLogStart, 1, u"", u""));
  ASSERT_TRUE(log.log(kLogStart, 1, u"", u""));
  EXPECT_EQ(written(), std::string("old--- Debug Log Start ---") + kStamp +
                           "\r\n[END]\r\n--- Debug Log Start ---" + kStamp);
}

TEST_F(DebugLogTest, AFileThatCannotBeOpenedFailsEveryCall) {
  files.makeUnopenable(kLogPath);
  log.bDebugOut = true;
  EXPECT_FALSE(log.log(kLogStart, 1, u"", u""));
  EXPECT_FALSE(log.log(kLogEntry, 2, u"dropped", u""));
  EXPECT_FALSE(log.log(kLogEnd, 3, u"", u""));
  EXPECT_FALSE(files.exists(kLogPath));
}

TEST_F(DebugLogTest, EchoShowsTheLatestStampAndEntriesUnlessPaused) {
  log.bDebugOut = true;
  ASSERT_TRUE(log.log(kLogStart, 1, u"", u""));
  log.log(kLogEntry, 5, u"not echoed", u"");
  EXPECT_EQ(monitor.contents, u"");
  log.log(kLogEntry | kLogEcho, 6, u"設定", u"on");
  log.log(kLogContinuation | kLogEcho, 7, u"more", u"");
  EXPECT_EQ(monitor.contents, u"\n2024/03/07 08:09:10.011\r\nL=0006:設定 on\r\nL=0007:more ");
  monitor.pauseTicked = true;
  log.log(kLogEntry | kLogEcho, 8, u"paused", u"");
  monitor.pauseTicked = false;
  monitor.shown = false;
  log.log(kLogEntry | kLogEcho, 9, u"closed", u"");
  EXPECT_EQ(monitor.contents, u"\n2024/03/07 08:09:10.011\r\nL=0006:設定 on\r\nL=0007:more ");
  EXPECT_NE(written().find(" L=0008:paused "), std::string::npos);
}

TEST_F(DebugLogTest, SettingsDumpListsTheValuesInItsOrder) {
  settings::Settings s;
  s.PlaySoundFileName = u"ding.wav";
  s.watchedKeyboards = {u"a", u"b"};
  s.timer3_interval = 0xFFFFFFFFu;
  s.bUseIni = true;
  log.bDebugOut = true;
  ASSERT_TRUE(log.log(kLogStart, 1, u"", u""));
  writeSettingsDump(log, s, {true, false});
  const std::string dump = written().substr(startBlock().size());
  EXPECT_EQ(dump,
            std::string(kStamp) +
                " L=3001:[????]  L=3002:NumLockState= 1 L=3002:RemoteCheck= 0"
                " L=3002:RM_NumLockState= 1 L=3002:CapsLockState= 0 L=3002:ScrollLockState= 0"
                " L=3002:KBWatchEnabled= 1 L=3002:PlaySound= 0 L=3002:PlaySoundFileName= ding.wav"
                " L=3002:EnDisTTIcon= 1 L=3002:NotifyOnly= 0 L=3002:BlockInsert= 0"
                " L=3002:ShowLockedKeyIcon= 0 L=3002:SendTK= 0 L=3002:ImeLock= 0"
                " L=3002:timer3_interval= -1 L=3002:return_waitmsec= 0 L=3002:NoOpeningDlg= 0"
                " L=3002:HOTKEY_ENDISTTICON= 0 L=3002:BIGDIALOG= 0"
                " L=3002:Number of WatchKeyboardDeviceNames= 2 L=3002:NOT_WATCH_DEV_NUMLOCK= 0"
                " L=3002:bUseIni= 1 L=3002:modeJP= 1 L=3002:bDebugOut= 1"
                " L=3002:szDebugOutFileName= C:\\logs\\kivora.log L=3002:bTimer5Active= 0"
                " L=3002:InstantCheck= 1");
}

// The script worker logs the balloons it shows while the user-interface
// thread logs its tick: every entry must arrive whole.
TEST_F(DebugLogTest, EntriesFromTwoThreadsArriveWhole) {
  constexpr int kPerThread = 20000;
  log.bDebugOut = true;
  ASSERT_TRUE(log.log(kLogStart, 1, u"", u""));
  std::atomic<int> ready{0};
  auto writer = [&](char16_t name) {
    ++ready;
    while (ready.load() < 2) {
    }
    for (int i = 0; i < kPerThread; ++i) log.log(kLogEntry, 7, std::u16string(1, name), u"entry");
  };
  std::thread worker(writer, u'w');
  writer(u'u');
  worker.join();
  ASSERT_TRUE(log.log(kLogEnd, 2, u"", u""));

  const std::string text = written();
  const std::string ui = std::string(kStamp) + " L=0007:u entry";
  const std::string wk = std::string(kStamp) + " L=0007:w entry";
  std::size_t pos = startBlock().size();
  int fromUi = 0;
  int fromWorker = 0;
  while (text.compare(pos, ui.size(), ui) == 0 || text.compare(pos, wk.size(), wk) == 0) {
    (text.compare(pos, ui.size(), ui) == 0 ? fromUi : fromWorker) += 1;
    pos += ui.size();
  }
  EXPECT_EQ(fromUi, kPerThread);
  EXPECT_EQ(fromWorker, kPerThread);
  EXPECT_EQ(text.substr(pos), std::string(kStamp) + "[END]\r\n");
}

TEST(NarrowText, ConversionsReportAbsentTextAndFailures) {
  fakes::FakeCodePage codePage;
  EXPECT_EQ(ToAnsi(codePage, std::nullopt), std::nullopt);
  EXPECT_EQ(ToAnsi(codePage, u"caf\u00e9 設定"), "caf\xe9 ??");
  EXPECT_EQ(ToNarrow(codePage, u"x", 12345), std::nullopt);
  EXPECT_EQ(ToNarrow(codePage, u"", 12345), "");
  EXPECT_EQ(ToUtf8(u"設定"), "\xE8\xA8\xAD\xE5\xAE\x9A");
  EXPECT_EQ(ToUtf8(std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace kivora::diag
