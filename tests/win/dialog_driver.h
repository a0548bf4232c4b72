#pragma once
// Driving Kivora's modal dialogs from a test: the dialog runs on the test's
// thread while a driver thread finds it by title, sets its controls and
// presses its buttons, as a user would.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace kivora::test {

// The first top-level window of class `cls` ("#32770" for dialogs and
// message boxes) and exactly `title` that this process shows within
// `timeoutMs`; nullptr when none appeared.
HWND waitForWindow(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs = 15000);

// Waits until `window` is gone; false on timeout.
bool waitUntilClosed(HWND window, DWORD timeoutMs = 15000);

// Presses a button the way a click does: WM_COMMAND with BN_CLICKED from the
// button, posted so that a modal loop the button starts does not block us.
void pressButton(HWND dialog, int id);

// The text of a window or of one of a dialog's controls.
std::wstring windowText(HWND window);
std::wstring itemText(HWND dialog, int id);

// The message of a message box (its text control, id 0xFFFF).
std::wstring messageBoxText(HWND box);

// Waits for the message box captioned `caption`, returns its text and
// presses `button` on it. Empty text when no box appeared.
std::wstring answerMessageBox(const wchar_t* caption, int button = IDOK);

// Runs `modal` (which shows a modal dialog) on this thread and `driver` on a
// second one, then waits for the driver. Should the driver end while dialogs
// of this process are still up, they are cancelled so the test cannot hang.
void runWithDriver(const std::function<void()>& modal, const std::function<void()>& driver);

// An HDROP of one file, as the shell hands it to WM_DROPFILES; the window
// that receives it frees it (DragFinish).
HDROP makeDrop(const std::wstring& path);

// A file in the temporary folder, removed when the object goes.
class ScratchFile {
 public:
  explicit ScratchFile(const wchar_t* name);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::wstring& path() const { return path_; }
  void write(const std::string& bytes) const;
  std::string read() const;
  bool exists() const;

 private:
  std::wstring path_;
};

}  // namespace kivora::test
