#pragma once
// The debug log's dialogs: the settings dialog (resource 172, one Japanese
// layout for both languages; its message boxes follow the language flag) that
// switches logging on or off for this run, and the live monitor window
// (resource 222) the log echoes selected lines into.
//
// The application keeps one DebugMonitorDialog for the process and attaches
// it to its DebugLog once:
//   log.attachMonitor(&monitor.view());
// and the tray's debug-log command runs showDebugLogDialog.

#include <windows.h>

#include <functional>
#include <optional>

#include "diag/debug_log.h"
#include "platform/win32/debug_monitor_win32.h"
#include "settings/settings.h"
#include "ui/help.h"
#include "ui/layout.h"
#include "ui/message_box.h"

namespace kivora::ui {

// The monitor window: modeless and resizable; its edit follows the window's
// size, and it never gets smaller than half its first size. The application's
// message loop should pass its messages through IsDialogMessageW(window()).
class DebugMonitorDialog {
 public:
  explicit DebugMonitorDialog(HINSTANCE resources) : resources_(resources) {}
  ~DebugMonitorDialog() { destroy(); }
  DebugMonitorDialog(const DebugMonitorDialog&) = delete;
  DebugMonitorDialog& operator=(const DebugMonitorDialog&) = delete;

  // What the log echoes into.
  platform::DebugMonitor& view() { return view_; }
  HWND window() const { return window_; }
  bool exists() const { return window_ != nullptr && IsWindow(window_); }

  // Creates the window unless it exists (owned by `owner`), then shows it.
  void show(HWND owner);
  void destroy();

 private:
  static INT_PTR CALLBACK proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

  HINSTANCE resources_;
  HWND window_ = nullptr;
  win32::DebugMonitorWindow view_{window_};
  std::optional<DialogLayout> layout_;
};

struct DebugLogDialogContext {
  HINSTANCE resources = nullptr;  // the module that holds dialogs 172 and 222
  diag::DebugLog& log;
  const settings::Settings& settings;  // for the settings dump
  DebugMonitorDialog& monitor;
  HWND mainWindow = nullptr;  // owner of the monitor window
  bool japanese = false;      // modeJP: the message boxes' language, shown in the dump
  // The notify-only delay timer's flag (bTimer5Active) for the dump; false when empty.
  std::function<bool()> timer5Active;
  HelpOpener openHelp;
  MessageBoxFunction messageBox = ThemedMessageBox;
};

// Runs the settings dialog modally; IDOK when the new choice took effect.
INT_PTR showDebugLogDialog(HWND owner, const DebugLogDialogContext& context);

}  // namespace kivora::ui
