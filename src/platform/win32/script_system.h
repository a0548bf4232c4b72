#pragma once
// The Win32 side of the script engine: the system interface of the builtins
// and the console set-up of the script runner (the processor-fault guard is
// vectored_fault_guard.h). This header stays free of <windows.h> so that
// portable tools can hold these objects.

#include "script/builtins/system_interface.h"

namespace kivora::win32 {

class Win32ScriptSystem : public script::ScriptSystem {
 public:
  int messageBox(script::HostWindow owner, const char16_t* text, const char16_t* caption,
                 unsigned flags) override;
  std::intptr_t inputDialog(script::HostWindow owner, script::InputDialogParams& params) override;
  void sleep(std::uint32_t milliseconds) override;
  script::LocalTime localTime() override;
  std::uint32_t tickCount() override;
  int systemMetrics(int index) override;
  bool messageBeep(unsigned type) override;
  std::uint32_t getEnvironmentVariable(const std::u16string& name, std::u16string& value) override;
  bool setEnvironmentVariable(const std::u16string& name, const std::u16string& value) override;
  bool getClipboardText(script::HostWindow owner, std::u16string& text) override;
  bool setClipboardText(script::HostWindow owner, const std::u16string& text) override;
  bool getCursorPos(std::int32_t& x, std::int32_t& y) override;
  bool setCursorPos(std::int32_t x, std::int32_t y) override;
  void mouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                  std::int32_t data) override;
  void keybdEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override;
  unsigned sendUnicodeInput(char16_t unit, std::uint32_t flags) override;
  std::int16_t getKeyState(int vk) override;
  bool foregroundImeControl(std::uint32_t command, std::intptr_t value,
                            std::intptr_t& result) override;
  bool activeWindowTitle(std::u16string& title) override;
  bool enumDisplayMonitors(std::vector<script::MonitorRect>& monitors) override;
  bool rawInputDevices(std::vector<script::RawInputDevice>& devices) override;
};

// Standard input, output and error as plain bytes (no CR LF translation), so
// the script runner writes exactly what it writes on Linux.
void useBinaryStandardStreams();

}  // namespace kivora::win32
