// Starting Kivora: switches forwarded to a running instance or stopping it,
// ini mode, the settings copies and the already-running dialog.

#include <gtest/gtest.h>

#include "e2e/e2e_fixture.h"

namespace kivora::e2e {
namespace {

using StartSwitches = KivoraTest;

TEST_F(StartSwitches, ForwardedToTheRunningInstanceAndSavedAtExit) {
  seedSettings();
  writeSetting(L"KBWatchEnabled", 1);
  writeSetting(L"ImeLock", 0);
  {
    Kivora first;
    ASSERT_TRUE(first.waitForMainWindow());
    EXPECT_EQ(runSecond(L"/p0"), 0u) << "switches are compared ignoring case";
    EXPECT_EQ(runSecond(L"/I3"), 0u);
    EXPECT_EQ(runSecond(L"/X"), 0u);
    ASSERT_TRUE(first.waitForExit());
    EXPECT_EQ(first.exitCode(), 0u);
  }
  EXPECT_EQ(readSetting(L"KBWatchEnabled"), 0u);
  EXPECT_EQ(readSetting(L"ImeLock"), 3u);
  EXPECT_EQ(readSetting(L"EnDisTTIcon"), 1u) << "every value is saved, defaults too";

  {
    Kivora first;
    ASSERT_TRUE(first.waitForMainWindow());
    runSecond(L"/P1");
    runSecond(L"/P");  // toggles: off again
    runSecond(L"/P");  // and on
    runSecond(L"/P");  // and off
    runSecond(L"/X");
    ASSERT_TRUE(first.waitForExit());
  }
  EXPECT_EQ(readSetting(L"KBWatchEnabled"), 0u);
}

TEST_F(StartSwitches, StopSwitchWithNothingRunningEndsAtOnce) {
  Kivora alone({.arguments = L"/X"});
  ASSERT_TRUE(alone.waitForExit());
  EXPECT_EQ(alone.exitCode(), 0u);
  EXPECT_FALSE(settingsKeyExists()) << "nothing loaded, nothing saved";
}

TEST_F(StartSwitches, TwoSwitchesAreNoSwitch) {
  seedSettings();
  Kivora first({.arguments = L"/O /X"});
  EXPECT_TRUE(first.waitForMainWindow()) << "starts normally, in registry mode";
  EXPECT_TRUE(first.running());
  runSecond(L"/X");
  EXPECT_TRUE(first.waitForExit());
}

TEST_F(StartSwitches, ForwardingWithNoWindowToFindSaysSo) {
  // A mutex named like Kivora's, held without a Kivora window.
  const HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Kivora");
  ASSERT_TRUE(mutex);
  Kivora second({.arguments = L"/P0"});
  const HWND box = second.waitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(messageBoxText(box), L"FindWindow was failed.");
  pressButton(box, IDOK);
  EXPECT_TRUE(second.waitForExit());
  CloseHandle(mutex);
}

TEST_F(StartSwitches, SecondPlainStartOffersForceExit) {
  seedSettings();
  Kivora first;
  ASSERT_TRUE(first.waitForMainWindow());
  Kivora second;
  const HWND dialog = second.waitForWindow(
      L"#32770", L"Kivora", kWait, [](HWND w) { return GetDlgItem(w, 6) && GetDlgItem(w, 1050); });
  ASSERT_TRUE(dialog) << "the already-running dialog";
  EXPECT_EQ(windowText(GetDlgItem(dialog, 6)), L"&Force Exit");
  EXPECT_EQ(windowText(GetDlgItem(dialog, 32776)), L"&Settings...");
  EXPECT_TRUE(first.running()) << "the first instance waits for the answer";
  pressButton(dialog, 6);
  ASSERT_TRUE(first.waitForExit());
  EXPECT_EQ(first.exitCode(), 0u);
  EXPECT_TRUE(second.waitForExit());
  EXPECT_EQ(readSetting(L"timer3_interval"), 100u) << "the first instance saved on its way out";
  EXPECT_EQ(readSetting(L"KBWatchEnabled"), 1u);
}

TEST_F(StartSwitches, SecondStartCancelledLeavesTheFirstRunning) {
  seedSettings();
  Kivora first({.language = L"JA"});
  ASSERT_TRUE(first.waitForMainWindow());
  Kivora second({.language = L"JA"});
  const HWND dialog = second.waitForWindow(
      L"#32770", L"Kivora", kWait, [](HWND w) { return GetDlgItem(w, 6) && GetDlgItem(w, 1050); });
  ASSERT_TRUE(dialog);
  EXPECT_EQ(windowText(GetDlgItem(dialog, 6)), L"強制終了(&F)");
  pressButton(dialog, IDCANCEL);
  EXPECT_TRUE(second.waitForExit());
  EXPECT_TRUE(first.running());
  runSecond(L"/X");
  EXPECT_TRUE(first.waitForExit());
}

TEST_F(StartSwitches, SecondStartsSettingsButtonOpensTheRunningInstancesSettings) {
  seedSettings();
  Kivora first;
  ASSERT_TRUE(first.waitForMainWindow());
  Kivora second;
  const HWND dialog = second.waitForWindow(
      L"#32770", L"Kivora", kWait, [](HWND w) { return GetDlgItem(w, 6) && GetDlgItem(w, 1050); });
  ASSERT_TRUE(dialog);
  pressButton(dialog, 32776);
  const HWND settings = first.waitForWindow(L"#32770", L"Kivora Settings");
  ASSERT_TRUE(settings) << "the running instance opens its settings dialog (still running: "
                        << first.running() << ")";
  EXPECT_FALSE(IsWindowVisible(dialog)) << "the already-running dialog is gone";
  pressButton(settings, IDCANCEL);
  EXPECT_TRUE(second.waitForExit()) << "the second start ends once the settings dialog closes";
  EXPECT_TRUE(first.running());
  runSecond(L"/X");
  EXPECT_TRUE(first.waitForExit());
}

using IniMode = KivoraTest;

TEST_F(IniMode, SwitchKeepsTheSettingsInAnIniFileBesideTheProgram) {
  ScratchFolder folder;
  const std::wstring exe = folder.copyKivora(L"Kivora.exe");
  Kivora first({.arguments = L"/O", .exe = exe});
  // No settings yet: the first start opens the settings dialog.
  const HWND dialog = first.waitForWindow(L"#32770", L"Kivora Settings");
  ASSERT_TRUE(dialog);
  pressButton(dialog, IDCANCEL);
  ASSERT_TRUE(first.waitForMainWindow());
  runSecond(L"/X");
  ASSERT_TRUE(first.waitForExit());

  const auto bytes = folder.read(L"Kivora.ini");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  EXPECT_NE(utf16Text(bytes).find(L"[Kivora]"), std::wstring::npos);
  EXPECT_EQ(iniValue(folder.file(L"Kivora.ini"), L"NumLockState"), 1);
  EXPECT_EQ(iniValue(folder.file(L"Kivora.ini"), L"timer3_interval"), 1000);
  EXPECT_FALSE(settingsKeyExists()) << "nothing in the registry";
}

TEST_F(IniMode, ProgramNamedWithOSuffixNeedsNoSwitch) {
  ScratchFolder folder;
  const std::wstring exe = folder.copyKivora(L"Kivora_O.EXE");
  folder.writeUtf16(L"Kivora.ini",
                    L"[Kivora]\r\nNumLockState=5\r\nNoOpeningDlg=1\r\nImeLock=2\r\n");
  // Started from elsewhere: the ini file is found beside the program.
  Kivora first({.exe = exe, .language = L"JA"});
  ASSERT_TRUE(first.waitForMainWindow());
  runSecond(L"/I4");
  runSecond(L"/X");
  ASSERT_TRUE(first.waitForExit());
  const std::wstring ini = folder.file(L"Kivora.ini");
  EXPECT_EQ(iniValue(ini, L"NumLockState"), 5);
  EXPECT_EQ(iniValue(ini, L"ImeLock"), 4);
  EXPECT_EQ(iniValue(ini, L"EnDisTTIcon"), 1);
  EXPECT_EQ(folder.read(L"Kivora.ini").at(0), 0xFF);
  EXPECT_FALSE(settingsKeyExists());
}

using CopySwitches = KivoraTest;

TEST_F(CopySwitches, IniToRegistryCopiesAndReports) {
  ScratchFolder folder;
  folder.writeUtf16(L"Kivora.ini",
                    L"[Kivora]\r\nNumLockState=5\r\nCapsLockState=3\r\ntimer3_interval=250\r\n");
  Kivora copy({.arguments = L"/OR", .directory = folder.path()});
  const HWND box = copy.waitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(messageBoxText(box),
            L"Setting copying from the ini file to the registry has been completed.");
  EXPECT_EQ(copy.probe("describeMessageBoxIcon"), L"information");
  pressButton(box, IDOK);
  ASSERT_TRUE(copy.waitForExit());
  EXPECT_EQ(copy.exitCode(), 0u);
  EXPECT_EQ(readSetting(L"NumLockState"), 5u);
  EXPECT_EQ(readSetting(L"CapsLockState"), 3u);
  EXPECT_EQ(readSetting(L"timer3_interval"), 250u);
  EXPECT_FALSE(FindWindowW(L"Kivora", nullptr)) << "a copy never starts the resident program";
}

TEST_F(CopySwitches, RegistryToIniCopiesAndReportsInJapanese) {
  ScratchFolder folder;
  writeSetting(L"NumLockState", 4);
  writeSetting(L"BlockInsert", 1);
  Kivora copy({.arguments = L"/ro", .directory = folder.path(), .language = L"JA"});
  const HWND box = copy.waitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(messageBoxText(box), L"レジストリからiniファイルへ設定をコピーしました。");
  pressButton(box, IDOK);
  ASSERT_TRUE(copy.waitForExit());
  const auto bytes = folder.read(L"Kivora.ini");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  EXPECT_EQ(iniValue(folder.file(L"Kivora.ini"), L"NumLockState"), 4);
  EXPECT_EQ(iniValue(folder.file(L"Kivora.ini"), L"BlockInsert"), 1);
}

TEST_F(CopySwitches, RegistryToIniFailureShowsTheErrorIcon) {
  ScratchFolder folder;
  writeSetting(L"NumLockState", 4);
  folder.writeUtf16(L"Kivora.ini", L"[Kivora]\r\n");
  // Shared for reading only: Kivora can read the file but not write it.
  const HANDLE locked = CreateFileW(folder.file(L"Kivora.ini").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  Kivora copy({.arguments = L"/RO", .directory = folder.path()});
  const HWND box = copy.waitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(messageBoxText(box), L"Setting copying from the registry to the ini file - failed.");
  EXPECT_EQ(copy.probe("describeMessageBoxIcon"), L"error");
  pressButton(box, IDOK);
  EXPECT_TRUE(copy.waitForExit());
  CloseHandle(locked);
}

}  // namespace
}  // namespace kivora::e2e
