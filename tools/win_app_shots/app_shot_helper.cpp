// Drives a running Kivora.exe the way Windows and a user would, for
// screenshots (tools/app-screenshots). Each step is one argument:
//
//   keys:NCS        set NumLock, CapsLock, ScrollLock (1 = on, 0 = off)
//   backdrop        a desktop-coloured window behind everything, for the
//                   notice to be seen on (lives as long as the helper)
//   wait:MS         sleep
//   window          wait until Kivora's window exists
//   rclick          right-click on the tray icon (opens the menu)
//   flash:MS        the flash message, again and again for MS milliseconds
//   post:MSG:WPARAM post a message to Kivora's window
//   exit            "/X" the polite way: WM_DESTROY is what a second start sends
//
//   app_shot_helper.exe keys:101 window rclick

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND kivoraWindow() { return FindWindowW(L"Kivora", nullptr); }

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

bool keyIsOn(BYTE key) { return (GetKeyState(key) & 1) != 0; }

void press(BYTE key) {
  keybd_event(key, 0, 0, 0);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  Sleep(50);
  pump();
}

// The key presses go to the window in front; a window of this thread there
// lets GetKeyState here follow them.
void takeFront() {
  static HWND front = nullptr;
  if (!front) {
    front = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1,
                            nullptr, nullptr, nullptr, nullptr);
  }
  SetForegroundWindow(front);
  pump();
}

void showBackdrop() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(58, 110, 165));
  wc.lpszClassName = L"KivoraShotBackdrop";
  RegisterClassW(&wc);
  const HWND backdrop =
      CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"",
                      WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                      GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
  SetWindowPos(backdrop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  pump();
}

void setKeys(const wchar_t* states) {
  takeFront();
  const BYTE keys[] = {VK_NUMLOCK, VK_CAPITAL, VK_SCROLL};
  // A process sees the toggles only after a change: toggle each twice first.
  for (BYTE key : keys) {
    press(key);
    press(key);
  }
  for (int i = 0; i < 3 && states[i]; ++i) {
    if (keyIsOn(keys[i]) != (states[i] == L'1')) press(keys[i]);
  }
}

bool step(const std::wstring& arg) {
  if (arg.rfind(L"keys:", 0) == 0) {
    setKeys(arg.c_str() + 5);
  } else if (arg.rfind(L"wait:", 0) == 0) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(_wtoi(arg.c_str() + 5));
    while (GetTickCount64() < end) {
      pump();
      Sleep(20);
    }
  } else if (arg == L"backdrop") {
    showBackdrop();
  } else if (arg == L"window") {
    for (int i = 0; i < 300 && !kivoraWindow(); ++i) Sleep(50);
    if (!kivoraWindow()) return false;
  } else if (arg == L"rclick") {
    PostMessageW(kivoraWindow(), WM_APP, 0, WM_RBUTTONUP);
  } else if (arg.rfind(L"flash:", 0) == 0) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(_wtoi(arg.c_str() + 6));
    while (GetTickCount64() < end) {
      PostMessageW(kivoraWindow(), WM_APP + 1, 0, 0);
      Sleep(40);
    }
  } else if (arg.rfind(L"post:", 0) == 0) {
    unsigned msg = 0;
    unsigned long long wParam = 0;
    if (swscanf(arg.c_str() + 5, L"%u:%llu", &msg, &wParam) != 2) return false;
    PostMessageW(kivoraWindow(), msg, static_cast<WPARAM>(wParam), 0);
  } else if (arg == L"exit") {
    SendMessageW(kivoraWindow(), WM_DESTROY, 0, 0);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    if (!step(argv[i])) {
      fwprintf(stderr, L"app_shot_helper: step failed: %ls\n", argv[i]);
      return 1;
    }
  }
  return 0;
}
