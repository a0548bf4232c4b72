#include "platform/win32/monitor_platform_win32.h"

#include <windows.h>
// After windows.h, which they build on.
#include <imm.h>
#include <mmsystem.h>

#include <cstddef>

#include "platform/win32/wide.h"
#include "platform/win32/window_handle_win32.h"

namespace kivora::win32 {

// The portable list entry is handed to the API as it is.
static_assert(sizeof(platform::RawInputDeviceList) == sizeof(RAWINPUTDEVICELIST));
static_assert(offsetof(platform::RawInputDeviceList, dwType) ==
              offsetof(RAWINPUTDEVICELIST, dwType));

platform::WindowHandle Win32Desktop::GetForegroundWindow() {
  return handleOf(::GetForegroundWindow());
}

int Win32Desktop::GetWindowTextW(platform::WindowHandle window, char16_t* text, int maxCount) {
  return ::GetWindowTextW(hwnd(window), wide(text), maxCount);
}

int Win32Desktop::GetClassNameW(platform::WindowHandle window, char16_t* className, int maxCount) {
  const int copied = ::GetClassNameW(hwnd(window), wide(className), maxCount);
  // GetClassNameW leaves the buffer alone when it fails; callers expect an empty text.
  if (copied == 0 && maxCount > 0) className[0] = u'\0';
  return copied;
}

int Win32Desktop::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

std::int16_t Win32Keyboard::GetKeyState(int virtualKey) { return ::GetKeyState(virtualKey); }

std::int16_t Win32Keyboard::GetAsyncKeyState(int virtualKey) {
  return ::GetAsyncKeyState(virtualKey);
}

void Win32Keyboard::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                                std::uintptr_t extraInfo) {
  ::keybd_event(virtualKey, scanCode, flags, extraInfo);
}

bool Win32Sound::PlaySoundW(const char16_t* sound, std::uintptr_t module, std::uint32_t flags) {
  return ::PlaySoundW(wide(sound), reinterpret_cast<HMODULE>(module), flags) != FALSE;
}

bool Win32Sound::MessageBeep(std::uint32_t type) { return ::MessageBeep(type) != FALSE; }

platform::WindowHandle Win32Ime::ImmGetDefaultIMEWnd(platform::WindowHandle window) {
  return handleOf(::ImmGetDefaultIMEWnd(hwnd(window)));
}

std::intptr_t Win32Ime::SendMessageW(platform::WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) {
  return ::SendMessageW(hwnd(window), message, wParam, lParam);
}

std::uint32_t Win32RawInput::GetRawInputDeviceList(platform::RawInputDeviceList* list,
                                                   std::uint32_t* numDevices,
                                                   std::uint32_t entrySize) {
  UINT count = *numDevices;
  const UINT result =
      ::GetRawInputDeviceList(reinterpret_cast<RAWINPUTDEVICELIST*>(list), &count, entrySize);
  *numDevices = count;
  return result;
}

std::uint32_t Win32RawInput::GetRawInputDeviceInfoW(std::uintptr_t device, std::uint32_t command,
                                                    void* data, std::uint32_t* size) {
  UINT n = *size;
  const UINT result = ::GetRawInputDeviceInfoW(reinterpret_cast<HANDLE>(device), command, data, &n);
  *size = n;
  return result;
}

bool Win32Hotkeys::RegisterHotKey(platform::WindowHandle window, int id, std::uint32_t modifiers,
                                  std::uint32_t virtualKey) {
  return ::RegisterHotKey(hwnd(window), id, modifiers, virtualKey) != FALSE;
}

bool Win32Hotkeys::UnregisterHotKey(platform::WindowHandle window, int id) {
  return ::UnregisterHotKey(hwnd(window), id) != FALSE;
}

}  // namespace kivora::win32
