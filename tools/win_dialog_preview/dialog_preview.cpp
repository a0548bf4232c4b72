// Opens one of Kivora's dialogs as users see them, for screenshots
// (tools/dialog-screenshots). The dialog closes itself after the given number
// of milliseconds.
//
//   dialog_preview.exe VIEW [ms]
//   VIEW: editor-ja | editor-en | about-ja | about-en | debuglog-ja | monitor |
//         settings-ja | settings-en | rules-ja | rules-en | rule-edit-ja |
//         rule-edit-en | devices-ja | devices-en | running-ja | running-en |
//         opening | input-ja | input-en | messagebox-ja | messagebox-en (dialog_views.h), each
//         optionally followed by -dark (the dark look) and then -hc (as in High Contrast), for
//         example editor-ja-dark or settings-en-dark-hc

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "dialog_views.h"
#include "ui/dialog_look.h"

namespace {

BOOL CALLBACK cancelDialog(HWND window, LPARAM) {
  PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

void CALLBACK closeViews(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), cancelDialog, 0);
  PostQuitMessage(0);
}

// Takes `tail` off the end of `s` if it is there.
bool takeSuffix(std::wstring& s, std::wstring_view tail) {
  if (s.size() < tail.size() || s.compare(s.size() - tail.size(), tail.size(), tail) != 0)
    return false;
  s.resize(s.size() - tail.size());
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring view = argc > 1 ? argv[1] : L"editor-ja";
  const UINT ms = argc > 2 ? static_cast<UINT>(_wtoi(argv[2])) : 8000;
  LocalFree(argv);

  if (takeSuffix(view, L"-hc")) kivora::ui::setHighContrast(true);
  if (takeSuffix(view, L"-dark")) kivora::ui::setDarkMode(true);
  SetTimer(nullptr, 0, ms, closeViews);
  return kivora::tools::showDialogView(view);
}
