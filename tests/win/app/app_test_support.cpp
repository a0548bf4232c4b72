#include "win/app/app_test_support.h"

#include <atomic>
#include <thread>

namespace kivora::test {

namespace {

std::wstring currentDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, buffer);
  return buffer;
}

HWND findDialog(const wchar_t* title) {
  struct Search {
    const wchar_t* title;
    HWND found;
  } search{title, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        wchar_t cls[16] = {};
        wchar_t text[256] = {};
        GetClassNameW(window, cls, 16);
        // Not GetWindowTextW: for a window of this process it sends a message,
        // and the thread that owns the window may be the one waiting for us.
        InternalGetWindowText(window, text, 256);
        if (pid == GetCurrentProcessId() && IsWindowVisible(window) &&
            lstrcmpW(cls, L"#32770") == 0 && (!s.title || lstrcmpW(text, s.title) == 0)) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

ScratchDirectory::ScratchDirectory() : previous_(currentDirectory()) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  static int counter = 0;
  path_ = std::wstring(temp) + L"kivora-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  CreateDirectoryW(path_.c_str(), nullptr);
  SetCurrentDirectoryW(path_.c_str());
}

ScratchDirectory::~ScratchDirectory() {
  SetCurrentDirectoryW(previous_.c_str());
  DeleteFileW(file(L"Kivora.ini").c_str());
  RemoveDirectoryW(path_.c_str());
}

TestApp::TestApp(bool japanese)
    : app(std::make_unique<app::App>(GetModuleHandleW(nullptr), japanese)) {
  app->settings.bUseIni = true;
  app->folder = folder.path();
  app->createMonitor();
}

HWND waitForDialog(const wchar_t* title, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (HWND found = findDialog(title)) return found;
    if (GetTickCount64() >= end) return nullptr;
    Sleep(20);
  }
}

void runWithDriver(const std::function<void()>& modal, const std::function<void()>& driver) {
  std::atomic<bool> modalReturned{false};
  std::thread thread([&] {
    driver();
    // Whatever the driver left open goes, so the modal call returns.
    for (int i = 0; i < 100 && !modalReturned; ++i) {
      if (HWND left = findDialog(nullptr)) PostMessageW(left, WM_COMMAND, IDCANCEL, 0);
      Sleep(50);
    }
  });
  modal();
  modalReturned = true;
  thread.join();
}

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace kivora::test
