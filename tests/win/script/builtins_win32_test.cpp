// The system builtins against the real Win32 calls under Wine: scripts run
// through the engine on a script thread, and the test checks the effect with
// the Win32 API (or arranges the world with it first).

#include <windows.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/unicode.h"
#include "platform/win32/handles.h"
#include "platform/win32/script_system.h"
#include "platform/win32/wide.h"
#include "unit/script/script_runner.h"
#include "win/test_paths.h"

namespace kivora::script::testing {
namespace {

using win32::Win32ScriptSystem;

class Win32Runner : public BasicScriptRunner<Win32ScriptSystem> {
 public:
  Win32Runner() { host.ownerWindow = 0; }  // the fake's made-up handle would not open the clipboard
};

// --- small Win32 helpers ---------------------------------------------------------

std::u16string clipboardText() {
  std::u16string text;
  if (!OpenClipboard(nullptr)) return u"<cannot open>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = win32::fromWide(units);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Pumps the calling thread's messages for a while, so that windows it owns
// take in queued input.
void pumpMessages(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

// A top-level window with an edit box, brought to the front, on a thread of
// its own that keeps taking its messages: the script's calls that reach it
// (window text, IME control) are messages answered while the test waits.
class FrontWindow {
 public:
  explicit FrontWindow(const wchar_t* title) {
    thread_ = std::thread([this, title] {
      window_ = CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                                120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
      edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 200, 24,
                              window_, nullptr, GetModuleHandleW(nullptr), nullptr);
      SetForegroundWindow(window_);
      SetFocus(edit_);
      ready_ = true;
      while (!stop_) pumpMessages(std::chrono::milliseconds(20));
      DestroyWindow(window_);
    });
    while (!ready_) Sleep(10);
    Sleep(200);
  }
  ~FrontWindow() {
    stop_ = true;
    thread_.join();
  }
  FrontWindow(const FrontWindow&) = delete;
  FrontWindow& operator=(const FrontWindow&) = delete;

  HWND window() const { return window_; }
  std::wstring editText() const {
    wchar_t buffer[256] = {};
    GetWindowTextW(edit_, buffer, 256);
    return buffer;
  }

 private:
  std::thread thread_;
  std::atomic<bool> ready_{false};
  std::atomic<bool> stop_{false};
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
};

// --- clipboard -------------------------------------------------------------------

TEST(Win32Clipboard, TextRoundTripsThroughTheRealClipboard) {
  Win32Runner r;
  r.run(
      "CB.OUT(SETCLIPBOARDTEXT(\"Kivora \xE6\x97\xA5\xE6\x9C\xAC \xC3\xA9\"), "
      "GETCLIPBOARDTEXT())\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "s:Kivora \xE6\x97\xA5\xE6\x9C\xAC \xC3\xA9"}));
  EXPECT_EQ(clipboardText(), u"Kivora \u65E5\u672C \u00E9");

  // With a real owner window, as Kivora gives its main window.
  FrontWindow owner(L"Kivora clipboard owner");
  r.host.ownerWindow = reinterpret_cast<HostWindow>(owner.window());
  r.out.clear();
  r.run(
      "CB.OUT(SETCLIPBOARDTEXT(\"\"), GETCLIPBOARDTEXT(), SETCLIPBOARDTEXT(\"second\"), "
      "GETCLIPBOARDTEXT())\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "s:", "i:1", "s:second"}));
  EXPECT_EQ(GetClipboardOwner(), owner.window());
}

TEST(Win32Clipboard, ReadsAnotherProgramsText) {
  // kxscript.exe, a process of its own, puts text on the clipboard.
  const std::wstring script = test::besideTestProgram(L"clipboard_writer.kxs");
  {
    std::ofstream file(std::filesystem::path(script), std::ios::binary);
    file << "SETCLIPBOARDTEXT(\"from another program \xE2\x9C\x93\")\n";
  }
  std::wstring commandLine =
      L"\"" + test::besideTestProgram(L"kxscript.exe") + L"\" \"" + script + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, 30000);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DeleteFileW(script.c_str());
  ASSERT_EQ(exitCode, 0u);

  Win32Runner r;
  r.run("CB.OUT(GETCLIPBOARDTEXT())\n");
  EXPECT_EQ(r.out, (Lines{"s:from another program \xE2\x9C\x93"}));
}

TEST(Win32Clipboard, AClipboardHeldOpenElsewhereFailsQuietly) {
  std::atomic<bool> opened{false};
  std::atomic<bool> release{false};
  std::thread holder([&] {
    // OpenClipboard belongs to the thread that calls it: this one keeps it.
    HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    opened = OpenClipboard(window) != FALSE;
    while (!release) Sleep(10);
    if (opened) CloseClipboard();
    DestroyWindow(window);
  });
  while (!opened) Sleep(10);
  Win32Runner r;
  r.run("CB.OUT(SETCLIPBOARDTEXT(\"blocked\"), GETCLIPBOARDTEXT())\n");
  release = true;
  holder.join();
  EXPECT_EQ(r.out, (Lines{"i:0", "s:"}));
  EXPECT_TRUE(r.errors.empty());
}

// --- keyboard --------------------------------------------------------------------

TEST(Win32Keyboard, KeybdEventTogglesNumLockAndGetKeyStateSeesIt) {
  Win32Runner r;
  // The script thread is new: its toggle bits read 0 until the first change,
  // so it compares the states after two changes.
  r.run(
      "KEYBDEVENT(VK_NUMLOCK, 1)\nKEYBDEVENT(VK_NUMLOCK, 0)\nSLEEP(100)\na = "
      "GETKEYSTATE(VK_NUMLOCK) & 1\n"
      "KEYBDEVENT(VK_NUMLOCK, 1)\nKEYBDEVENT(VK_NUMLOCK, 0)\nSLEEP(100)\nb = "
      "GETKEYSTATE(VK_NUMLOCK) & 1\n"
      "CB.OUT(a, b, a != b)\n");
  ASSERT_EQ(r.out.size(), 3u);
  EXPECT_EQ(r.out[2], "i:1") << r.out[0] << " then " << r.out[1];
}

TEST(Win32Keyboard, UnicodeInputTypesIntoTheFocusedEdit) {
  FrontWindow front(L"Kivora typing target");
  Win32Runner r;
  r.run(
      "CB.OUT(SENDINPUTUNICODE(\"\xC3\xA9\", 1), SENDINPUTUNICODE(\"\xC3\xA9\", 0),"
      " SENDINPUTUNICODE(\"k\", 1), SENDINPUTUNICODE(\"k\", 0))\nSLEEP(300)\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:1", "i:1", "i:1"}));
  EXPECT_EQ(front.editText(), L"\u00E9k");
}

// --- mouse -----------------------------------------------------------------------

TEST(Win32Mouse, CursorPositionIsSetAndReadBack) {
  Win32Runner r;
  r.run(
      "CB.OUT(SETCURSORPOS(123, 234))\nSLEEP(50)\nCB.OUT(GETCURSORPOSX(), GETCURSORPOSY())\n"
      "SETCURSORPOS(300, 300)\nSLEEP(50)\nCB.OUT(MOVEMOUSE(40, "
      "0))\nSLEEP(100)\nCB.OUT(GETCURSORPOSX() > 300)\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:123", "i:234", "i:1", "i:1"}));
  POINT p{};
  GetCursorPos(&p);
  EXPECT_GT(p.x, 300);
}

// --- window title and IME --------------------------------------------------------

TEST(Win32Windows, ActiveWindowTitleEqualsTheScriptsOwnLiteral) {
  FrontWindow front(L"Kivora \u30BF\u30A4\u30C8\u30EB \u00E9");
  ASSERT_EQ(GetForegroundWindow(), front.window());
  Win32Runner r;
  r.run(
      "t = GETACTIVEWINDOWTITLE()\n"
      "CB.OUT(t, t == \"Kivora \xE3\x82\xBF\xE3\x82\xA4\xE3\x83\x88\xE3\x83\xAB \xC3\xA9\")\n");
  EXPECT_EQ(r.out,
            (Lines{"s:Kivora \xE3\x82\xBF\xE3\x82\xA4\xE3\x83\x88\xE3\x83\xAB \xC3\xA9", "i:1"}));
}

TEST(Win32Windows, ImeStateIsWhatTheForegroundsImeWindowReports) {
  FrontWindow front(L"Kivora IME target");
  const HWND ime = ImmGetDefaultIMEWnd(front.window());
  const auto status = [&] {
    return "i:" + std::to_string(SendMessageW(ime, WM_IME_CONTROL, 5, 0));
  };
  Win32Runner r;
  r.run("CB.OUT(GETIMESTATE())\n");
  if (!ime) {
    EXPECT_EQ(r.out, (Lines{"i:-1"}));
    return;
  }
  EXPECT_EQ(r.out, (Lines{status()}));
  // Without an input method installed the IME may stay closed; either way the
  // builtins pass the message pair through and report what comes back.
  for (const char* open : {"1", "0"}) {
    r.out.clear();
    r.run(std::string("SETIMESTATE(") + open + ")\nCB.OUT(GETIMESTATE())\n");
    EXPECT_EQ(r.out, (Lines{status()})) << open;
  }
}

// --- monitors and devices --------------------------------------------------------

TEST(Win32Monitors, TheVirtualDisplayIsOneMonitor) {
  Win32Runner r;
  r.run(
      "n = GETMONITORSRECT(\"l\", \"t\", \"r\", \"b\", \"w\", \"h\")\n"
      "CB.OUT(n, l[0], t[0], r[0], b[0], w[0], h[0])\n");
  const std::string cx = std::to_string(GetSystemMetrics(SM_CXSCREEN));
  const std::string cy = std::to_string(GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(r.out, (Lines{"i:" + std::to_string(GetSystemMetrics(SM_CMONITORS)), "i:0", "i:0",
                          "i:" + cx, "i:" + cy, "i:" + cx, "i:" + cy}));
  EXPECT_EQ(r.out[0], "i:1");
}

TEST(Win32Devices, KeyboardListMatchesTheRawInputList) {
  std::vector<std::string> expected;
  UINT count = 0;
  ASSERT_EQ(GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)), 0u);
  std::vector<RAWINPUTDEVICELIST> list(count);
  if (count) {
    ASSERT_EQ(GetRawInputDeviceList(list.data(), &count, sizeof(RAWINPUTDEVICELIST)), count);
  }
  for (const RAWINPUTDEVICELIST& device : list) {
    if (device.dwType != RIM_TYPEKEYBOARD) continue;
    wchar_t name[1024] = {};
    UINT size = 1024;
    if (static_cast<int>(GetRawInputDeviceInfoW(device.hDevice, RIDI_DEVICENAME, name, &size)) < 0)
      continue;
    std::wstring cut = name;
    const std::size_t first = cut.find(L'#');
    if (first != std::wstring::npos && cut.find(L'#', first + 1) != std::wstring::npos)
      cut.resize(cut.find(L'#', first + 1));
    expected.push_back("s:" + utf16ToUtf8(win32::fromWide(cut.c_str())));
  }
  ASSERT_FALSE(expected.empty()) << "Wine lists no keyboard";

  Win32Runner r;
  r.run(
      "n = GETKEYINPUTDEVICELIST(\"kb\")\nCB.OUT(n)\nfor (i = 0, i < n, i++) "
      "{\nCB.OUT(kb[i])\n}\n");
  ASSERT_FALSE(r.out.empty());
  EXPECT_EQ(r.out[0], "i:" + std::to_string(expected.size()));
  EXPECT_EQ(Lines(r.out.begin() + 1, r.out.end()), expected);
}

// --- environment -----------------------------------------------------------------

TEST(Win32Environment, SetEnvIsSeenByTheProcessAndNamesIgnoreCase) {
  Win32Runner r;
  r.run(
      "CB.OUT(GETENV(\"KIVORA_WIN_TEST\"), SETENV(\"Kivora_Win_Test\", "
      "\"\xE6\x97\xA5\xE6\x9C\xAC\"),"
      " GETENV(\"kivora_win_test\"), SETENV(\"\", \"x\"))\n");
  EXPECT_EQ(r.out, (Lines{"s:", "i:1", "s:\xE6\x97\xA5\xE6\x9C\xAC", "i:0"}));
  wchar_t value[64] = {};
  EXPECT_GT(GetEnvironmentVariableW(L"KIVORA_WIN_TEST", value, 64), 0u);
  EXPECT_STREQ(value, L"\u65E5\u672C");
  SetEnvironmentVariableW(L"KIVORA_WIN_TEST", nullptr);
}

// --- INPUT -----------------------------------------------------------------------

// Waits for the INPUT dialog, types text into its edit box and presses button.
std::thread answerInput(const wchar_t* title, const wchar_t* text, int button) {
  return std::thread([=] {
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && !dialog; ++i) {
      dialog = FindWindowW(L"#32770", title);
      if (!dialog) Sleep(10);
    }
    if (!dialog) return;
    SetDlgItemTextW(dialog, 101, text);
    PostMessageW(dialog, WM_COMMAND, button, 0);
  });
}

TEST(Win32Input, TheDialogHandsBackWhatWasTyped) {
  Win32Runner r;
  std::thread helper = answerInput(L"Input", L"typed \u00E9", IDOK);
  r.run("CB.OUT(INPUT(\"Your name?\"))\n");
  helper.join();
  EXPECT_EQ(r.out, (Lines{"s:typed \xC3\xA9"}));

  r.out.clear();
  helper = answerInput(L"Kivora asks", L"", IDOK);
  r.run("CB.OUT(INPUT(\"Empty is fine\", \"Kivora asks\"))\n");
  helper.join();
  EXPECT_EQ(r.out, (Lines{"s:"}));
}

TEST(Win32Input, CancelGivesAnEmptyString) {
  Win32Runner r;
  std::thread helper = answerInput(L"Input", L"not wanted", IDCANCEL);
  r.run("CB.OUT(INPUT(\"Say something\", \"\"))\n");
  helper.join();
  EXPECT_EQ(r.out, (Lines{"s:"}));
}

}  // namespace
}  // namespace kivora::script::testing
