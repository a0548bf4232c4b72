#pragma once
// What the Windows probes share: finding the main window of the Kivora they
// started, by its class and its process.

#include <windows.h>

namespace kivora::probe {

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
