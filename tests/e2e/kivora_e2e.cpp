#include "e2e/kivora_e2e.h"

#include <tlhelp32.h>

#include <memory>
#include <optional>

#include "win/test_paths.h"

namespace kivora::e2e {

namespace {

constexpr wchar_t kProbeLibrary[] = L"kivora_window_probe.dll";

std::wstring className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::vector<HWND> topLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

DWORD processOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

// The entry of a module loaded in another process, read from the outside:
// nothing runs inside that process.
std::optional<MODULEENTRY32W> remoteModule(DWORD pid, const wchar_t* name) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  std::optional<MODULEENTRY32W> found;
  for (BOOL more = Module32FirstW(snapshot, &entry); more && !found;
       more = Module32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szModule, name) == 0) found = entry;
  }
  CloseHandle(snapshot);
  return found;
}

std::uintptr_t remoteModuleBase(DWORD pid, const wchar_t* name) {
  const auto module = remoteModule(pid, name);
  return module ? reinterpret_cast<std::uintptr_t>(module->modBaseAddr) : 0;
}

bool runRemoteThread(HANDLE process, std::uintptr_t start, void* argument) {
  const HANDLE thread = CreateRemoteThread(
      process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start), argument, 0, nullptr);
  if (!thread) return false;
  const bool finished = WaitForSingleObject(thread, kWait) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return finished;
}

void deleteKeyIfEmpty(const wchar_t* path) { RegDeleteKeyW(HKEY_CURRENT_USER, path); }

}  // namespace

std::wstring kivoraExe() { return test::besideTestProgram(L"Kivora.exe"); }

void deleteKivoraSettings() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvanta\\Kivora");
  deleteKeyIfEmpty(L"Software\\Orvanta\\Kivora");
  deleteKeyIfEmpty(L"Software\\Orvanta");
}

void writeSetting(const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

std::optional<DWORD> readSetting(const wchar_t* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, &type, &value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool settingsKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

void endStrayKivora() {
  for (HWND window : topLevelWindows()) {
    if (className(window) != L"Kivora") continue;
    if (const HANDLE process =
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processOf(window))) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, kWait);
      CloseHandle(process);
    }
  }
}

Kivora::Kivora(StartOptions options) {
  const std::wstring exe = options.exe.empty() ? kivoraExe() : options.exe;
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!options.arguments.empty()) commandLine += L" " + options.arguments;
  SetEnvironmentVariableW(L"KIVORA_LANG", options.language);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     options.directory.empty() ? nullptr : options.directory.c_str(), &startup,
                     &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
  }
}

Kivora::~Kivora() {
  if (!process_) return;
  if (running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kWait);
  }
  CloseHandle(process_);
}

bool Kivora::running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Kivora::waitForExit(DWORD ms) const {
  return process_ && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
}

DWORD Kivora::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

HWND Kivora::waitForWindow(const wchar_t* cls, const wchar_t* title, DWORD ms,
                           const std::function<bool(HWND)>& accept) const {
  HWND found = nullptr;
  waitUntil(
      [&] {
        for (HWND window : topLevelWindows()) {
          if (processOf(window) != pid_ || className(window) != cls) continue;
          if (title && windowText(window) != title) continue;
          if (accept && !accept(window)) continue;
          found = window;
          return true;
        }
        return !running();
      },
      ms);
  return found;
}

HWND Kivora::waitForMessageBox(DWORD ms) const {
  return waitForWindow(L"#32770", L"Kivora", ms, [](HWND window) {
    // The start-up dialogs carry the pictures; message boxes do not.
    return IsWindowVisible(window) && GetDlgItem(window, 1050) == nullptr;
  });
}

std::wstring Kivora::modulePath(const wchar_t* name) const {
  const auto module = remoteModule(pid_, name);
  return module ? module->szExePath : L"";
}

std::wstring Kivora::probe(const char* exportName) const {
  const std::wstring library = test::besideTestProgram(kProbeLibrary);
  static const HMODULE local = LoadLibraryW(library.c_str());
  const auto function = reinterpret_cast<std::uintptr_t>(GetProcAddress(local, exportName));
  if (!local || !function) return L"probe library missing";

  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring output =
      std::wstring(temp) + L"kivora-probe-" + std::to_wstring(pid_) + L".txt";
  DeleteFileW(output.c_str());

  const std::wstring arguments = library + L'\0' + output + L'\0';
  const SIZE_T bytes = arguments.size() * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote || !WriteProcessMemory(process_, remote, arguments.data(), bytes, nullptr))
    return L"no remote memory";
  auto* remoteOutput = static_cast<wchar_t*>(remote) + library.size() + 1;

  const auto loadLibrary = reinterpret_cast<std::uintptr_t>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  std::wstring answer = L"probe failed";
  if (runRemoteThread(process_, loadLibrary, remote)) {
    const std::uintptr_t base = remoteModuleBase(pid_, kProbeLibrary);
    const auto offset = function - reinterpret_cast<std::uintptr_t>(local);
    if (base && runRemoteThread(process_, base + offset, remoteOutput)) {
      const HANDLE file = CreateFileW(output.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        wchar_t text[4096] = {};
        DWORD read = 0;
        ReadFile(file, text, sizeof text - sizeof(wchar_t), &read, nullptr);
        CloseHandle(file);
        answer.assign(text, read / sizeof(wchar_t));
      }
    }
  }
  DeleteFileW(output.c_str());
  VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
  return answer;
}

std::wstring windowText(HWND window) {
  wchar_t text[2048] = {};
  // WM_GETTEXT crosses processes; GetWindowTextW would not ask the window.
  SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, nullptr);
  return text;
}

std::wstring messageBoxText(HWND box) { return windowText(GetDlgItem(box, 0xFFFF)); }

void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  // Process ids come round again, and a run cut short leaves its folders
  // behind: take the next name that is not there yet.
  static int counter = 0;
  do {
    path_ = std::wstring(temp) + L"kivora-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
  } while (!CreateDirectoryW(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

ScratchFolder::~ScratchFolder() {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") DeleteFileW(file(name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path_.c_str());
}

std::wstring ScratchFolder::copyKivora(const std::wstring& name) const {
  const std::wstring target = file(name);
  CopyFileW(kivoraExe().c_str(), target.c_str(), FALSE);
  return target;
}

void ScratchFolder::writeUtf16(const std::wstring& name, const std::wstring& text) const {
  const HANDLE handle =
      CreateFileW(file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  const std::wstring withMark = L"\xFEFF" + text;
  DWORD written = 0;
  WriteFile(handle, withMark.data(), static_cast<DWORD>(withMark.size() * sizeof(wchar_t)),
            &written, nullptr);
  CloseHandle(handle);
}

std::vector<BYTE> ScratchFolder::read(const std::wstring& name) const {
  std::vector<BYTE> bytes;
  const HANDLE handle =
      CreateFileW(file(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(handle, nullptr));
  DWORD read = 0;
  if (!bytes.empty())
    ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(handle);
  bytes.resize(read);
  return bytes;
}

bool ScratchFolder::exists(const std::wstring& name) const {
  return GetFileAttributesW(file(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring utf16Text(const std::vector<BYTE>& bytes) {
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return {};
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                      (bytes.size() - 2) / sizeof(wchar_t));
}

std::optional<int> iniValue(const std::wstring& iniPath, const wchar_t* name) {
  constexpr int kMissing = -987654;
  const int value =
      static_cast<int>(GetPrivateProfileIntW(L"Kivora", name, kMissing, iniPath.c_str()));
  if (value == kMissing) return std::nullopt;
  return value;
}

bool keyIsOn(BYTE virtualKey) { return (GetKeyState(virtualKey) & 1) != 0; }

void pressKey(BYTE virtualKey) {
  keybd_event(virtualKey, 0, 0, 0);
  keybd_event(virtualKey, 0, KEYEVENTF_KEYUP, 0);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void setKey(BYTE virtualKey, bool on) {
  if (keyIsOn(virtualKey) != on) pressKey(virtualKey);
}

TestWindow::TestWindow(const wchar_t* title, bool inFront) {
  struct Start {
    const wchar_t* title;
    bool inFront;
    HANDLE ready;
    HWND window;
  } start{title, inFront, CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
  thread_ = CreateThread(
      nullptr, 0,
      [](void* param) -> DWORD {
        auto& s = *static_cast<Start*>(param);
        s.window = CreateWindowExW(0, L"Static", s.title,
                                   WS_OVERLAPPEDWINDOW | (s.inFront ? WS_VISIBLE : 0), 40, 400, 300,
                                   120, nullptr, nullptr, nullptr, nullptr);
        if (s.inFront)
          SetForegroundWindow(s.window);
        else
          ShowWindow(s.window, SW_SHOWNOACTIVATE);
        SetEvent(s.ready);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
          TranslateMessage(&msg);
          DispatchMessageW(&msg);
        }
        DestroyWindow(s.window);
        return 0;
      },
      &start, 0, &threadId_);
  WaitForSingleObject(start.ready, kWait);
  CloseHandle(start.ready);
  window_ = start.window;
}

TestWindow::~TestWindow() {
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_, kWait);
  CloseHandle(thread_);
}

void TestWindow::comeToFront() const {
  SetForegroundWindow(window_);
  // Windows raises the event once the window is in front. Wine raises none,
  // and activates a window of another thread only when that thread gets to
  // it: announced earlier, the switch would reach Kivora while the old window
  // is still in front.
  const ULONGLONG end = GetTickCount64() + kWait;
  while (GetForegroundWindow() != window_ && GetTickCount64() < end) Sleep(1);
  NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window_, OBJID_WINDOW, CHILDID_SELF);
}

void TestWindow::retitle(const std::wstring& title) const {
  SetWindowTextW(window_, title.c_str());
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_WINDOW, CHILDID_SELF);
}

bool waitUntil(const std::function<bool()>& done, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(50);
  }
  return true;
}

double milliseconds() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

}  // namespace kivora::e2e
