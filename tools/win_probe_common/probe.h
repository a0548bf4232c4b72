#pragma once
// What the Windows probes share: Kivora's settings key and the messages they
// send it, the clock and the "name value" lines bench/run reads, seeding
// settings, and finding the main window of the Kivora they started.

#include <windows.h>

#include <cstdio>
#include <string>

namespace kivora::probe {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Orvanta\\Kivora\\CurrentVersion";
inline constexpr UINT kExecAll = 32770;  // MYWM_EXECALL
inline constexpr WPARAM kIdmExit = 32779;

// Milliseconds on the performance counter.
inline double nowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / frequency;
}

// One "name value" line, flushed at once: the driver reads the lines as they come.
inline void say(const char* name, double value) {
  std::printf("%s %.3f\n", name, value);
  std::fflush(stdout);
}

// "phase NAME", printed as a phase begins so the driver can read the Linux side then.
inline void phase(const char* name) {
  std::printf("phase %s\n", name);
  std::fflush(stdout);
}

inline void writeValue(const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
                       DWORD size) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

inline void writeSetting(const wchar_t* name, DWORD value) {
  writeValue(kSettingsKey, name, REG_DWORD, &value, sizeof value);
}

// A hidden 1x1 window of class `className`, registered here with `procedure`:
// the probe's stand-in for another program's window that Kivora talks to.
inline HWND makeStandIn(const wchar_t* className, WNDPROC procedure, DWORD exStyle = 0) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowExW(exStyle, className, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

// The end of a window thread: signals `ready` (an event), then pumps the
// thread's messages until WM_QUIT.
inline DWORD signalAndPump(void* ready) {
  SetEvent(static_cast<HANDLE>(ready));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

inline void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// The thread's view of NumLock, its queue pumped first so the view is current.
inline bool numLockOn() {
  pump();
  return (GetKeyState(VK_NUMLOCK) & 1) != 0;
}

// The window of class "Kivora" that belongs to process `pid`, or null.
inline HWND kivoraWindow(DWORD pid) {
  struct Find {
    DWORD pid;
    HWND found;
  } find{pid, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& f = *reinterpret_cast<Find*>(param);
        wchar_t cls[32] = {};
        GetClassNameW(window, cls, 32);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == f.pid && lstrcmpW(cls, L"Kivora") == 0) {
          f.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

}  // namespace kivora::probe
