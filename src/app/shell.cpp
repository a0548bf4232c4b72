#include "app/shell.h"

#include <string>

#include "app/app.h"
#include "app/tray.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_handle_win32.h"
#include "ui/message_box.h"

namespace kivora::app {

platform::WindowHandle AppShell::mainWindow() { return win32::handleOf(app_.mainWindow); }

void AppShell::updateTrayIcon() {
  if (!app_.mainWindow) return;
  app::updateTrayIcon(app_.mainWindow, app_.icons, app_.traySettings(), app_.modeJP);
}

void AppShell::flashTrayIcon(std::optional<int> lockStateIndex) {
  if (!app_.mainWindow) return;
  const HICON icon = lockStateIndex
                         ? app_.icons.lockState.at(static_cast<std::size_t>(*lockStateIndex)).get()
                         : app_.icons.keyChange.get();
  const std::u16string tooltip = trayTooltip(app_.settings.KBWatchEnabled, app_.modeJP);
  modifyTrayIcon(app_.mainWindow, icon, win32::wide(tooltip));
}

void AppShell::sendKeyStateToCompanion() { app::sendKeyStateToCompanion(app_.mainWindow); }

void AppShell::startTimer(unsigned id, unsigned milliseconds) {
  SetTimer(app_.mainWindow, id, milliseconds, nullptr);
}

void AppShell::killTimer(unsigned id) { KillTimer(app_.mainWindow, id); }

void AppShell::showNotice(const monitor::ScreenNotice& notice) {
  drawNotice(app_.mainWindow, notice);
}

void AppShell::hideNotice() { ShowWindow(app_.mainWindow, SW_HIDE); }

void AppShell::showNewBalloon(std::u16string_view text, monitor::BalloonIcon icon) {
  showBalloon(nullptr, nullptr, 0);
  const std::u16string copy(text);
  showBalloon(app_.mainWindow, win32::wide(copy), static_cast<int>(icon));
}

int AppShell::messageBox(platform::WindowHandle owner, std::u16string_view text,
                         std::u16string_view caption, unsigned flags) {
  const std::u16string textCopy(text);
  const std::u16string captionCopy(caption);
  return ui::ThemedMessageBox(win32::hwnd(owner), win32::wide(textCopy), win32::wide(captionCopy),
                              flags);
}

void AppShell::showSaveWarning(const std::u16string& text) {
  showBalloon(nullptr, nullptr, 0);
  showBalloon(app_.mainWindow, win32::wide(text), monitor::kBalloonWarning);
}

void AppShell::registerPauseHotkey() {
  if (app_.mainWindow && app_.hasMonitor()) app_.monitor().hotkeys().registerPauseHotkey();
}

void drawNotice(HWND window, const monitor::ScreenNotice& notice) {
  SetWindowPos(window, HWND_TOPMOST, notice.x, notice.y, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  // A window just shown still owes its first paint, whose background would
  // wipe the text drawn below; let it paint first.
  UpdateWindow(window);
  win32::WindowDC dc(window);
  if (!dc.get()) return;
  const HGDIOBJ previousFont = SelectObject(dc.get(), GetStockObject(SYSTEM_FONT));
  SetBkColor(dc.get(), notice.backgroundColor);
  for (const auto& line : notice.lines) {
    SetTextColor(dc.get(), line.textColor);
    TextOutW(dc.get(), line.x, line.y, win32::wide(line.text), static_cast<int>(line.text.size()));
  }
  SelectObject(dc.get(), previousFont);
}

}  // namespace kivora::app
