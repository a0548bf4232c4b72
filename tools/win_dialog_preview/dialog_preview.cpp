// Opens one of the dialogs of the script editor, the About box and the debug
// log as users see them, for screenshots (tools/dialog-screenshots). The
// dialog closes itself after the given number of milliseconds.
//
//   dialog_preview.exe VIEW [ms]
//   VIEW: editor-ja | editor-en | about-ja | about-en | debuglog-ja | monitor,
//         each optionally followed by -dark (for example editor-ja-dark)

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "diag/debug_log.h"
#include "diag/win32/debug_log_dialogs.h"
#include "platform/win32/code_page_win32.h"
#include "platform/win32/file_access_win32.h"
#include "platform/win32/local_time_win32.h"
#include "platform/win32/version_record_win32.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "ui/about_box.h"
#include "ui/dialog_look.h"
#include "ui/kivora_about.h"
#include "ui/message_box.h"
#include "ui/script_editor.h"

namespace {

namespace ui = kivora::ui;
namespace diag = kivora::diag;
namespace win32 = kivora::win32;

constexpr char16_t kSampleScript[] =
    u"# 監視のたびに回数を数え、60回ごとに通知します。\r\n"
    u"DEFINE(\"KeepVar\", 1)\r\n"
    u"count++\r\n"
    u"if count % 60 == 0 {\r\n"
    u"  CB.ShellNotify(\"Kivora: \" + count, 1)\r\n"
    u"}\r\n";

BOOL CALLBACK cancelDialog(HWND window, LPARAM) {
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

void CALLBACK closeViews(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), cancelDialog, 0);
  PostQuitMessage(0);
}

bool endsWith(const std::wstring& s, const std::wstring& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int showEditor(bool japanese) {
  kivora::settings::Settings settings;
  settings.kx_script = kSampleScript;
  ui::ScriptEditorContext context{GetModuleHandleW(nullptr), settings, japanese, nullptr, nullptr,
                                  ui::ThemedMessageBox};
  return static_cast<int>(ui::ShowScriptEditor(nullptr, context));
}

int showAbout(bool japanese) {
  HWND slot = nullptr;
  return static_cast<int>(
      ui::ShowAbout(ui::KivoraAboutInfo(GetModuleHandleW(nullptr), japanese, &slot, ui::ThemedMessageBox)));
}

struct LogServices {
  win32::Win32FileAccess files;
  win32::Win32LocalClock clock;
  win32::Win32CodePage codePage;
  win32::Win32VersionRecord version;
};

int showDebugLog() {
  LogServices services;
  diag::DebugLog log({services.files, services.clock, services.codePage, services.version});
  log.szDebugOutFileName = u"C:\\users\\Public\\kivora-debug.log";
  kivora::settings::Settings settings;
  diag::DebugMonitorDialog monitor(GetModuleHandleW(nullptr));
  diag::DebugLogDialogContext context{GetModuleHandleW(nullptr), log, settings, monitor, nullptr, true, nullptr,
                                      nullptr, ui::ThemedMessageBox};
  return static_cast<int>(diag::ShowDebugLogDialog(nullptr, context));
}

int showMonitor() {
  diag::DebugMonitorDialog monitor(GetModuleHandleW(nullptr));
  monitor.show(nullptr);
  SetDlgItemTextW(monitor.window(), IDC_DEBUG_MONITOR_TEXT,
                  L"\r\n2026/05/13 09:30:00.124\r\nL=1443:WM_RBUTTONUP \r\nL=1550:[Menu] IDM_ABOUT\r\n"
                  L"L=1252:[バージョン情報表示] Kivora");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(monitor.window(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring view = argc > 1 ? argv[1] : L"editor-ja";
  const UINT ms = argc > 2 ? static_cast<UINT>(_wtoi(argv[2])) : 8000;
  LocalFree(argv);

  if (endsWith(view, L"-dark")) {
    ui::SetDarkMode(true);
    view.resize(view.size() - 5);
  }
  SetTimer(nullptr, 0, ms, closeViews);
  if (view == L"editor-ja") return showEditor(true);
  if (view == L"editor-en") return showEditor(false);
  if (view == L"about-ja") return showAbout(true);
  if (view == L"about-en") return showAbout(false);
  if (view == L"debuglog-ja") return showDebugLog();
  if (view == L"monitor") return showMonitor();
  return 2;
}
