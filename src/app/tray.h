#pragma once
// Kivora's presence in the notification area: the tray icon, its tooltip,
// balloon notifications and the lock-state message to the companion program.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/tray_icons.h"
#include "monitor/balloon_text.h"
#include "monitor/tray_icon_choice.h"

namespace kivora::app {

inline constexpr UINT kTrayIconId = 156599;
inline constexpr UINT kTrayCallbackMessage = WM_APP;
inline constexpr ULONG_PTR kCompanionDataId = 0x1900E;
inline constexpr wchar_t kCompanionClass[] = L"cursormate";

// Where the tray writes its debug-log lines: kind, call-site number, two texts.
using TrayLog = std::function<void(unsigned kind, unsigned line, std::u16string_view first,
                                   std::u16string_view second)>;
// Set once at start, before the script worker can run; empty = no logging.
void setTrayLog(TrayLog log);

// "Kivora:ON" / "Kivora:動作中" while KBWatchEnabled is non-zero, else
// "Kivora:OFF" / "Kivora:一時停止中".
std::u16string trayTooltip(int kbWatchEnabled, bool japanese);

// Shell_NotifyIconW for the one tray icon; the tooltip is cut to fit. The
// results are for tests; the program goes on whatever the shell says.
BOOL addTrayIcon(HWND window, HICON icon, const wchar_t* tooltip);
BOOL modifyTrayIcon(HWND window, HICON icon, const wchar_t* tooltip);
BOOL removeTrayIcon(HWND window);
// The icon and tooltip of the present state.
BOOL updateTrayIcon(HWND window, const TrayIcons& icons, const monitor::TrayIconSettings& settings,
                    bool japanese);

// The one balloon notification (see monitor::BalloonAccumulator::submit):
// showBalloon(nullptr, nullptr, 0) clears what is pending; a text with no
// window only collects; with a window whatever is pending is shown.
// Safe to call from the user-interface thread and the script worker.
void showBalloon(HWND window, const wchar_t* text, int type);
monitor::BalloonAccumulator& pendingBalloon();

// The NIM_MODIFY record that shows `notice` as a balloon.
NOTIFYICONDATAW balloonData(HWND window, const monitor::BalloonNotice& notice);

// "NumLock:%s  CapsLock:%s  ScrollLock:%s" with ON or OFF.
std::u16string companionText(monitor::LockKeys keys);

// Sends the lock states to the companion's window (class "cursormate") as
// WM_COPYDATA; nothing when it is not running. Returns whether it was found.
bool sendKeyStateToCompanion(HWND window);

}  // namespace kivora::app
