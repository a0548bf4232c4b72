#pragma once
// The debug log's monitor window seen through its two controls: the read-only
// edit that shows the echo and the pause box. The dialog that owns the window
// keeps the handle up to date (null while no monitor is shown).

#include <windows.h>

#include "platform/debug_monitor.h"

namespace kivora::win32 {

inline constexpr int kIdcDebugMonitorText = 1061;
inline constexpr int kIdcDebugMonitorPause = 1063;

class DebugMonitorWindow final : public platform::DebugMonitor {
 public:
  // window: the variable that holds the monitor dialog's handle.
  explicit DebugMonitorWindow(const HWND& window) : window_(window) {}
  bool exists() override;
  bool paused() override;
  std::u16string text(std::size_t maxChars) override;
  void setText(const std::u16string& text) override;

 private:
  const HWND& window_;
};

}  // namespace kivora::win32
