#include "app/tray.h"

#include <shellapi.h>

#include <utility>

#include "app/texts.h"
#include "platform/win32/wide.h"

namespace kivora::app {

namespace {

TrayLog trayLog;

void log(unsigned line, std::u16string_view first, std::u16string_view second) {
  if (trayLog) trayLog(2, line, first, second);
}

NOTIFYICONDATAW identity(HWND window) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = kTrayIconId;
  return data;
}

NOTIFYICONDATAW iconData(HWND window, HICON icon, const wchar_t* tooltip) {
  NOTIFYICONDATAW data = identity(window);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  lstrcpynW(data.szTip, tooltip ? tooltip : L"", ARRAYSIZE(data.szTip));
  return data;
}

DWORD balloonIconFlags(int type) {
  switch (type) {
    case monitor::kBalloonInformation:
      return NIIF_INFO;
    case monitor::kBalloonWarning:
      return NIIF_WARNING;
    case monitor::kBalloonError:
      return NIIF_ERROR;
    default:
      return NIIF_NONE;
  }
}

}  // namespace

void setTrayLog(TrayLog log) { trayLog = std::move(log); }

std::u16string trayTooltip(int kbWatchEnabled, bool japanese) {
  return (kbWatchEnabled != 0 ? texts::kTooltipWatching : texts::kTooltipPaused).pick(japanese);
}

BOOL addTrayIcon(HWND window, HICON icon, const wchar_t* tooltip) {
  NOTIFYICONDATAW data = iconData(window, icon, tooltip);
  return Shell_NotifyIconW(NIM_ADD, &data);
}

BOOL modifyTrayIcon(HWND window, HICON icon, const wchar_t* tooltip) {
  NOTIFYICONDATAW data = iconData(window, icon, tooltip);
  return Shell_NotifyIconW(NIM_MODIFY, &data);
}

BOOL removeTrayIcon(HWND window) {
  NOTIFYICONDATAW data = identity(window);
  return Shell_NotifyIconW(NIM_DELETE, &data);
}

BOOL updateTrayIcon(HWND window, const TrayIcons& icons, const monitor::TrayIconSettings& settings,
                    bool japanese) {
  const std::u16string tooltip = trayTooltip(settings.kbWatchEnabled, japanese);
  return modifyTrayIcon(window, currentTrayIcon(icons, settings), win32::wide(tooltip));
}

monitor::BalloonAccumulator& pendingBalloon() {
  static monitor::BalloonAccumulator balloon;
  return balloon;
}

NOTIFYICONDATAW balloonData(HWND window, const monitor::BalloonNotice& notice) {
  NOTIFYICONDATAW data = identity(window);
  data.uFlags = NIF_INFO;
  lstrcpynW(data.szInfo, win32::wide(notice.text), ARRAYSIZE(data.szInfo));
  lstrcpynW(data.szInfoTitle, win32::wide(kCaption), ARRAYSIZE(data.szInfoTitle));
  data.dwInfoFlags = balloonIconFlags(notice.type);
  data.uTimeout = 3000;
  return data;
}

void showBalloon(HWND window, const wchar_t* text, int type) {
  std::optional<std::u16string_view> given;
  if (text) given = std::u16string_view(reinterpret_cast<const char16_t*>(text));
  const auto notice = pendingBalloon().submit(window != nullptr, given, type);
  if (!notice) return;
  NOTIFYICONDATAW data = balloonData(window, *notice);
  Shell_NotifyIconW(NIM_MODIFY, &data);
  log(895, u"[トースト通知]", notice->text);
}

std::u16string companionText(monitor::LockKeys keys) {
  auto state = [](bool on) { return on ? u"ON" : u"OFF"; };
  return std::u16string(u"NumLock:") + state(keys.numLock) + u"  CapsLock:" + state(keys.capsLock) +
         u"  ScrollLock:" + state(keys.scrollLock);
}

bool sendKeyStateToCompanion(HWND window) {
  HWND companion = FindWindowW(kCompanionClass, nullptr);
  if (!companion) return false;
  const std::u16string text = companionText(readLockKeys());
  log(246, u"[sendtk]", text);
  COPYDATASTRUCT copy = {};
  copy.dwData = kCompanionDataId;
  copy.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
  copy.lpData = const_cast<char16_t*>(text.c_str());
  // A companion that hangs must not stop the tick that sends this.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(companion, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                      reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000,
                      &ignored);
  return true;
}

}  // namespace kivora::app
