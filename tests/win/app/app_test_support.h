#pragma once
// What the shell's tests share: an App over this test program (which carries
// Kivora's resources) with its settings in an ini file of a scratch folder,
// and a way to drive a modal dialog from a second thread.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/app.h"

namespace kivora::test {

// Makes a scratch folder current for its lifetime and removes it afterwards.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring file(const wchar_t* name) const { return path_ + L"\\" + name; }

 private:
  std::wstring previous_;
  std::wstring path_;
};

// An App in ini mode inside a scratch folder, its monitor created.
struct TestApp {
  explicit TestApp(bool japanese = false);
  ScratchDirectory folder;
  std::unique_ptr<app::App> app;
};

// The first visible top-level "#32770" window of this process titled
// `title`, waited for at most `ms`.
HWND waitForDialog(const wchar_t* title, DWORD ms = 10000);

// Runs `modal` here and `driver` on a second thread, then joins it. Should
// the driver return with a dialog of this process still up, that dialog is
// cancelled so the test cannot hang.
void runWithDriver(const std::function<void()>& modal, const std::function<void()>& driver);

void pumpMessages();

}  // namespace kivora::test
