#include "ui/dialog_look.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <atomic>
#include <mutex>
#include <string_view>

#include "platform/win32/handles.h"
#include "platform/win32/windows_version.h"
#include "ui/look_rules.h"
#include "ui/system_library.h"
#include "ui/tooltips.h"

namespace kivora::ui {

namespace {

std::atomic<bool> darkMode{false};
std::atomic<bool> forcedHighContrast{false};

std::mutex brushMutex;
win32::UniqueBrush sharedDarkBrush;

constexpr wchar_t kPersonalizeKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr DWORD kDwmUseDarkTitleBar = 20;

std::optional<std::uint32_t> readAppsUseLightTheme() {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", RRF_RT_REG_DWORD,
                   nullptr, &value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

std::wstring_view className(HWND window, wchar_t (&buffer)[64]) {
  const int n = GetClassNameW(window, buffer, 64);
  return std::wstring_view(buffer, n > 0 ? n : 0);
}

bool isPushButton(HWND button) {
  switch (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_GROUPBOX:
      return false;
    default:
      return true;
  }
}

void themeListView(HWND list, bool dark) {
  HWND header = ListView_GetHeader(list);
  // Adds to the list's own extended styles: a dialog may have asked for more (label tips).
  constexpr DWORD kStyles = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
  if (dark) {
    SetWindowTheme(list, L"Explorer", nullptr);
    ListView_SetBkColor(list, colour::kListBackground);
    ListView_SetTextBkColor(list, colour::kListBackground);
    ListView_SetTextColor(list, colour::kListText);
    ListView_SetExtendedListViewStyleEx(list, kStyles, kStyles);
    if (header) SetWindowTheme(header, L"ItemsView", nullptr);
  } else {
    SetWindowTheme(list, nullptr, nullptr);
    ListView_SetBkColor(list, GetSysColor(COLOR_WINDOW));
    ListView_SetTextBkColor(list, GetSysColor(COLOR_WINDOW));
    ListView_SetTextColor(list, GetSysColor(COLOR_WINDOWTEXT));
    if (header) SetWindowTheme(header, nullptr, nullptr);
  }
}

void themeControl(HWND control, bool dark) {
  wchar_t buffer[64];
  const std::wstring_view cls = className(control, buffer);
  if (cls == L"Button" && isPushButton(control)) {
    SetWindowTheme(control, dark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
  } else if (cls == WC_LISTVIEWW) {
    themeListView(control, dark);
  } else if (dark) {
    // Classic drawing, so the dialog's WM_CTLCOLOR answers decide the colours.
    SetWindowTheme(control, L" ", L" ");
  } else {
    SetWindowTheme(control, nullptr, nullptr);
  }
}

void themeTooltip(HWND tips, bool dark) {
  if (dark) {
    SetWindowTheme(tips, L" ", L" ");
    SendMessageW(tips, TTM_SETTIPBKCOLOR, colour::kListBackground, 0);
    SendMessageW(tips, TTM_SETTIPTEXTCOLOR, colour::kListText, 0);
  } else {
    SetWindowTheme(tips, nullptr, nullptr);
    SendMessageW(tips, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
    SendMessageW(tips, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
  }
}

// The link control of some comctl32 versions deletes the brush its parent
// hands it, which would take the shared dark brush with it. The DC brush is a
// stock object: deleting it does nothing, and it paints in the DC's colour.
std::optional<INT_PTR> linkColours(HDC dc, HWND control) {
  wchar_t buffer[64];
  if (!darkLook() || className(control, buffer) != WC_LINK) return std::nullopt;
  ControlColours(dc);
  SetDCBrushColor(dc, colour::kDialogBackground);
  return reinterpret_cast<INT_PTR>(GetStockObject(DC_BRUSH));
}

void repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace

bool DarkMode() { return darkMode.load(); }

void setDarkMode(bool dark) { darkMode.store(dark); }

bool HighContrast() {
  if (forcedHighContrast.load()) return true;
  HIGHCONTRASTW contrast = {};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void setHighContrast(bool on) { forcedHighContrast.store(on); }

bool darkLook() { return DarkMode() && !HighContrast(); }

bool DetectDarkMode() {
  const bool dark = darkModeFor(win32::windowsVersion().major, readAppsUseLightTheme());
  setDarkMode(dark);
  return dark;
}

void EnableDarkApp() {
  if (win32::windowsVersion().major <= 9) return;
  // Kept for the life of the process: the choice made here lives in uxtheme.
  static win32::UniqueModule uxtheme = LoadSystemLibrary(L"uxtheme.dll");
  if (!uxtheme) return;
  using AllowDarkFn = int(WINAPI*)(int);
  using RefreshPolicyFn = void(WINAPI*)();
  auto allowDark = reinterpret_cast<AllowDarkFn>(
      reinterpret_cast<void*>(GetProcAddress(uxtheme.get(), MAKEINTRESOURCEA(135))));
  auto refreshPolicy = reinterpret_cast<RefreshPolicyFn>(
      reinterpret_cast<void*>(GetProcAddress(uxtheme.get(), MAKEINTRESOURCEA(104))));
  if (!allowDark || !refreshPolicy) return;
  allowDark(1);
  refreshPolicy();
}

void ApplyTitleBar(HWND window) {
  using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static win32::UniqueModule dwmapi;
  static SetAttributeFn setAttribute = nullptr;
  static std::once_flag loaded;
  std::call_once(loaded, [] {
    dwmapi = LoadSystemLibrary(L"dwmapi.dll");
    if (dwmapi) {
      setAttribute = reinterpret_cast<SetAttributeFn>(
          reinterpret_cast<void*>(GetProcAddress(dwmapi.get(), "DwmSetWindowAttribute")));
    }
  });
  if (!setAttribute) return;
  const BOOL dark = darkLook() ? TRUE : FALSE;
  setAttribute(window, kDwmUseDarkTitleBar, &dark, sizeof dark);
}

void ThemeDialog(HWND dialog) {
  const bool dark = darkLook();
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    themeControl(child, dark);
  }
  for (HWND tips : tooltipsOf(dialog)) themeTooltip(tips, dark);
  repaint(dialog);
}

HBRUSH darkBrush() {
  std::lock_guard lock(brushMutex);
  if (!sharedDarkBrush) sharedDarkBrush.reset(CreateSolidBrush(colour::kDialogBackground));
  return sharedDarkBrush.get();
}

void deleteDarkBrush() {
  std::lock_guard lock(brushMutex);
  sharedDarkBrush.reset();
}

BOOL EraseBackground(HWND dialog, HDC dc) {
  RECT client;
  GetClientRect(dialog, &client);
  FillRect(dc, &client, darkLook() ? darkBrush() : GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

HBRUSH ControlColours(HDC dc) {
  if (!darkLook()) return nullptr;
  SetTextColor(dc, colour::kText);
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, colour::kDialogBackground);
  return darkBrush();
}

bool isImmersiveColorSetChange(LPARAM lParam) {
  const auto* area = reinterpret_cast<const wchar_t*>(lParam);
  return area && std::wstring_view(area) == L"ImmersiveColorSet";
}

std::optional<INT_PTR> dialogLookMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_WININICHANGE:
      if (isImmersiveColorSetChange(lParam)) DetectDarkMode();
      [[fallthrough]];
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
      ApplyTitleBar(dialog);
      ThemeDialog(dialog);
      return std::nullopt;
    case WM_ERASEBKGND:
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return EraseBackground(dialog, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
      if (auto link = linkColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return link;
      [[fallthrough]];
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      if (HBRUSH brush = ControlColours(reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<INT_PTR>(brush);
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace kivora::ui
