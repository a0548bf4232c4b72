#pragma once
// AppShell: what the key-state monitor and the settings store ask of the
// application: the tray icon, balloons, timers, the notify-only notice and
// the program's message box, all on the main window; and, after a save, the
// warning balloon and the pause hotkey.

#include <windows.h>

#include "monitor/monitor_shell.h"
#include "settings/settings_store.h"

namespace kivora::app {

class App;

class AppShell final : public monitor::MonitorShell, public settings::SaveHooks {
 public:
  explicit AppShell(App& app) : app_(app) {}

  platform::WindowHandle mainWindow() override;
  void updateTrayIcon() override;
  void flashTrayIcon(std::optional<int> lockStateIndex) override;
  void sendKeyStateToCompanion() override;
  void startTimer(unsigned id, unsigned milliseconds) override;
  void killTimer(unsigned id) override;
  unsigned noticeDpi() override;
  void showNotice(const monitor::ScreenNotice& notice) override;
  void hideNotice() override;
  void showNewBalloon(std::u16string_view text, monitor::BalloonIcon icon) override;
  int messageBox(platform::WindowHandle owner, std::u16string_view text,
                 std::u16string_view caption, unsigned flags) override;

  // Without a main window (the copy switches) the warning only collects and
  // no hotkey is registered: a hotkey of no window would belong to the thread.
  void showSaveWarning(const std::u16string& text) override;
  void registerPauseHotkey() override;

 private:
  App& app_;
};

// Draws the notify-only notice on `window`: moved topmost to the notice's
// place and size and shown without activation, then each line drawn on its
// DC in the system's message font, bold, as tall as the notice says. In High
// Contrast the lines take the system's window colours instead of their own.
void drawNotice(HWND window, const monitor::ScreenNotice& notice);

}  // namespace kivora::app
