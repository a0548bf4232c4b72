#pragma once
// A dialog for the look tests, built in memory: one control of every kind
// the look treats differently, and a procedure that uses the look helpers the
// way Kivora's dialogs do.

#include <windows.h>

#include <optional>
#include <vector>

#include "ui/layout.h"

namespace kivora::test {

enum TestControl : int {
  kOk = IDOK,
  kLabel = 100,
  kCheck = 101,
  kRadio = 102,
  kGroup = 103,
  kEdit = 104,
  kList = 105,
  kHotkey = 106,
  kStatus = 107,
};

// The layout the test dialog's WM_SIZE and WM_GETMINMAXINFO use, if any.
struct TestDialogState {
  std::optional<ui::DialogLayout> layout;
  int sizeMessages = 0;
};

// Creates the dialog (hidden unless `visible`); its state lives as long as it.
HWND createTestDialog(TestDialogState& state, bool visible = false);

// Runs the calling thread's messages until none is waiting.
void pumpMessages();

// Paints a control through WM_PRINTCLIENT into a bitmap of its client size
// (first filled with `background`) and returns the pixels as COLORREFs, row by row.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int count(COLORREF colour) const;
  int countIn(COLORREF colour, RECT area) const;
};
Picture printClient(HWND control, COLORREF background);

}  // namespace kivora::test
