#pragma once
// What the settings dialogs' tests need beyond the shared dialog driver
// (win/dialog_driver.h): setting check boxes, drop-down lists and edits the
// way a click, a choice or typing would, and telling a message box apart
// from a dialog that carries the same caption.

#include <windows.h>

#include <functional>
#include <string>

#include "win/dialog_driver.h"

namespace kivora::test {

// runWithDriver for a modal function that returns the dialog's result.
INT_PTR runWithRobot(const std::function<INT_PTR()>& modal, const std::function<void()>& robot);

// A click on a check box: its new state, then its BN_CLICKED.
void tick(HWND dialog, int id, bool ticked);
bool isTicked(HWND dialog, int id);
// A choice in a drop-down list: the selection, then CBN_SELCHANGE.
void choose(HWND dialog, int id, int index);
int chosen(HWND dialog, int id);
// Typing into an edit or a combo's edit (the edit reports EN_CHANGE itself).
void type(HWND dialog, int id, const std::wstring& text);
bool isEnabled(HWND dialog, int id);

// The visible message box captioned so (a dialog of the same caption, such
// as the device dialog for its own error boxes, does not count), or nullptr
// after the timeout.
HWND waitForMessageBox(const std::wstring& caption, DWORD timeoutMs = 10000);
// Waits for that box, returns its message and answers it with `button`;
// empty when no box came.
std::wstring answerBox(const std::wstring& caption, int button = IDOK);

}  // namespace kivora::test
