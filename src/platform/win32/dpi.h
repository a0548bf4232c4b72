#pragma once
// Dots per inch for a per-monitor DPI-aware program on every Windows it runs
// on. Windows 10 1607 answers per window and per DPI (GetDpiForWindow,
// GetSystemMetricsForDpi, ...); Windows 8.1 knows each monitor's DPI; Windows
// 7 and 8 have one DPI for the whole session. Each function here takes the
// newest way this Windows has and falls back to the older ones, so callers
// never need to know which Windows they run on.

#include <windows.h>
#include <uxtheme.h>

#include "platform/win32/handles.h"

namespace kivora::win32 {

inline constexpr UINT kDefaultDpi = USER_DEFAULT_SCREEN_DPI;  // 96, 100 % scaling

// `value` in pixels at 96 DPI, in pixels at `dpi` (rounded like MulDiv).
int scaleForDpi(int value, UINT dpi);

// The DPI of the session: what the taskbar and the notification area use.
UINT dpiForSystem();
// The DPI of the monitor a window is on (of the session before Windows 8.1).
UINT dpiForWindow(HWND window);
// The effective DPI of a monitor (of the session before Windows 8.1).
UINT dpiForMonitor(HMONITOR monitor);

// GetSystemMetrics at `dpi`: sizes in pixels (icons, borders, scroll bars,
// captions, check marks, ...) follow the DPI; counts and flags do not.
int systemMetricsForDpi(int index, UINT dpi);

// SystemParametersInfoW at `dpi` for the three actions that depend on it:
// SPI_GETICONTITLELOGFONT (LOGFONTW), SPI_GETNONCLIENTMETRICS
// (NONCLIENTMETRICSW, cbSize set by the caller) and SPI_GETICONMETRICS
// (ICONMETRICSW, cbSize set). False for any other action or on failure.
bool systemParametersForDpi(UINT action, UINT param, void* data, UINT dpi);

// AdjustWindowRectEx with the frame sizes of `dpi`.
bool adjustWindowRectExForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);

struct ThemeTraits {
  static HTHEME invalid() { return nullptr; }
  static void close(HTHEME h) { CloseThemeData(h); }
};
using UniqueTheme = Unique<HTHEME, ThemeTraits>;

// The theme data of `classes` (L"BUTTON", ...) with part sizes for `dpi`;
// before Windows 10 1703 that of the window's DPI. Null without a theme.
UniqueTheme openThemeDataForDpi(HWND window, const wchar_t* classes, UINT dpi);

// Runs the thread with another DPI awareness while it lives (Windows 10 1607
// on; does nothing before, where a thread has no awareness of its own).
class ThreadDpiAwareness {
 public:
  explicit ThreadDpiAwareness(DPI_AWARENESS_CONTEXT context);
  ~ThreadDpiAwareness();
  ThreadDpiAwareness(const ThreadDpiAwareness&) = delete;
  ThreadDpiAwareness& operator=(const ThreadDpiAwareness&) = delete;

 private:
  DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

// What the functions above do where Windows lacks the newer call: the
// values of the session's DPI, rescaled to `dpi`. Public so that tests can
// hold them against the real functions.
namespace legacy {
UINT dpiForSystem();
int systemMetricsForDpi(int index, UINT dpi);
bool systemParametersForDpi(UINT action, UINT param, void* data, UINT dpi);
}  // namespace legacy

}  // namespace kivora::win32
