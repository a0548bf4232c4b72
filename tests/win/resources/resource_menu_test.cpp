// The tray menus are read back from the built Kivora.exe, the way Windows
// loads them, so a wrong id, text or code page in the .rc shows up here.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "resource_ids.h"
#include "win/kivora_module.h"

namespace {

struct Item {
  UINT id;  // 0 = separator
  std::wstring text;
};

std::vector<Item> readMenu(HMODULE module, int resource) {
  kivora::win32::UniqueMenu menu(LoadMenuW(module, MAKEINTRESOURCEW(resource)));
  EXPECT_TRUE(menu) << "menu " << resource;
  if (!menu) return {};
  HMENU popup = GetSubMenu(menu.get(), 0);
  std::vector<Item> items;
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    wchar_t text[256] = {};
    info.dwTypeData = text;
    info.cch = 256;
    EXPECT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &info));
    items.push_back({(info.fType & MFT_SEPARATOR) ? 0u : info.wID, text});
  }
  return items;
}

void expectItems(const std::vector<Item>& actual, const std::vector<Item>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i].id, expected[i].id) << "item " << i;
    EXPECT_EQ(actual[i].text, expected[i].text) << "item " << i;
  }
}

TEST(TrayMenus, JapaneseMenuHasEveryItemInOrder) {
  expectItems(readMenu(kivora::test::kivoraModule(), IDR_TRAYMENU_JA),
              {
                  {IDM_SETTINGS, L"設定(&S)...\tDoubleClick"},
                  {IDM_OFF, L"一時的にキーボード監視をオフにする(&O)\tClick"},
                  {IDC_OPEN_DOC, L"ヘルプ(&H)"},
                  {IDM_FEEDBACK, L"フィードバック(&F)"},
                  {IDM_ABOUT, L"バージョン情報／開発支援金受付(&A)"},
                  {IDM_DEBUGLOG, L"デバッグ情報ログ出力(&D)..."},
                  {0, L""},
                  {IDM_STARTUP, L"スタートアップに登録(&U)"},
                  {0, L""},
                  {IDM_EXIT, L"終了(&X)"},
              });
}

TEST(TrayMenus, EnglishMenuLeavesOutFeedbackAndDebugLog) {
  expectItems(readMenu(kivora::test::kivoraModule(), IDR_TRAYMENU_EN),
              {
                  {IDM_SETTINGS, L"&Settings...\tDoubleClick"},
                  {IDM_OFF, L"Pause t&o watch the keyboard\tClick"},
                  {IDC_OPEN_DOC, L"&Help"},
                  {IDM_ABOUT, L"&About..."},
                  {0, L""},
                  {IDM_STARTUP, L"Register to Start&up Folder"},
                  {0, L""},
                  {IDM_EXIT, L"E&xit"},
              });
}

TEST(TrayMenus, VersionRecordCarriesTheFieldsTheLogReads) {
  const std::wstring exe = kivora::test::besideTestProgram(L"Kivora.exe");
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
  for (const wchar_t* field : {L"FileVersion", L"SpecialBuild", L"PrivateBuild"}) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + field;
    void* value = nullptr;
    UINT length = 0;
    EXPECT_TRUE(VerQueryValueW(block.data(), path.c_str(), &value, &length)) << path.c_str();
  }
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(
      VerQueryValueW(block.data(), L"\\StringFileInfo\\041104b0\\FileVersion", &value, &length));
  unsigned parts[4] = {};
  EXPECT_EQ(swscanf(static_cast<wchar_t*>(value), L"%u.%u.%u.%u", &parts[0], &parts[1], &parts[2],
                    &parts[3]),
            4);
}

// The version is written once, as the CMake project version; the record's
// texts and numbers must all say the same, as the log, the About box and
// Explorer each read a different one of them.
TEST(VersionRecord, HoldsTheProjectVersionInTextsAndNumbers) {
  const std::wstring exe = kivora::test::besideTestProgram(L"Kivora.exe");
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

  for (const wchar_t* field : {L"FileVersion", L"ProductVersion"}) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + field;
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), &value, &length)) << path.c_str();
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), L"" KIVORA_TEST_VERSION)
        << path.c_str();
  }

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  const DWORD high = MAKELONG(KIVORA_TEST_VERSION_MINOR, KIVORA_TEST_VERSION_MAJOR);
  const DWORD low = MAKELONG(KIVORA_TEST_VERSION_TWEAK, KIVORA_TEST_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);
}

TEST(TrayMenus, ManifestNamesTheProgramWithTheProjectVersion) {
  HRSRC found = FindResourceW(kivora::test::kivoraModule(), MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(found, nullptr);
  const auto* bytes =
      static_cast<const char*>(LockResource(LoadResource(kivora::test::kivoraModule(), found)));
  ASSERT_NE(bytes, nullptr);
  const std::string manifest(bytes, SizeofResource(kivora::test::kivoraModule(), found));
  EXPECT_NE(manifest.find("name=\"Orvanta.Kivora\" version=\"" KIVORA_TEST_VERSION "\""),
            std::string::npos)
      << manifest;
}

}  // namespace
