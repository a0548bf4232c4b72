#include "app/shell.h"

#include <cstring>
#include <optional>
#include <string>

#include "app/app.h"
#include "app/tray.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_handle_win32.h"
#include "ui/dialog_look.h"
#include "ui/look_rules.h"
#include "ui/message_box.h"

namespace kivora::app {

namespace {

// The notice's font: the system's message font, bold, its character cell as
// tall as the notice asks. At 100 % that is 16 pixels, the cell of the System
// font the notice used to be drawn in, which is bold as well; the message
// font keeps it a real font at every scaling. Made again only when the
// height or the system's choice changes; the notice is drawn on the
// user-interface thread alone.
HFONT noticeFont(int cellHeight) {
  static LOGFONTW made = {};
  static win32::UniqueFont font;
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  LOGFONTW wanted = {};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    wanted = metrics.lfMessageFont;
  } else {
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(wanted.lfFaceName, L"MS Shell Dlg 2");
  }
  wanted.lfHeight = cellHeight;  // positive: the cell, not the character
  wanted.lfWidth = 0;
  wanted.lfWeight = FW_BOLD;
  if (!font || std::memcmp(&wanted, &made, sizeof wanted) != 0) {
    font.reset(CreateFontIndirectW(&wanted));
    made = wanted;
  }
  return font.get();
}

// The notice window's transparent colour, when it has one.
std::optional<COLORREF> transparentColourOf(HWND window) {
  COLORREF key = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(window, &key, nullptr, &flags) || !(flags & LWA_COLORKEY))
    return std::nullopt;
  return key;
}

// In High Contrast the notice takes the system's window colours, never quite
// the transparent colour, or what it covers would show through.
struct NoticeColours {
  bool system = false;
  COLORREF background = 0;
  COLORREF text = 0;
};

NoticeColours noticeColours(HWND window) {
  if (!ui::HighContrast()) return {};
  COLORREF background = GetSysColor(COLOR_WINDOW);
  COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  if (const auto key = transparentColourOf(window)) {
    background = ui::apartFrom(background, *key);
    text = ui::apartFrom(text, *key);
  }
  return {true, background, text};
}

}  // namespace

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

unsigned AppShell::noticeDpi() { return win32::dpiForWindow(app_.mainWindow); }

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
  SetWindowPos(window, HWND_TOPMOST, notice.x, notice.y, notice.width, notice.height,
               SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  // A window just shown still owes its first paint, whose background would
  // wipe the text drawn below; let it paint first.
  UpdateWindow(window);
  win32::WindowDC dc(window);
  if (!dc.get()) return;
  const NoticeColours colours = noticeColours(window);
  const HGDIOBJ previousFont = SelectObject(dc.get(), noticeFont(notice.textHeight));
  SetBkColor(dc.get(), colours.system ? colours.background : notice.backgroundColor);
  for (const auto& line : notice.lines) {
    SetTextColor(dc.get(), colours.system ? colours.text : line.textColor);
    TextOutW(dc.get(), line.x, line.y, win32::wide(line.text), static_cast<int>(line.text.size()));
  }
  SelectObject(dc.get(), previousFont);
}

}  // namespace kivora::app
