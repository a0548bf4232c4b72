#pragma once
// Dark painting for the controls the classic look draws badly on a dark
// background: disabled labels, check boxes, radio buttons and group boxes, and
// the hotkey control. Both subclasses leave all painting to the control
// outside the dark look, paint at the DPI the control is laid out for, and
// remove themselves when the control is destroyed.

#include <windows.h>

namespace kivora::ui {

// For a label (left, centre or right aligned), check box, radio button or
// group box: while disabled in dark mode it is drawn in grey.
void DarkDisabledText(HWND control);

// For a "msctls_hotkey32" control: in dark mode it shows its hotkey as
// "Ctrl + Shift + Alt + key" in white, or `noneText` when it holds none.
void DarkHotkey(HWND control, const wchar_t* noneText);

// Applies the two subclasses above to every direct child they suit.
void subclassDarkControls(HWND dialog, const wchar_t* hotkeyNoneText);

}  // namespace kivora::ui
