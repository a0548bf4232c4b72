#pragma once
// Every end-to-end test starts and ends with no Kivora running and none of
// its settings in the registry.

#include <gtest/gtest.h>

#include "e2e/kivora_e2e.h"

namespace kivora::e2e {

class KivoraTest : public testing::Test {
 protected:
  void SetUp() override {
    endStrayKivora();
    deleteKivoraSettings();
  }
  void TearDown() override {
    endStrayKivora();
    deleteKivoraSettings();
  }

  // Settings that exist, so Kivora starts straight into the tray, without the
  // opening dialog of a Japanese start.
  static void seedSettings() {
    writeSetting(L"NoOpeningDlg", 1);
    writeSetting(L"timer3_interval", 100);
  }

  // Runs a second Kivora with `arguments` and waits for it to end.
  static DWORD runSecond(const std::wstring& arguments, const wchar_t* language = L"EN") {
    Kivora second({.arguments = arguments, .language = language});
    EXPECT_TRUE(second.waitForExit())
        << "Kivora " << std::string(arguments.begin(), arguments.end());
    return second.exitCode();
  }
};

}  // namespace kivora::e2e
