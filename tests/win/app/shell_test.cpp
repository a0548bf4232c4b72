// The shell's services to the monitor and the settings store, the notice
// window's drawing, the start-up shortcut and the help viewer.

#include "app/shell.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include "app/help.h"
#include "app/startup_shortcut.h"
#include "app/tray.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "ui/dialog_look.h"
#include "ui/look_rules.h"
#include "win/app/app_test_support.h"
#include "win/test_paths.h"

namespace kivora::app {
namespace {

COLORREF pixelAt(HWND window, int x, int y) {
  win32::WindowDC dc(window);
  return GetPixel(dc.get(), x, y);
}

// The notice as the monitor makes it at 150 %: everything half as big again.
monitor::ScreenNotice noticeAt150() {
  monitor::ScreenNotice notice;
  notice.x = 300;
  notice.y = 200;
  notice.width = 300;
  notice.height = 186;
  notice.textHeight = 24;
  notice.backgroundColor = 0;
  notice.lines = {{0, 60, 0xE0FFFF, u" NumLock : ON  "}, {0, 132, 0xFFFFE0, u" ScrollLock : OFF "}};
  return notice;
}

// The rows of the notice's left column that hold `colour`.
int rowsOf(HWND window, COLORREF colour, int height) {
  int rows = 0;
  for (int y = 0; y < height; ++y) rows += pixelAt(window, 1, y) == colour ? 1 : 0;
  return rows;
}

TEST(Notice, DrawnWhereAndAsLargeAsTheMonitorSaysAndKeptAfterThePaint) {
  const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP, 0, 0, 200, 124,
                                      nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  const monitor::ScreenNotice notice = noticeAt150();
  drawNotice(window, notice);
  test::pumpMessages();  // whatever paint was owed has run now

  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.top, 200);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 186);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetForegroundWindow(), window) << "shown without activation";
  EXPECT_EQ(pixelAt(window, 1, 61), 0u) << "the first line's background";
  EXPECT_EQ(pixelAt(window, 1, 133), 0u) << "the last line's background";
  EXPECT_NE(pixelAt(window, 1, 100), 0u) << "no line there";
  EXPECT_EQ(rowsOf(window, 0, 186), 2 * 24) << "two lines, each a 24-pixel cell high";
  DestroyWindow(window);
}

TEST(Notice, HighContrastTakesTheSystemColoursButNeverTheTransparentOne) {
  const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_LAYERED, L"Static", L"", WS_POPUP, 0,
                                      0, 200, 124, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  // The transparent colour is the system's window colour itself.
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  SetLayeredWindowAttributes(window, background, 255, LWA_COLORKEY);
  ui::setHighContrast(true);
  drawNotice(window, noticeAt150());
  test::pumpMessages();
  ui::setHighContrast(false);
  EXPECT_EQ(pixelAt(window, 1, 61), ui::apartFrom(background, background));
  EXPECT_NE(pixelAt(window, 1, 61), background);
  DestroyWindow(window);
}

TEST(AppShell, WithoutAMainWindowASaveOnlyCollectsItsWarning) {
  test::TestApp test;
  App& app = *test.app;
  showBalloon(nullptr, nullptr, 0);
  app.settings.HOTKEY_ENDISTTICON = VK_F9;
  app.shell.showSaveWarning(u"first");
  app.shell.showSaveWarning(u"second");
  app.shell.registerPauseHotkey();
  EXPECT_EQ(pendingBalloon().pending().text, u"second") << "each save's warning replaces the last";
  EXPECT_EQ(pendingBalloon().pending().type, monitor::kBalloonWarning);
  // No hotkey went to the thread: the combination is still free here.
  EXPECT_TRUE(RegisterHotKey(nullptr, 32777, 0, VK_F9));
  UnregisterHotKey(nullptr, 32777);
  showBalloon(nullptr, nullptr, 0);
}

TEST(Help, PathsOfTheHelpFile) {
  EXPECT_EQ(helpPath(nullptr), L".\\Kivora.chm");
  EXPECT_EQ(helpPath(L"HLP000001.html"), L".\\Kivora.chm::/_RESOURCE/HLP000001.html");
}

std::wstring loadedPath(const wchar_t* name) {
  const HMODULE module = GetModuleHandleW(name);
  if (!module) return {};
  return win32::wide(win32::modulePath(module));
}

std::wstring systemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}

TEST(Help, ViewerComesOnlyFromTheSystemFolder) {
  // A planted hhctrl.ocx beside the program, where a plain LoadLibrary looks first.
  const std::wstring planted = test::besideTestProgram(L"hhctrl.ocx");
  ASSERT_TRUE(
      CopyFileW(test::besideTestProgram(L"decoy_hhctrl.dll").c_str(), planted.c_str(), FALSE));
  test::TestApp test;
  const bool opened = openHelp(*test.app, nullptr, L"HLP000001.html");
  const std::wstring loaded = loadedPath(L"hhctrl.ocx");
  closeHelp();
  DeleteFileW(planted.c_str());
  EXPECT_FALSE(opened) << "there is no help file here; the planted viewer would have said yes";
  ASSERT_FALSE(loaded.empty());
  EXPECT_EQ(CompareStringOrdinal(loaded.c_str(), -1, (systemFolder() + L"\\hhctrl.ocx").c_str(), -1,
                                 TRUE),
            CSTR_EQUAL)
      << std::string(loaded.begin(), loaded.end());
}

TEST(StartupShortcut, PathInTheStartupFolder) {
  wchar_t folder[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder), S_OK);
  EXPECT_EQ(startupShortcutPath(), std::wstring(folder) + L"\\Kivora.lnk");
}

TEST(StartupShortcut, LinkPointsAtTheProgram) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  test::ScratchDirectory folder;
  const std::wstring link = folder.file(L"Kivora.lnk");
  const std::wstring target = win32::wide(win32::modulePath(nullptr));
  ASSERT_TRUE(createShortcut(target, link));

  IShellLinkW* shellLink = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                             reinterpret_cast<void**>(&shellLink)),
            S_OK);
  IPersistFile* file = nullptr;
  ASSERT_EQ(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_EQ(file->Load(link.c_str(), STGM_READ), S_OK);
  wchar_t path[MAX_PATH] = {};
  shellLink->GetPath(path, MAX_PATH, nullptr, 0);
  file->Release();
  shellLink->Release();
  DeleteFileW(link.c_str());
  EXPECT_EQ(CompareStringOrdinal(path, -1, target.c_str(), -1, TRUE), CSTR_EQUAL);

  EXPECT_FALSE(createShortcut(target, folder.file(L"no\\such\\folder\\Kivora.lnk")));
  CoUninitialize();
}

}  // namespace
}  // namespace kivora::app
