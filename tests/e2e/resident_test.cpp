// Kivora running: it corrects the lock keys, ignores WM_CLOSE, opens its
// tray menu, and makes or removes its start-up shortcut.

#include <shlobj.h>

#include <gtest/gtest.h>

#include <sstream>

#include "e2e/e2e_fixture.h"

namespace kivora::e2e {
namespace {

constexpr UINT kTrayCallback = WM_APP;
constexpr UINT kRegisterStartup = WM_APP + 3;

using Resident = KivoraTest;

TEST_F(Resident, CorrectsNumLockAndCapsLock) {
  TestWindow front;
  // Known states before Kivora starts: a process that starts later sees
  // every toggle as off until the next change.
  setKey(VK_NUMLOCK, false);
  setKey(VK_CAPITAL, false);
  seedSettings();
  writeSetting(L"NumLockState", 3);   // constantly ON
  writeSetting(L"CapsLockState", 2);  // constantly OFF
  Kivora kivora;
  ASSERT_TRUE(kivora.waitForMainWindow());
  EXPECT_TRUE(waitUntil([] { return keyIsOn(VK_NUMLOCK); })) << "NumLock switched on";

  pressKey(VK_CAPITAL);  // the user turns CapsLock on
  EXPECT_TRUE(waitUntil([] { return !keyIsOn(VK_CAPITAL); })) << "CapsLock switched off again";
  pressKey(VK_NUMLOCK);  // and NumLock off
  EXPECT_TRUE(waitUntil([] { return keyIsOn(VK_NUMLOCK); })) << "NumLock switched on again";

  runSecond(L"/X");
  EXPECT_TRUE(kivora.waitForExit());
  setKey(VK_NUMLOCK, false);
}

TEST_F(Resident, PausedWatchingLeavesTheKeysAlone) {
  TestWindow front;
  setKey(VK_CAPITAL, false);
  seedSettings();
  writeSetting(L"CapsLockState", 3);  // constantly ON, but paused
  writeSetting(L"KBWatchEnabled", 0);
  Kivora kivora;
  ASSERT_TRUE(kivora.waitForMainWindow());
  EXPECT_FALSE(waitUntil([] { return keyIsOn(VK_CAPITAL); }, 1500));
  runSecond(L"/P1");
  EXPECT_TRUE(waitUntil([] { return keyIsOn(VK_CAPITAL); })) << "watching again after /P1";
  runSecond(L"/X");
  EXPECT_TRUE(kivora.waitForExit());
  setKey(VK_CAPITAL, false);
}

TEST_F(Resident, CloseFromOutsideIsIgnored) {
  seedSettings();
  Kivora kivora;
  const HWND window = kivora.waitForMainWindow();
  ASSERT_TRUE(window);
  DWORD_PTR result = 1;
  ASSERT_TRUE(SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result));
  EXPECT_EQ(result, 0u);
  EXPECT_FALSE(kivora.waitForExit(1000));
  EXPECT_TRUE(IsWindow(window));
  runSecond(L"/X");
  EXPECT_TRUE(kivora.waitForExit());
}

struct MenuItem {
  std::wstring id;
  std::wstring flags;
  std::wstring text;
  bool operator==(const MenuItem&) const = default;
};

std::ostream& operator<<(std::ostream& out, const MenuItem& item) {
  auto narrow = [](const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
  };
  return out << narrow(item.id) << " [" << narrow(item.flags) << "] " << narrow(item.text);
}

std::vector<MenuItem> parseMenu(const std::wstring& description) {
  std::vector<MenuItem> items;
  std::wistringstream lines(description);
  std::wstring line;
  while (std::getline(lines, line)) {
    const auto tab1 = line.find(L'\t');
    const auto tab2 = line.find(L'\t', tab1 + 1);
    if (tab1 == std::wstring::npos || tab2 == std::wstring::npos) {
      items.push_back({line, {}, {}});
      continue;
    }
    items.push_back(
        {line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
  }
  return items;
}

// Right-clicks the tray icon and returns the menu that opens.
std::vector<MenuItem> openTrayMenu(const Kivora& kivora, HWND window, HWND& popup) {
  PostMessageW(window, kTrayCallback, 0, WM_RBUTTONUP);
  popup = kivora.waitForWindow(L"#32768", nullptr, kWait,
                               [](HWND w) { return IsWindowVisible(w) != FALSE; });
  if (!popup) return {};
  return parseMenu(kivora.probe("describePopupMenu"));
}

TEST_F(Resident, TrayMenuInEnglishShowsTheStateAndExitEndsKivora) {
  seedSettings();
  writeSetting(L"EnDisTTIcon", 2);     // double-click pauses
  writeSetting(L"KBWatchEnabled", 0);  // paused
  Kivora kivora;
  const HWND window = kivora.waitForMainWindow();
  ASSERT_TRUE(window);
  HWND popup = nullptr;
  const auto items = openTrayMenu(kivora, window, popup);
  ASSERT_TRUE(popup) << "no popup menu";
  const std::vector<MenuItem> expected{
      {L"32776", L"", L"&Settings..."},
      {L"32777", L"checked default ", L"Pause t&o watch the keyboard\tDoubleClick"},
      {L"3", L"", L"&Help"},
      {L"32778", L"", L"&About..."},
      {L"0", L"separator ", L""},
      {L"32780", L"", L"Register to Start&up Folder"},
      {L"0", L"separator ", L""},
      {L"32779", L"", L"E&xit"},
  };
  EXPECT_EQ(items, expected);
  PostMessageW(popup, WM_CHAR, L'x', 0);
  ASSERT_TRUE(kivora.waitForExit());
  EXPECT_EQ(kivora.exitCode(), 0u);
  EXPECT_EQ(readSetting(L"KBWatchEnabled"), 0u);
}

TEST_F(Resident, TrayMenuInJapaneseWithTheClickHints) {
  seedSettings();
  Kivora kivora({.language = L"JA"});
  const HWND window = kivora.waitForMainWindow();
  ASSERT_TRUE(window);
  HWND popup = nullptr;
  const auto items = openTrayMenu(kivora, window, popup);
  ASSERT_TRUE(popup) << "no popup menu";
  const std::vector<MenuItem> expected{
      {L"32776", L"default ", L"設定(&S)...\tDoubleClick"},
      {L"32777", L"", L"一時的にキーボード監視をオフにする(&O)\tClick"},
      {L"3", L"", L"ヘルプ(&H)"},
      {L"32781", L"", L"フィードバック(&F)"},
      {L"32778", L"", L"バージョン情報／開発支援金受付(&A)"},
      {L"32784", L"", L"デバッグ情報ログ出力(&D)..."},
      {L"0", L"separator ", L""},
      {L"32780", L"", L"スタートアップに登録(&U)"},
      {L"0", L"separator ", L""},
      {L"32779", L"", L"終了(&X)"},
  };
  EXPECT_EQ(items, expected);
  // Choosing "pause" from the menu pauses watching.
  PostMessageW(popup, WM_CHAR, L'o', 0);
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(popup); }));
  runSecond(L"/X");
  ASSERT_TRUE(kivora.waitForExit());
  EXPECT_EQ(readSetting(L"KBWatchEnabled"), 0u);
}

TEST_F(Resident, RightClickWhileTheAboutBoxIsOpenClosesItAndOpensTheMenu) {
  seedSettings();
  Kivora kivora;
  const HWND window = kivora.waitForMainWindow();
  ASSERT_TRUE(window);
  HWND popup = nullptr;
  ASSERT_FALSE(openTrayMenu(kivora, window, popup).empty());
  PostMessageW(popup, WM_CHAR, L'a', 0);  // "&About..."
  const HWND about = kivora.waitForWindow(L"#32770", L"About");
  ASSERT_TRUE(about);

  PostMessageW(window, kTrayCallback, 0, WM_RBUTTONUP);
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(about); })) << "the About box goes";
  popup = kivora.waitForWindow(L"#32768", nullptr, kWait,
                               [](HWND w) { return IsWindowVisible(w) != FALSE; });
  ASSERT_TRUE(popup) << "and the menu opens";
  PostMessageW(popup, WM_CHAR, L'x', 0);
  EXPECT_TRUE(kivora.waitForExit());
}

std::wstring startupFolder() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder);
  return folder;
}

TEST_F(Resident, StartupShortcutIsCreatedAndDeletedOnRequest) {
  const std::wstring shortcut = startupFolder() + L"\\Kivora.lnk";
  DeleteFileW(shortcut.c_str());
  seedSettings();
  Kivora kivora;
  const HWND window = kivora.waitForMainWindow();
  ASSERT_TRUE(window);

  PostMessageW(window, kRegisterStartup, 0, 0);
  HWND box = kivora.waitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(messageBoxText(box),
            L"Are you sure you want to register this software to your startup folder?");
  pressButton(box, IDYES);
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));
  box = kivora.waitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(messageBoxText(box), L"Created a shortcut file.\n\n" + shortcut);
  pressButton(box, IDOK);
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));
  EXPECT_NE(GetFileAttributesW(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);

  // The menu marks it.
  HWND popup = nullptr;
  const auto items = openTrayMenu(kivora, window, popup);
  ASSERT_GE(items.size(), 6u);
  EXPECT_EQ(items[5], (MenuItem{L"32780", L"checked ", L"Register to Start&up Folder"}));
  PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(popup); }));

  PostMessageW(window, kRegisterStartup, 0, 0);
  box = kivora.waitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(messageBoxText(box), L"Are you sure you want to delete a startup shortcut file?");
  pressButton(box, IDYES);
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));
  box = kivora.waitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(messageBoxText(box), L"Deleted a shortcut file.");
  pressButton(box, IDOK);
  EXPECT_EQ(GetFileAttributesW(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);

  runSecond(L"/X");
  EXPECT_TRUE(kivora.waitForExit());
  DeleteFileW(shortcut.c_str());
}

}  // namespace
}  // namespace kivora::e2e
