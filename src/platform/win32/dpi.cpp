#include "platform/win32/dpi.h"

#include <shellscalingapi.h>

#include <algorithm>
#include <iterator>

#include "platform/win32/system_functions.h"

namespace kivora::win32 {

namespace {

// Looked up once each; null where this Windows lacks the function.
template <typename Function>
Function user32(const char* name) {
  return systemFunction<Function>(L"user32.dll", name);
}

// The metrics that are sizes in pixels and so depend on the DPI.
constexpr int kSizeMetrics[] = {
    SM_CXVSCROLL,     SM_CYHSCROLL,     SM_CYCAPTION,     SM_CXBORDER,       SM_CYBORDER,
    SM_CXDLGFRAME,    SM_CYDLGFRAME,    SM_CYVTHUMB,      SM_CXHTHUMB,       SM_CXICON,
    SM_CYICON,        SM_CXCURSOR,      SM_CYCURSOR,      SM_CYMENU,         SM_CYVSCROLL,
    SM_CXHSCROLL,     SM_CXMIN,         SM_CYMIN,         SM_CXSIZE,         SM_CYSIZE,
    SM_CXFRAME,       SM_CYFRAME,       SM_CXMINTRACK,    SM_CYMINTRACK,     SM_CXICONSPACING,
    SM_CYICONSPACING, SM_CXEDGE,        SM_CYEDGE,        SM_CXMINSPACING,   SM_CYMINSPACING,
    SM_CXSMICON,      SM_CYSMICON,      SM_CYSMCAPTION,   SM_CXSMSIZE,       SM_CYSMSIZE,
    SM_CXMENUSIZE,    SM_CYMENUSIZE,    SM_CXMINIMIZED,   SM_CYMINIMIZED,    SM_CXMENUCHECK,
    SM_CYMENUCHECK,   SM_CXFOCUSBORDER, SM_CYFOCUSBORDER, SM_CXPADDEDBORDER,
};

bool isSizeMetric(int index) {
  return std::find(std::begin(kSizeMetrics), std::end(kSizeMetrics), index) !=
         std::end(kSizeMetrics);
}

// From the session's DPI to `dpi`.
int rescale(int value, UINT dpi) {
  return MulDiv(value, static_cast<int>(dpi), static_cast<int>(legacy::dpiForSystem()));
}

void rescaleFont(LOGFONTW& font, UINT dpi) { font.lfHeight = rescale(font.lfHeight, dpi); }

void rescaleNonClient(NONCLIENTMETRICSW& m, UINT dpi) {
  for (int* size :
       {&m.iBorderWidth, &m.iScrollWidth, &m.iScrollHeight, &m.iCaptionWidth, &m.iCaptionHeight,
        &m.iSmCaptionWidth, &m.iSmCaptionHeight, &m.iMenuWidth, &m.iMenuHeight}) {
    *size = rescale(*size, dpi);
  }
  for (LOGFONTW* font :
       {&m.lfCaptionFont, &m.lfSmCaptionFont, &m.lfMenuFont, &m.lfStatusFont, &m.lfMessageFont}) {
    rescaleFont(*font, dpi);
  }
  // Windows Vista added the padded border; an older caller's size leaves it out.
  if (m.cbSize >= sizeof m) m.iPaddedBorderWidth = rescale(m.iPaddedBorderWidth, dpi);
}

void rescaleIconMetrics(ICONMETRICSW& m, UINT dpi) {
  m.iHorzSpacing = rescale(m.iHorzSpacing, dpi);
  m.iVertSpacing = rescale(m.iVertSpacing, dpi);
  rescaleFont(m.lfFont, dpi);
}

auto setThreadDpiAwarenessContext() {
  static const auto set =
      user32<decltype(&SetThreadDpiAwarenessContext)>("SetThreadDpiAwarenessContext");
  return set;
}

bool isDpiAction(UINT action) {
  return action == SPI_GETICONTITLELOGFONT || action == SPI_GETNONCLIENTMETRICS ||
         action == SPI_GETICONMETRICS;
}

}  // namespace

int scaleForDpi(int value, UINT dpi) {
  return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

namespace legacy {

UINT dpiForSystem() {
  WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

int systemMetricsForDpi(int index, UINT dpi) {
  const int value = GetSystemMetrics(index);
  return isSizeMetric(index) ? rescale(value, dpi) : value;
}

bool systemParametersForDpi(UINT action, UINT param, void* data, UINT dpi) {
  if (!isDpiAction(action) || !data || !SystemParametersInfoW(action, param, data, 0)) return false;
  switch (action) {
    case SPI_GETICONTITLELOGFONT:
      rescaleFont(*static_cast<LOGFONTW*>(data), dpi);
      break;
    case SPI_GETNONCLIENTMETRICS:
      rescaleNonClient(*static_cast<NONCLIENTMETRICSW*>(data), dpi);
      break;
    default:
      rescaleIconMetrics(*static_cast<ICONMETRICSW*>(data), dpi);
      break;
  }
  return true;
}

}  // namespace legacy

UINT dpiForSystem() {
  static const auto getDpiForSystem = user32<decltype(&GetDpiForSystem)>("GetDpiForSystem");
  if (getDpiForSystem) return getDpiForSystem();
  return legacy::dpiForSystem();
}

UINT dpiForMonitor(HMONITOR monitor) {
  static const auto getDpiForMonitor =
      systemFunction<decltype(&GetDpiForMonitor)>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (monitor && getDpiForMonitor &&
      SUCCEEDED(getDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y > 0) {
    return y;
  }
  return dpiForSystem();
}

UINT dpiForWindow(HWND window) {
  static const auto getDpiForWindow = user32<decltype(&GetDpiForWindow)>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  if (!window) return dpiForSystem();
  return dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int systemMetricsForDpi(int index, UINT dpi) {
  static const auto forDpi = user32<decltype(&GetSystemMetricsForDpi)>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  return legacy::systemMetricsForDpi(index, dpi);
}

bool systemParametersForDpi(UINT action, UINT param, void* data, UINT dpi) {
  static const auto forDpi =
      user32<decltype(&SystemParametersInfoForDpi)>("SystemParametersInfoForDpi");
  if (!isDpiAction(action)) return false;
  if (forDpi) return forDpi(action, param, data, 0, dpi) != FALSE;
  return legacy::systemParametersForDpi(action, param, data, dpi);
}

bool adjustWindowRectExForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
  static const auto forDpi =
      user32<decltype(&AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
  if (forDpi) return forDpi(&rect, style, menu, exStyle, dpi) != FALSE;
  // Before Windows 10 1607 the frame of a window keeps the session's sizes.
  return AdjustWindowRectEx(&rect, style, menu, exStyle) != FALSE;
}

UniqueTheme openThemeDataForDpi(HWND window, const wchar_t* classes, UINT dpi) {
  static const auto forDpi =
      systemFunction<decltype(&OpenThemeDataForDpi)>(L"uxtheme.dll", "OpenThemeDataForDpi");
  if (forDpi) return UniqueTheme(forDpi(window, classes, dpi));
  return UniqueTheme(OpenThemeData(window, classes));
}

ThreadDpiAwareness::ThreadDpiAwareness(DPI_AWARENESS_CONTEXT context) {
  if (const auto set = setThreadDpiAwarenessContext()) previous_ = set(context);
}

ThreadDpiAwareness::~ThreadDpiAwareness() {
  if (const auto set = setThreadDpiAwarenessContext(); set && previous_) set(previous_);
}

}  // namespace kivora::win32
