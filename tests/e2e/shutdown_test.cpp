// Exit while a script is busy: in an endless loop, in a long SLEEP, or
// waiting in its message box. Kivora still ends promptly, and it saved the
// settings it held before it went.

#include <gtest/gtest.h>

#include "e2e/e2e_fixture.h"

namespace kivora::e2e {
namespace {

using Shutdown = KivoraTest;

void writeScript(const std::wstring& script) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"kx_script", 0, REG_SZ, reinterpret_cast<const BYTE*>(script.c_str()),
                 static_cast<DWORD>((script.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// The shut-down waits two seconds for the script; the rest is Wine's pace.
constexpr DWORD kExitBound = 8000;

TEST_F(Shutdown, ABusyScriptNeitherKeepsKivoraRunningNorLosesTheSettings) {
  struct Case {
    const char* name;
    const wchar_t* script;
  };
  // Each script says through the environment that it got to its wait; the
  // message box says so by showing itself.
  const Case cases[] = {
      {"endless loop", L"SETENV(\"KIVORA_SCRIPT_MARK\", \"busy\")\r\nloop {\r\n}\r\n"},
      {"long sleep", L"SETENV(\"KIVORA_SCRIPT_MARK\", \"busy\")\r\nSLEEP(1000000)\r\n"},
      {"message box", L"TEXTOUT(\"waiting for an answer\", \"Kivora\")\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    deleteKivoraSettings();
    seedSettings();
    writeSetting(L"NoNotifyScriptSuspend", 1);
    writeSetting(L"use_script", 1);
    writeSetting(L"ImeLock", 0);
    writeScript(c.script);
    Kivora kivora;
    ASSERT_TRUE(kivora.waitForMainWindow());
    // Runs start ten seconds after the start.
    if (std::wstring(c.script).starts_with(L"TEXTOUT")) {
      ASSERT_TRUE(kivora.waitForMessageBox(20000)) << "the script's box did not show";
    } else {
      ASSERT_TRUE(waitUntil([&] { return kivora.probe("scriptMark") == L"busy"; }, 20000))
          << "the script did not start";
    }
    // A change held only in memory, which the exit must save.
    EXPECT_EQ(runSecond(L"/I3"), 0u);
    const ULONGLONG asked = GetTickCount64();
    EXPECT_EQ(runSecond(L"/X"), 0u);
    EXPECT_TRUE(kivora.waitForExit(kExitBound)) << "still running";
    EXPECT_LT(GetTickCount64() - asked, kExitBound);
    EXPECT_EQ(readSetting(L"ImeLock"), 3u) << "settings not saved at the exit";
  }
}

}  // namespace
}  // namespace kivora::e2e
