#pragma once
// HWND <-> platform::WindowHandle.

#include <windows.h>

#include "platform/window_handle.h"

namespace kivora::win32 {

inline HWND hwnd(platform::WindowHandle w) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(w));
}
inline platform::WindowHandle handleOf(HWND w) {
  return static_cast<platform::WindowHandle>(reinterpret_cast<std::uintptr_t>(w));
}

}  // namespace kivora::win32
