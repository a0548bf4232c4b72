// The commands and tray clicks against the shell's state: watching, the IME
// policy sent by other instances, the flags that keep dialogs from stacking,
// and the not-yet-available dialogs.

#include "app/commands.h"

#include <gtest/gtest.h>

#include "app/tray.h"
#include "app/tray_menu.h"
#include "resource_ids.h"
#include "win/app/app_test_support.h"

namespace kivora::app {
namespace {

class Commands : public testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"Static", L"Kivora commands test", WS_POPUP, 0, 0, 10, 10,
                              nullptr, nullptr, nullptr, nullptr);
    app().mainWindow = window_;
    showBalloon(nullptr, nullptr, 0);
  }
  void TearDown() override {
    showBalloon(nullptr, nullptr, 0);
    DestroyWindow(window_);
  }
  App& app() { return *test_.app; }

  test::TestApp test_;
  HWND window_ = nullptr;
};

TEST_F(Commands, WatchingCommandsAndTheMenuFlag) {
  auto& s = app().settings;
  s.KBWatchEnabled = 1;
  app().menuOpen = true;
  runCommand(app(), IDM_OFF);
  EXPECT_EQ(s.KBWatchEnabled, 0);
  EXPECT_FALSE(app().menuOpen);
  runCommand(app(), IDM_OFF);
  EXPECT_EQ(s.KBWatchEnabled, 1);
  s.KBWatchEnabled = 2;  // stored by hand: any non-zero value is watching
  runCommand(app(), IDM_OFF);
  EXPECT_EQ(s.KBWatchEnabled, 0);
  runCommand(app(), IDM_OFF_P1);
  runCommand(app(), IDM_OFF_P1);
  EXPECT_EQ(s.KBWatchEnabled, 1);
  runCommand(app(), IDM_OFF_P0);
  EXPECT_EQ(s.KBWatchEnabled, 0);
  app().menuOpen = true;
  runCommand(app(), 0);  // the menu closed without a choice
  EXPECT_FALSE(app().menuOpen);
  EXPECT_EQ(s.KBWatchEnabled, 0);
}

TEST_F(Commands, OtherInstancesSetImeLockAndRunOnlyTheirCommands) {
  for (UINT command = IDM_IME0; command <= IDM_IME4; ++command) {
    onExecAll(app(), command);
    EXPECT_EQ(app().settings.ImeLock, static_cast<int>(command - IDM_IME0));
  }
  onExecAll(app(), IDM_OFF_P0);
  EXPECT_EQ(app().settings.KBWatchEnabled, 0);
  onExecAll(app(), IDM_OFF);
  EXPECT_EQ(app().settings.KBWatchEnabled, 1);
  // Exit, the menu's other commands and unknown numbers are not for others.
  for (UINT command : {UINT{IDM_EXIT}, UINT{IDM_STARTUP}, UINT{IDM_ABOUT}, 32785u, 32791u, 0u}) {
    onExecAll(app(), command);
  }
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_EQ(app().settings.ImeLock, 4);
}

TEST_F(Commands, DialogCommandsWaitForTheOpenDialog) {
  app().dialogOpen = true;
  app().menuOpen = true;
  // Each of these would show a box; with a dialog open none may appear.
  bool boxAppeared = false;
  test::runWithDriver(
      [&] {
        for (UINT command :
             {UINT{IDM_SETTINGS}, UINT{IDM_ABOUT}, UINT{IDM_DEBUGLOG}, UINT{IDM_STARTUP}}) {
          runCommand(app(), command);
        }
      },
      [&] { boxAppeared = test::waitForDialog(nullptr, 500) != nullptr; });
  EXPECT_FALSE(boxAppeared);
  EXPECT_TRUE(app().dialogOpen) << "the open dialog stays marked";
  EXPECT_FALSE(app().menuOpen);
}

TEST_F(Commands, AboutAndDebugLogOpenTheirDialogsMarkedOpen) {
  bool markedOpen = false;
  HWND aboutWhileOpen = nullptr;
  HWND about = nullptr;
  test::runWithDriver([&] { runCommand(app(), IDM_ABOUT); },
                      [&] {
                        about = test::waitForDialog(L"About");
                        aboutWhileOpen = app().aboutWindow;
                        markedOpen = app().dialogOpen;
                        if (about) PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
                      });
  ASSERT_TRUE(about);
  EXPECT_EQ(aboutWhileOpen, about) << "the tray knows the open About box";
  EXPECT_TRUE(markedOpen);
  EXPECT_FALSE(app().aboutWindow);
  EXPECT_FALSE(app().dialogOpen);

  HWND debugLog = nullptr;
  test::runWithDriver([&] { runCommand(app(), IDM_DEBUGLOG); },
                      [&] {
                        debugLog = test::waitForDialog(L"デバッグ情報ログ出力設定 - Kivora");
                        markedOpen = app().dialogOpen;
                        if (debugLog) PostMessageW(debugLog, WM_COMMAND, IDCANCEL, 0);
                      });
  EXPECT_TRUE(debugLog);
  EXPECT_TRUE(markedOpen);
  EXPECT_FALSE(app().dialogOpen);
}

App* execAllTarget = nullptr;

// The main window's part that matters here: MYWM_EXECALL runs onExecAll.
LRESULT CALLBACK execAllProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == MYWM_EXECALL && execAllTarget) {
    onExecAll(*execAllTarget, wParam);
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

TEST_F(Commands, SettingsDialogIsMarkedOpenAndFollowsImeFromOutside) {
  execAllTarget = &app();
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(execAllProc));
  app().settings.ImeLock = 0;
  HWND shown = nullptr;
  HWND slot = nullptr;
  bool markedOpen = false;
  LRESULT imeEntry = -1;
  test::runWithDriver([&] { runCommand(app(), IDM_SETTINGS); },
                      [&] {
                        shown = test::waitForDialog(L"Kivora Settings");
                        if (!shown) return;
                        slot = app().settingsWindow;
                        markedOpen = app().dialogOpen;
                        // A second start's "/I2" while the dialog is open.
                        SendMessageW(window_, MYWM_EXECALL, IDM_IME2, 0);
                        imeEntry = SendDlgItemMessageW(shown, IDC_IME_LOCK, CB_GETCURSEL, 0, 0);
                        PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
                      });
  execAllTarget = nullptr;
  ASSERT_TRUE(shown);
  EXPECT_EQ(slot, shown);
  EXPECT_TRUE(markedOpen);
  EXPECT_EQ(app().settings.ImeLock, 2);
  EXPECT_EQ(imeEntry, 2) << "the dialog's IME list shows the new mode";
  EXPECT_FALSE(app().dialogOpen);
  EXPECT_FALSE(app().settingsWindow);

  test::TestApp japanese(true);
  shown = nullptr;
  test::runWithDriver([&] { runCommand(*japanese.app, IDM_SETTINGS); },
                      [&] {
                        shown = test::waitForDialog(L"Kivora 設定");
                        if (shown) PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
                      });
  EXPECT_TRUE(shown) << "the Japanese layout";
}

TEST_F(Commands, ClicksOnTheTrayIconFollowTheClickSetting) {
  auto& s = app().settings;
  s.KBWatchEnabled = 1;
  s.EnDisTTIcon = 1;
  onTrayCallback(app(), WM_LBUTTONUP);
  EXPECT_EQ(s.KBWatchEnabled, 0) << "a single click pauses";
  s.EnDisTTIcon = 0;
  onTrayCallback(app(), WM_LBUTTONUP);
  EXPECT_EQ(s.KBWatchEnabled, 0) << "with the menu only, a click does nothing";
  s.EnDisTTIcon = 2;
  onTrayCallback(app(), WM_LBUTTONUP);
  EXPECT_EQ(s.KBWatchEnabled, 0);
  onTrayCallback(app(), WM_LBUTTONDBLCLK);
  EXPECT_EQ(s.KBWatchEnabled, 1) << "a double click resumes";
  // Any other double click opens the settings dialog, unless one is open.
  s.EnDisTTIcon = 1;
  app().menuOpen = true;
  bool boxAppeared = false;
  test::runWithDriver([&] { onTrayCallback(app(), WM_LBUTTONDBLCLK); },
                      [&] { boxAppeared = test::waitForDialog(nullptr, 500) != nullptr; });
  EXPECT_FALSE(boxAppeared) << "the menu is up";
  EXPECT_EQ(s.KBWatchEnabled, 1);
}

TEST_F(Commands, RightClickWhileTheSettingsDialogIsInFrontAsksToCloseIt) {
  const HWND settings = CreateWindowExW(0, L"#32770", L"settings", WS_POPUP | WS_VISIBLE, 0, 0, 100,
                                        100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(settings);
  test::pumpMessages();
  app().dialogOpen = true;
  app().settingsWindow = settings;
  onTrayCallback(app(), WM_RBUTTONUP);
  const auto pending = pendingBalloon().pending();
  EXPECT_EQ(pending.text, u"Close the dialog box.");
  EXPECT_EQ(pending.type, monitor::kBalloonWarning);
  EXPECT_EQ(GetForegroundWindow(), settings);
  EXPECT_TRUE(app().dialogOpen);
  EXPECT_FALSE(app().menuOpen) << "no menu";
  app().settingsWindow = nullptr;
  app().dialogOpen = false;
  DestroyWindow(settings);
}

}  // namespace
}  // namespace kivora::app
