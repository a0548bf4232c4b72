#pragma once
// The platform interfaces the key-state monitor uses, over user32, imm32 and
// winmm: foreground window and metrics, keyboard state and synthesis, sound,
// the IME window, the raw-input device list and system hotkeys.

#include "platform/desktop.h"
#include "platform/hotkeys.h"
#include "platform/ime.h"
#include "platform/keyboard.h"
#include "platform/raw_input.h"
#include "platform/sound.h"

namespace kivora::win32 {

class Win32Desktop final : public platform::Desktop {
 public:
  platform::WindowHandle GetForegroundWindow() override;
  int GetWindowTextW(platform::WindowHandle window, char16_t* text, int maxCount) override;
  int GetClassNameW(platform::WindowHandle window, char16_t* className, int maxCount) override;
  int GetSystemMetrics(int index) override;
};

class Win32Keyboard final : public platform::Keyboard {
 public:
  std::int16_t GetKeyState(int virtualKey) override;
  std::int16_t GetAsyncKeyState(int virtualKey) override;
  void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                   std::uintptr_t extraInfo) override;
};

class Win32Sound final : public platform::Sound {
 public:
  bool PlaySoundW(const char16_t* sound, std::uintptr_t module, std::uint32_t flags) override;
  bool MessageBeep(std::uint32_t type) override;
};

class Win32Ime final : public platform::Ime {
 public:
  platform::WindowHandle ImmGetDefaultIMEWnd(platform::WindowHandle window) override;
  std::intptr_t SendMessageW(platform::WindowHandle window, std::uint32_t message,
                             std::uintptr_t wParam, std::intptr_t lParam) override;
};

class Win32RawInput final : public platform::RawInput {
 public:
  std::uint32_t GetRawInputDeviceList(platform::RawInputDeviceList* list, std::uint32_t* numDevices,
                                      std::uint32_t entrySize) override;
  std::uint32_t GetRawInputDeviceInfoW(std::uintptr_t device, std::uint32_t command, void* data,
                                       std::uint32_t* size) override;
};

class Win32Hotkeys final : public platform::Hotkeys {
 public:
  bool RegisterHotKey(platform::WindowHandle window, int id, std::uint32_t modifiers,
                      std::uint32_t virtualKey) override;
  bool UnregisterHotKey(platform::WindowHandle window, int id) override;
};

}  // namespace kivora::win32
