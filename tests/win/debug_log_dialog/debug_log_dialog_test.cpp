// The debug-log settings dialog and the monitor window under Wine: starting
// a log writes the start block and the settings dump, ending it writes the
// end line, bad input keeps the dialog open with its error, and the monitor
// shows the echo and keeps its layout.

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "diag/debug_log.h"
#include "platform/win32/code_page_win32.h"
#include "platform/win32/file_access_win32.h"
#include "platform/win32/local_time_win32.h"
#include "platform/win32/version_record_win32.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "ui/debug_log_dialogs.h"
#include "win/dialog_driver.h"
#include "win/test_version.h"

namespace kivora::test {
namespace {

constexpr wchar_t kDialogTitle[] = L"デバッグ情報ログ出力設定 - Kivora";
constexpr wchar_t kMonitorTitle[] = L"デバッグ情報ログ出力モニタ - Kivora";

struct ShownBox {
  std::wstring text;
  std::wstring caption;
  UINT type;
};
std::vector<ShownBox> shownBoxes;

int WINAPI recordingBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  shownBoxes.push_back({text, caption, type});
  return MessageBoxW(owner, text, caption, type);
}

std::string ansi(const std::wstring& text) {
  std::string out(text.size() * 2 + 1, '\0');
  out.resize(WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

std::string masked(const std::string& text) {
  static const std::regex stamp(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3})");
  return std::regex_replace(text, stamp, "T");
}

class DebugLogDialog : public testing::Test {
 protected:
  void SetUp() override {
    shownBoxes.clear();
    settings.NumLockState = 3;
    settings.timer3_interval = 250;
    settings.PlaySoundFileName = u"C:\\sounds\\ding.wav";
    settings.watchedKeyboards = {u"kbd-a", u"kbd-b"};
  }
  void TearDown() override { monitor.destroy(); }

  ui::DebugLogDialogContext context(bool japanese = false) {
    return {GetModuleHandleW(nullptr),
            log,
            settings,
            monitor,
            nullptr,
            japanese,
            [] { return true; },
            [this](HWND, const wchar_t* topic) {
              helpTopics.push_back(topic);
              return false;
            },
            recordingBox};
  }

  INT_PTR run(const std::function<void(HWND)>& steps, bool japanese = false) {
    const ui::DebugLogDialogContext c = context(japanese);
    INT_PTR result = -1;
    runWithDriver([&] { result = ui::showDebugLogDialog(nullptr, c); },
                  [&] {
                    HWND dialog = waitForWindow(L"#32770", kDialogTitle);
                    ASSERT_TRUE(dialog) << "the dialog did not open";
                    steps(dialog);
                  });
    return result;
  }

  // Ticks "on" (and the monitor box if asked), types the name, presses OK.
  INT_PTR start(const std::wstring& name, bool withMonitor) {
    return run([&](HWND dialog) {
      if (IsDlgButtonChecked(dialog, IDC_DEBUGLOG_ON) != BST_CHECKED) {
        SendDlgItemMessageW(dialog, IDC_DEBUGLOG_ON, BM_CLICK, 0, 0);
      }
      CheckDlgButton(dialog, IDC_DEBUGLOG_MONITOR, withMonitor ? BST_CHECKED : BST_UNCHECKED);
      SetDlgItemTextW(dialog, IDC_DEBUGLOG_FILE, name.c_str());
      pressButton(dialog, IDOK);
    });
  }

  win32::Win32FileAccess files;
  win32::Win32LocalClock clock;
  win32::Win32CodePage codePage;
  win32::Win32VersionRecord version;
  diag::DebugLog log{{files, clock, codePage, version}};
  settings::Settings settings;
  ui::DebugMonitorDialog monitor{GetModuleHandleW(nullptr)};
  std::vector<std::wstring> helpTopics;
  ScratchFile logFile{L"debug.log"};
};

TEST_F(DebugLogDialog, OkStartsALogWithTheStartBlockAndTheSettingsDump) {
  EXPECT_EQ(start(logFile.path(), false), IDOK);
  EXPECT_TRUE(log.bDebugOut);
  EXPECT_EQ(log.szDebugOutFileName, win32::fromWide(logFile.path().c_str()));
  EXPECT_FALSE(monitor.exists());
  EXPECT_TRUE(shownBoxes.empty());

  // Unticking ends the log.
  EXPECT_EQ(run([&](HWND dialog) {
              EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DEBUGLOG_ON),
                        static_cast<UINT>(BST_CHECKED));
              EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_DEBUGLOG_FILE)));
              EXPECT_EQ(itemText(dialog, IDC_DEBUGLOG_FILE), logFile.path());
              SendDlgItemMessageW(dialog, IDC_DEBUGLOG_ON, BM_CLICK, 0, 0);
              EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_DEBUGLOG_FILE)));
              pressButton(dialog, IDOK);
            }),
            IDOK);
  EXPECT_FALSE(log.bDebugOut);
  const std::wstring dump =
      L"\r\nT  L=3001:[設定情報]  L=3002:NumLockState= 3 L=3002:RemoteCheck= 0 "
      L"L=3002:RM_NumLockState= 1"
      L" L=3002:CapsLockState= 0 L=3002:ScrollLockState= 0 L=3002:KBWatchEnabled= 1 "
      L"L=3002:PlaySound= 0"
      L" L=3002:PlaySoundFileName= C:\\sounds\\ding.wav L=3002:EnDisTTIcon= 1 L=3002:NotifyOnly= 0"
      L" L=3002:BlockInsert= 0 L=3002:ShowLockedKeyIcon= 0 L=3002:SendTK= 0 L=3002:ImeLock= 0"
      L" L=3002:timer3_interval= 250 L=3002:return_waitmsec= 0 L=3002:NoOpeningDlg= 0"
      L" L=3002:HOTKEY_ENDISTTICON= 0 L=3002:BIGDIALOG= 0 L=3002:Number of "
      L"WatchKeyboardDeviceNames= 2"
      L" L=3002:NOT_WATCH_DEV_NUMLOCK= 0 L=3002:bUseIni= 0 L=3002:modeJP= 0 L=3002:bDebugOut= 1"
      L" L=3002:szDebugOutFileName= " +
      logFile.path() + L" L=3002:bTimer5Active= 1 L=3002:InstantCheck= 1";

  EXPECT_FALSE(log.isFileOpen());
  EXPECT_EQ(masked(logFile.read()), "--- Debug Log Start ---\r\nT [START] Kivora ver." +
                                        projectVersionInLog() + " [] (x64) " + ansi(dump) +
                                        "\r\nT [END]\r\n");
}

TEST_F(DebugLogDialog, OkWhileLoggingRestartsTheLogOnTheNewFile) {
  ScratchFile second(L"second.log");
  start(logFile.path(), false);
  start(second.path(), false);
  EXPECT_TRUE(log.bDebugOut);
  log.log(diag::kLogEnd, 1, u"", u"");
  const std::string first = masked(logFile.read());
  EXPECT_EQ(first.substr(first.size() - 9), "\r\n[END]\r\n")
      << "the old file is closed without a time stamp";
  EXPECT_EQ(masked(second.read()).rfind("--- Debug Log Start ---\r\nT [START] Kivora", 0), 0u);
}

TEST_F(DebugLogDialog, OkWithAnEmptyNameShowsItsErrorAndStaysOpen) {
  std::wstring error;
  bool stillOpen = false;
  const INT_PTR result = run([&](HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_DEBUGLOG_ON, BM_CLICK, 0, 0);
    SetDlgItemTextW(dialog, IDC_DEBUGLOG_FILE, L"");
    pressButton(dialog, IDOK);
    error = answerMessageBox(L"Debug Information log setting");
    Sleep(200);
    stillOpen = IsWindowVisible(dialog);
    pressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(error, L"You need to enter filename.");
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(log.bDebugOut);
  ASSERT_EQ(shownBoxes.size(), 1u);
  EXPECT_EQ(shownBoxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

TEST_F(DebugLogDialog, AFileThatCannotBeOpenedKeepsLoggingOffInJapaneseToo) {
  const std::wstring unopenable = logFile.path() + L"-missing-folder\\debug.log";
  std::wstring error;
  run(
      [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_DEBUGLOG_ON, BM_CLICK, 0, 0);
        SetDlgItemTextW(dialog, IDC_DEBUGLOG_FILE, unopenable.c_str());
        pressButton(dialog, IDOK);
        error = answerMessageBox(L"デバッグ情報ログ出力設定");
        pressButton(dialog, IDCANCEL);
      },
      true);
  EXPECT_EQ(error, L"デバッグ情報出力ができません。");
  EXPECT_FALSE(log.bDebugOut);
  EXPECT_FALSE(log.isFileOpen());
}

TEST_F(DebugLogDialog, ControlsFollowTheBoxAndHelpOpensTheLogTopic) {
  bool disabledAtFirst = false, enabledWhenTicked = false;
  run([&](HWND dialog) {
    disabledAtFirst = true;
    for (int id :
         {IDC_DEBUGLOG_FILE, IDC_DEBUGLOG_BROWSE, IDC_DEBUGLOG_FILE_LABEL, IDC_DEBUGLOG_MONITOR}) {
      disabledAtFirst = disabledAtFirst && !IsWindowEnabled(GetDlgItem(dialog, id));
    }
    SendDlgItemMessageW(dialog, IDC_DEBUGLOG_ON, BM_CLICK, 0, 0);
    enabledWhenTicked = true;
    for (int id :
         {IDC_DEBUGLOG_FILE, IDC_DEBUGLOG_BROWSE, IDC_DEBUGLOG_FILE_LABEL, IDC_DEBUGLOG_MONITOR}) {
      enabledWhenTicked = enabledWhenTicked && IsWindowEnabled(GetDlgItem(dialog, id));
    }
    pressButton(dialog, IDHELP);
    Sleep(200);
    pressButton(dialog, IDCANCEL);
  });
  EXPECT_TRUE(disabledAtFirst);
  EXPECT_TRUE(enabledWhenTicked);
  EXPECT_EQ(helpTopics, std::vector<std::wstring>{L"HLP000020.html"});
  EXPECT_FALSE(log.bDebugOut) << "Cancel changes nothing";
}

TEST_F(DebugLogDialog, TheMonitorShowsTheEchoUnlessPausedAndKeepsHalfItsSize) {
  log.attachMonitor(&monitor.view());
  start(logFile.path(), true);
  ASSERT_TRUE(monitor.exists());
  HWND window = monitor.window();
  EXPECT_EQ(windowText(window), kMonitorTitle);

  log.log(diag::kLogEntry | diag::kLogEcho, 42, u"echo", u"one");
  const std::wstring shown = itemText(window, IDC_DEBUG_MONITOR_TEXT);
  EXPECT_NE(shown.find(L"\r\nL=0042:echo one"), std::wstring::npos) << "shown: " << shown;
  SendDlgItemMessageW(window, IDC_DEBUG_MONITOR_PAUSE, BM_CLICK, 0, 0);
  log.log(diag::kLogEntry | diag::kLogEcho, 43, u"echo", u"two");
  EXPECT_EQ(itemText(window, IDC_DEBUG_MONITOR_TEXT), shown) << "paused";

  RECT initial, edit, smallest, client;
  GetWindowRect(window, &initial);
  auto editMargins = [&] {
    GetWindowRect(GetDlgItem(window, IDC_DEBUG_MONITOR_TEXT), &edit);
    GetClientRect(window, &client);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&edit), 2);
    return std::pair(client.right - edit.right, client.bottom - edit.bottom);
  };
  const auto margins = editMargins();
  SetWindowPos(window, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(window, &smallest);
  EXPECT_EQ(smallest.right - smallest.left, (initial.right - initial.left) / 2);
  EXPECT_EQ(smallest.bottom - smallest.top, (initial.bottom - initial.top) / 2);
  SetWindowPos(window, nullptr, 0, 0, initial.right - initial.left + 80,
               initial.bottom - initial.top + 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(editMargins(), margins) << "the edit grows with the window";

  // The dialog shows the monitor as on; OK without the box closes it.
  run([&](HWND dialog) {
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DEBUGLOG_MONITOR), static_cast<UINT>(BST_CHECKED));
    CheckDlgButton(dialog, IDC_DEBUGLOG_MONITOR, BST_UNCHECKED);
    pressButton(dialog, IDOK);
  });
  EXPECT_FALSE(monitor.exists());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(log.bDebugOut);
}

TEST_F(DebugLogDialog, ClosingTheMonitorForgetsIt) {
  start(logFile.path(), true);
  ASSERT_TRUE(monitor.exists());
  SendMessageW(monitor.window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(monitor.exists());
  EXPECT_EQ(monitor.window(), nullptr);
  monitor.show(nullptr);
  ASSERT_TRUE(monitor.exists());
  SendMessageW(monitor.window(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(monitor.window(), nullptr);
}

}  // namespace
}  // namespace kivora::test
