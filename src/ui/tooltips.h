#pragma once
// Tooltips for a dialog's controls from a table of (control id, text).

#include <windows.h>

#include <span>
#include <vector>

namespace kivora::ui {

struct TooltipEntry {
  int id;
  const wchar_t* text;
};

// Creates one always-tip tooltip window owned by the dialog and adds a tool
// per entry, up to the first entry with id 0 or no text. Entries whose
// control does not exist are skipped. The window goes with the dialog.
// Returns the tooltip window, or nullptr when it cannot be created.
HWND CreateTooltips(HWND dialog, std::span<const TooltipEntry> table);

// The tooltip windows `dialog` owns.
std::vector<HWND> tooltipsOf(HWND dialog);

// Tips wrap at a width that follows the dialog's DPI.
void rescaleTooltips(HWND dialog, UINT dpi);

}  // namespace kivora::ui
