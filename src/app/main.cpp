// Kivora's entry point. For now the program starts, puts its icon in the
// notification area and stays resident until Exit is chosen from its menu.

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"

namespace {

constexpr UINT kTrayCallback = WM_APP;
constexpr UINT kTrayIconId = 156599;

bool japaneseMode() {
  wchar_t value[81] = {};
  if (GetEnvironmentVariableW(L"KIVORA_LANG", value, 81) > 0) {
    return lstrcmpiW(value, L"JA") == 0;
  }
  return PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_JAPANESE;
}

struct App {
  HINSTANCE instance = nullptr;
  bool japanese = true;
  kivora::win32::UniqueMenu menu;
  HICON icon = nullptr;
};
App app;

void addTrayIcon(HWND window) {
  NOTIFYICONDATAW nid = {};
  nid.cbSize = sizeof nid;
  nid.hWnd = window;
  nid.uID = kTrayIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kTrayCallback;
  nid.hIcon = app.icon;
  lstrcpynW(nid.szTip, L"Kivora", ARRAYSIZE(nid.szTip));
  Shell_NotifyIconW(NIM_ADD, &nid);
}

void removeTrayIcon(HWND window) {
  NOTIFYICONDATAW nid = {};
  nid.cbSize = sizeof nid;
  nid.hWnd = window;
  nid.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &nid);
}

void showTrayMenu(HWND window) {
  POINT pt;
  GetCursorPos(&pt);
  SetForegroundWindow(window);
  const UINT cmd = TrackPopupMenu(GetSubMenu(app.menu.get(), 0),
                                  TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN | TPM_RIGHTALIGN,
                                  pt.x, pt.y, 0, window, nullptr);
  PostMessageW(window, WM_NULL, 0, 0);
  if (cmd == IDM_EXIT) DestroyWindow(window);
}

LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      addTrayIcon(window);
      return 0;
    case kTrayCallback:
      if (lp == WM_RBUTTONUP) showTrayMenu(window);
      return 0;
    case WM_CLOSE:
      return 0;
    case WM_DESTROY:
      removeTrayIcon(window);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, msg, wp, lp);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  app.instance = instance;
  app.japanese = japaneseMode();
  app.icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KIVORA), IMAGE_ICON, 16, 16, 0));
  app.menu.reset(LoadMenuW(instance, MAKEINTRESOURCEW(app.japanese ? IDR_TRAYMENU_JA : IDR_TRAYMENU_EN)));

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KIVORA));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"Kivora";
  RegisterClassExW(&wc);

  HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST,
                                L"Kivora", L"Kivora", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 200, 124,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 0;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (app.icon) DestroyIcon(app.icon);
  return static_cast<int>(msg.wParam);
}
