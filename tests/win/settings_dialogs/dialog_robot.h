#pragma once
// Plays the user of a modal dialog: the dialog runs on the test's thread
// while a robot thread finds it by its title, sets its controls by id the way
// a click or a choice would, and presses its buttons.

#include <windows.h>

#include <functional>
#include <string>

namespace kivora::test {

// Runs modal() (which shows a modal dialog and returns its result) on this
// thread and robot() on another. Dialogs and boxes of this thread still up
// when the robot is done are cancelled, so a failed step cannot hang the test.
INT_PTR runWithRobot(const std::function<INT_PTR()>& modal, const std::function<void()>& robot);

// The visible dialog or message box (class "#32770") titled exactly so, or
// nullptr after the timeout.
HWND waitForDialog(const std::wstring& title, DWORD timeoutMs = 10000);
bool waitUntilClosed(HWND window, DWORD timeoutMs = 10000);

// A button press: BN_CLICKED from the button, posted, as a modal loop the
// press opens would otherwise hold the robot up.
void press(HWND dialog, int id);
// A click on a check box: its new state, then its BN_CLICKED.
void tick(HWND dialog, int id, bool ticked);
bool isTicked(HWND dialog, int id);
// A choice in a drop-down list: the selection, then CBN_SELCHANGE.
void choose(HWND dialog, int id, int index);
int chosen(HWND dialog, int id);
// Typing into an edit or a combo's edit (the edit reports EN_CHANGE itself).
void type(HWND dialog, int id, const std::wstring& text);
std::wstring textOf(HWND window);
std::wstring itemText(HWND dialog, int id);
bool isEnabled(HWND dialog, int id);

// The visible message box captioned so (a dialog of that caption does not
// count), or nullptr after the timeout.
HWND waitForMessageBox(const std::wstring& caption, DWORD timeoutMs = 10000);
// Waits for the message box captioned so, returns its message and answers
// it with `button`; empty when no box came.
std::wstring answerBox(const std::wstring& caption, int button = IDOK);

}  // namespace kivora::test
