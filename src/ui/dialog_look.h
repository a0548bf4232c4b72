#pragma once
// The light or dark look shared by every Kivora dialog and message box.
//
// A dialog procedure typically starts with
//   if (auto answered = kivora::ui::dialogLookMessage(dialog, msg, wp, lp)) return *answered;
// and sends itself WM_THEMECHANGED from WM_INITDIALOG, after its tooltips exist.

#include <windows.h>

#include <optional>

namespace kivora::ui {

// The process-wide dark-mode flag. Decided by DetectDarkMode before the first
// window exists and again on every theme change; setDarkMode overrides it.
bool DarkMode();
void setDarkMode(bool dark);

// Reads the system's choice (Windows 10 or later and AppsUseLightTheme = 0),
// stores it as the flag and returns it.
bool DetectDarkMode();

// High Contrast: on while the system reports HCF_HIGHCONTRASTON (asked at
// each call, so a change while Kivora runs takes effect at once), or while
// setHighContrast(true) holds it on, as previews do (Wine reports none).
bool HighContrast();
void setHighContrast(bool on);

// The look in effect: dark when the dark-mode flag is set and High Contrast
// is off. In High Contrast Kivora paints nothing dark and no colour of its
// own; every colour is a system colour.
bool darkLook();

// Lets menus and common controls of this process follow the dark theme
// (Windows 10 or later; nothing when the system lacks the switch).
void EnableDarkApp();

// Dark or light title bar for `window`, following the look.
void ApplyTitleBar(HWND window);

// Restyles every child control and the dialog's tooltips for the current
// look, then repaints the dialog.
void ThemeDialog(HWND dialog);

// WM_ERASEBKGND: fills the client area with the look's background. Returns TRUE.
BOOL EraseBackground(HWND dialog, HDC dc);

// WM_CTLCOLOR...: in the dark look sets white text on the dark background and
// returns the dark brush; otherwise returns nullptr (the system's colours).
HBRUSH ControlColours(HDC dc);

// The one dark background brush, created on first use.
HBRUSH darkBrush();
// Deletes it at exit; a later darkBrush() creates it again.
void deleteDarkBrush();

// True when a WM_WININICHANGE/WM_SETTINGCHANGE names "ImmersiveColorSet".
bool isImmersiveColorSetChange(LPARAM lParam);

// Answers the look's messages for a dialog procedure: WM_THEMECHANGED,
// WM_SYSCOLORCHANGE and WM_SETTINGCHANGE (with the dark-mode re-detection on
// "ImmersiveColorSet"; High Contrast switched on or off arrives this way) restyle
// the dialog and its title bar, WM_ERASEBKGND and the WM_CTLCOLOR messages paint. Returns the
// dialog procedure's result when the message was answered, nullopt when the dialog should go on.
std::optional<INT_PTR> dialogLookMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace kivora::ui
