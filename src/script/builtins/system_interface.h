#pragma once
// Everything the builtins need from the operating system, in one interface.
// Each operation stands for the Win32 call named beside it and keeps its
// arguments, results and failure cases, so the builtins read like the program
// they are and the same handlers run against the real system, the console
// runner and test fakes.

#include "platform/local_time.h"
#include "script/host.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kivora::script {

// GetLocalTime's SYSTEMTIME, as the platform room has it.
using LocalTime = platform::SystemTime;

// What the INPUT dialog shows and what it hands back on OK.
struct InputDialogParams {
  std::u16string message;
  std::u16string title;
  std::u16string entered;
  bool japanese = false;  // the Cancel button's language
};

struct MonitorRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// One entry of GetRawInputDeviceList with its RIDI_DEVICENAME.
struct RawInputDevice {
  std::uint32_t type = 0;  // RIM_TYPEKEYBOARD is 1
  bool nameAvailable = false;
  std::u16string name;
};

inline constexpr std::uint32_t kRimTypeKeyboard = 1;
inline constexpr std::uint32_t kImcGetOpenStatus = 5;
inline constexpr std::uint32_t kImcSetOpenStatus = 6;

class ScriptSystem {
 public:
  virtual ~ScriptSystem() = default;

  // MessageBoxW: used when the host gives no message-box function.
  virtual int messageBox(HostWindow owner, const char16_t* text, const char16_t* caption,
                         unsigned flags) = 0;
  // DialogBoxIndirectParamW with the INPUT dialog: 1 when closed with OK (params.entered
  // then holds the text), 2 for Cancel, 0 or -1 when the dialog could not be shown.
  virtual std::intptr_t inputDialog(HostWindow owner, InputDialogParams& params) = 0;

  virtual void sleep(std::uint32_t milliseconds) = 0;  // Sleep
  virtual LocalTime localTime() = 0;                   // GetLocalTime
  virtual std::uint32_t tickCount() = 0;               // GetTickCount
  virtual int systemMetrics(int index) = 0;            // GetSystemMetrics
  virtual bool messageBeep(unsigned type) = 0;         // MessageBeep

  // GetEnvironmentVariableW: the value's length, 0 when unset, empty or on failure.
  virtual std::uint32_t getEnvironmentVariable(const std::u16string& name,
                                               std::u16string& value) = 0;
  virtual bool setEnvironmentVariable(const std::u16string& name, const std::u16string& value) = 0;

  // The clipboard's CF_UNICODETEXT, opened with the owner window.
  virtual bool getClipboardText(HostWindow owner, std::u16string& text) = 0;
  virtual bool setClipboardText(HostWindow owner, const std::u16string& text) = 0;

  virtual bool getCursorPos(std::int32_t& x, std::int32_t& y) = 0;  // GetCursorPos
  virtual bool setCursorPos(std::int32_t x, std::int32_t y) = 0;    // SetCursorPos
  virtual void mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                          std::int32_t data) = 0;  // mouse_event
  virtual void keybdEvent(std::uint8_t vk, std::uint8_t scan,
                          std::uint32_t flags) = 0;  // keybd_event
  // SendInput of one keyboard record (virtual key 0, scan = the code unit).
  virtual unsigned sendUnicodeInput(char16_t unit, std::uint32_t flags) = 0;
  virtual std::int16_t getKeyState(int vk) = 0;  // GetKeyState

  // GetForegroundWindow, ImmGetDefaultIMEWnd, then SendMessageW(WM_IME_CONTROL,
  // command, value). False when there is no foreground or no IME window.
  virtual bool foregroundImeControl(std::uint32_t command, std::intptr_t value,
                                    std::intptr_t& result) = 0;
  // GetForegroundWindow and GetWindowTextW (at most 2048 code units). False when
  // there is no window or the title is empty.
  virtual bool activeWindowTitle(std::u16string& title) = 0;
  // EnumDisplayMonitors, in the order the system reports them.
  virtual bool enumDisplayMonitors(std::vector<MonitorRect>& monitors) = 0;
  // GetRawInputDeviceList with each device's name. False when the list cannot be read.
  virtual bool rawInputDevices(std::vector<RawInputDevice>& devices) = 0;
};

}  // namespace kivora::script
