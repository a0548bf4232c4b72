// The debug log over the real file, clock, code page and version record.
// ctest runs this program with a Japanese locale, so the ANSI code page is 932.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "diag/debug_log.h"
#include "diag/narrow_text.h"
#include "platform/win32/code_page_win32.h"
#include "platform/win32/file_access_win32.h"
#include "platform/win32/local_time_win32.h"
#include "platform/win32/version_record_win32.h"
#include "platform/win32/wide.h"
#include "win/test_version.h"

namespace kivora::diag {
namespace {

std::u16string scratchLogPath() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  return win32::fromWide(
      (std::wstring(temp) + L"kivora-log-" + std::to_wstring(GetCurrentProcessId()) + L".log")
          .c_str());
}

std::string readAll(const std::u16string& path) {
  std::string bytes;
  if (std::FILE* f = _wfopen(win32::wide(path), L"rb")) {
    char chunk[4096];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    std::fclose(f);
  }
  return bytes;
}

std::string masked(const std::string& text) {
  static const std::regex stamp(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3})");
  return std::regex_replace(text, stamp, "T");
}

// "設定" and "情報" in the code page the log uses.
std::string setting(std::uint32_t acp) { return acp == 932 ? "\x90\xDD\x92\xE8" : "??"; }
std::string information(std::uint32_t acp) { return acp == 932 ? "\x8F\xEE\x95\xF1" : "??"; }

class Win32DebugLog : public testing::Test {
 protected:
  void SetUp() override {
    path = scratchLogPath();
    DeleteFileW(win32::wide(path));
    log.szDebugOutFileName = path;
    log.bDebugOut = true;
  }
  void TearDown() override { DeleteFileW(win32::wide(path)); }

  std::u16string path;
  win32::Win32FileAccess files;
  win32::Win32LocalClock clock;
  win32::Win32CodePage codePage;
  win32::Win32VersionRecord version;
  DebugLog log{{files, clock, codePage, version}};
};

TEST_F(Win32DebugLog, JapaneseRunsInTheAnsiCodePageAndTheRecordGivesTheVersion) {
  const std::uint32_t acp = codePage.GetACP();
  ASSERT_TRUE(acp == 932 || acp == 1252) << "unexpected ANSI code page " << acp;
  ASSERT_TRUE(log.log(kLogStart, 1, u"", u""));
  EXPECT_TRUE(log.log(kLogEntry, 2, u"[設定情報]", u""));
  EXPECT_TRUE(log.log(kLogContinuation, 3, u"abc", u"設定"));
  ASSERT_TRUE(log.log(kLogStart, 4, u"", u""));
  EXPECT_TRUE(log.log(kLogEnd, 5, u"", u""));
  const std::string start = "--- Debug Log Start ---\r\nT [START] Kivora ver." +
                            test::projectVersionInLog() + " [] (x64) ";
  EXPECT_EQ(masked(readAll(path)), start + "\r\nT  L=0002:[" + setting(acp) + information(acp) +
                                       "]  L=0003:abc " + setting(acp) + "\r\n[END]\r\n" + start +
                                       "\r\nT [END]\r\n")
      << "ACP " << acp;
}

TEST(Win32NarrowText, ShiftJisAndUtf8) {
  win32::Win32CodePage codePage;
  EXPECT_EQ(ToNarrow(codePage, u"設定", 932), "\x90\xDD\x92\xE8");
  EXPECT_EQ(ToNarrow(codePage, u"設定", platform::kCpUtf8), ToUtf8(u"設定"));
  EXPECT_EQ(ToNarrow(codePage, u"x", 4242), std::nullopt);  // no such code page
}

}  // namespace
}  // namespace kivora::diag
