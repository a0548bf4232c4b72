#include "platform/win32/debug_monitor_win32.h"

#include <vector>

#include "platform/win32/wide.h"

namespace kivora::win32 {

bool DebugMonitorWindow::exists() { return window_ != nullptr && IsWindow(window_); }

bool DebugMonitorWindow::paused() {
  return IsDlgButtonChecked(window_, kIdcDebugMonitorPause) == BST_CHECKED;
}

std::u16string DebugMonitorWindow::text(std::size_t maxChars) {
  std::vector<wchar_t> buffer(maxChars + 1, L'\0');
  const UINT n = GetDlgItemTextW(window_, kIdcDebugMonitorText, buffer.data(),
                                 static_cast<int>(buffer.size()));
  return fromWide(buffer.data(), n);
}

void DebugMonitorWindow::setText(const std::u16string& text) {
  SetDlgItemTextW(window_, kIdcDebugMonitorText, wide(text));
}

}  // namespace kivora::win32
