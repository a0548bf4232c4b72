#pragma once
// Dialogs at the scaling of the monitor they are on.
//
// Windows lays a dialog out for the DPI it opens at. When the dialog moves to
// a monitor with another scaling, Windows 10 1703 and later rescale it by
// themselves and earlier ones not at all; Kivora does it one way everywhere:
// the window takes the rectangle Windows suggests, and every child gets the
// place, size and font it had at the opening, scaled to the new DPI. Doing it
// from the opening's record, not from the present state, keeps a dialog that
// moves back and forth from drifting by rounding.
//
//   followDpiChanges(dialog);   // last in WM_INITDIALOG, after any enlargement
//
// The dialog procedure still receives WM_DPICHANGED, after the children have
// moved, to make again what it made for a DPI (icons, list columns).

#include <windows.h>

namespace kivora::ui {

void followDpiChanges(HWND dialog);

// The DPI `window` is laid out for: that of a dialog following DPI changes,
// or of the dialog a control belongs to; otherwise that of its monitor.
UINT layoutDpi(HWND window);

// `pixels` at 96 DPI, at the DPI `window` is laid out for.
int scaledFor(HWND window, int pixels);

// A hairline at that DPI: one pixel at 100 %, two from 200 %.
int lineWidthFor(HWND window);

}  // namespace kivora::ui
