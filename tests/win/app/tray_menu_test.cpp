// The tray menu as the program's own resources hold it, prepared for each
// way the tray icon toggles watching.

#include "app/tray_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/handles.h"
#include "resource_ids.h"
#include "win/app/app_test_support.h"

namespace kivora::app {
namespace {

std::wstring itemText(HMENU menu, UINT id) {
  wchar_t text[256] = {};
  GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND);
  return text;
}

bool checked(HMENU menu, UINT id) {
  return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

class TrayMenu : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    menu_.reset(LoadMenuW(GetModuleHandleW(nullptr),
                          MAKEINTRESOURCEW(japanese() ? IDR_TRAYMENU_JA : IDR_TRAYMENU_EN)));
    ASSERT_TRUE(menu_);
    popup_ = GetSubMenu(menu_.get(), 0);
  }
  bool japanese() const { return GetParam(); }
  win32::UniqueMenu menu_;
  HMENU popup_ = nullptr;
};

TEST_P(TrayMenu, FirstItemsAndDefaultFollowTheClickSetting) {
  struct Case {
    int enDisTTIcon;
    UINT defaultItem;
    const wchar_t* settings[2];  // English, Japanese
    const wchar_t* pause[2];
  };
  const Case cases[] = {
      {1,
       IDM_SETTINGS,
       {L"&Settings...\tDoubleClick", L"設定(&S)...\tDoubleClick"},
       {L"Pause t&o watch the keyboard\tClick", L"一時的にキーボード監視をオフにする(&O)\tClick"}},
      {2,
       IDM_OFF,
       {L"&Settings...", L"設定(&S)..."},
       {L"Pause t&o watch the keyboard\tDoubleClick",
        L"一時的にキーボード監視をオフにする(&O)\tDoubleClick"}},
      {0,
       IDM_SETTINGS,
       {L"&Settings...\tDoubleClick", L"設定(&S)...\tDoubleClick"},
       {L"Pause t&o watch the keyboard", L"一時的にキーボード監視をオフにする(&O)"}},
      {7,
       IDM_SETTINGS,
       {L"&Settings...\tDoubleClick", L"設定(&S)...\tDoubleClick"},
       {L"Pause t&o watch the keyboard", L"一時的にキーボード監視をオフにする(&O)"}},
  };
  const int lang = japanese() ? 1 : 0;
  for (const auto& c : cases) {
    setTrayMenuLook(popup_, c.enDisTTIcon, japanese());
    EXPECT_EQ(GetMenuDefaultItem(popup_, FALSE, 0), c.defaultItem) << c.enDisTTIcon;
    EXPECT_EQ(itemText(popup_, IDM_SETTINGS), c.settings[lang]) << c.enDisTTIcon;
    EXPECT_EQ(itemText(popup_, IDM_OFF), c.pause[lang]) << c.enDisTTIcon;
    EXPECT_EQ(GetMenuItemID(popup_, 0), UINT{IDM_SETTINGS}) << "the items keep their places";
    EXPECT_EQ(GetMenuItemID(popup_, 1), UINT{IDM_OFF});
  }
}

TEST_P(TrayMenu, CheckMarksComeAndGo) {
  setTrayMenuCheck(popup_, IDM_OFF, true);
  setTrayMenuCheck(popup_, IDM_STARTUP, true);
  EXPECT_TRUE(checked(popup_, IDM_OFF));
  EXPECT_TRUE(checked(popup_, IDM_STARTUP));
  setTrayMenuCheck(popup_, IDM_OFF, false);
  EXPECT_FALSE(checked(popup_, IDM_OFF));
  EXPECT_TRUE(checked(popup_, IDM_STARTUP));
  // The English menu has no debug-log item; marking it changes nothing.
  setTrayMenuCheck(popup_, IDM_DEBUGLOG, true);
  EXPECT_EQ(GetMenuItemCount(popup_), japanese() ? 10 : 8);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, TrayMenu, testing::Bool(),
                         [](const auto& info) { return info.param ? "Japanese" : "English"; });

TEST(FileExists, FilesFoldersAndNothing) {
  test::ScratchDirectory folder;
  const std::wstring file = folder.file(L"Kivora.ini");
  EXPECT_FALSE(fileExists(file));
  EXPECT_FALSE(fileExists(L""));
  CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  EXPECT_TRUE(fileExists(file));
  EXPECT_FALSE(fileExists(L"Q:\\no\\such\\drive.lnk"));
}

}  // namespace
}  // namespace kivora::app
