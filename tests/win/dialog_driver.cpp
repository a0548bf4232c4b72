#include "win/dialog_driver.h"

#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace kivora::test {

namespace {

struct Search {
  const wchar_t* cls;
  const wchar_t* title;
  HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (wcscmp(cls, search.cls) != 0) return TRUE;
  if (windowText(window) != search.title) return TRUE;
  search.found = window;
  return FALSE;
}

BOOL CALLBACK collectDialogs(HWND window, LPARAM lParam) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (pid == GetCurrentProcessId() && wcscmp(cls, L"#32770") == 0) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
  }
  return TRUE;
}

}  // namespace

HWND waitForWindow(const wchar_t* cls, const wchar_t* title, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  do {
    Search search{cls, title};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      Sleep(100);  // let it finish its WM_INITDIALOG
      return search.found;
    }
    Sleep(50);
  } while (GetTickCount64() < end);
  return nullptr;
}

bool waitUntilClosed(HWND window, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
  return true;
}

void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring windowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), n + 1);
  text.resize(got > 0 ? got : 0);
  return text;
}

std::wstring itemText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

std::wstring messageBoxText(HWND box) { return itemText(box, 0xFFFF); }

std::wstring answerMessageBox(const wchar_t* caption, int button) {
  HWND box = waitForWindow(L"#32770", caption);
  if (!box) return L"";
  std::wstring text = messageBoxText(box);
  pressButton(box, button);
  waitUntilClosed(box);
  return text;
}

void runWithDriver(const std::function<void()>& modal, const std::function<void()>& driver) {
  std::atomic<bool> modalEnded{false};
  std::thread thread([&] {
    driver();
    // The modal part should end now. Dialogs still up after three seconds
    // were left by a failing step: cancel them so the test goes on.
    for (int tick = 0; tick < 100 && !modalEnded; ++tick) {
      if (tick >= 30 && tick % 10 == 0) {
        std::vector<HWND> dialogs;
        EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&dialogs));
        for (HWND d : dialogs) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
      }
      Sleep(100);
    }
  });
  modal();
  modalEnded = true;
  thread.join();
}

HDROP makeDrop(const std::wstring& path) {
  const size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
  path.copy(names, path.size());
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

ScratchFile::ScratchFile(const wchar_t* name) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  path_ = std::wstring(temp) + L"kivora-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
  DeleteFileW(path_.c_str());
}

ScratchFile::~ScratchFile() { DeleteFileW(path_.c_str()); }

void ScratchFile::write(const std::string& bytes) const {
  if (FILE* f = _wfopen(path_.c_str(), L"wb")) {
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
}

std::string ScratchFile::read() const {
  std::string bytes;
  if (FILE* f = _wfopen(path_.c_str(), L"rb")) {
    char chunk[4096];
    size_t n = 0;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    fclose(f);
  }
  return bytes;
}

bool ScratchFile::exists() const {
  return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kivora::test
