#include "win/monitor/win32_monitor_harness.h"

#include "platform/win32/wide.h"
#include "platform/win32/window_handle_win32.h"

namespace kivora::test {

namespace {

constexpr wchar_t kScratchParent[] = L"Software\\Orvanta\\KivoraTests";
constexpr wchar_t kWindowClass[] = L"KivoraMonitorTestWindow";

std::wstring scratchName() {
  static int counter = 0;
  return L"monitor-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

std::wstring currentDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, buffer);
  return buffer;
}

void registerWindowClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc);
  }();
  (void)atom;
}

void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

TestWindow::TestWindow(const std::wstring& title, bool visible) {
  registerWindowClass();
  window_ = CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (visible && window_) {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
  }
  pumpMessages();
}

TestWindow::~TestWindow() {
  if (window_) DestroyWindow(window_);
  pumpMessages();
}

platform::WindowHandle TestWindow::handle() const { return win32::handleOf(window_); }

ForeignWindow::ForeignWindow(const std::wstring& title) {
  std::promise<HWND> created;
  auto ready = created.get_future();
  thread_ = std::thread([&created, title, this] {
    threadId_ = GetCurrentThreadId();
    TestWindow window(title);
    created.set_value(window.get());
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  });
  window_ = ready.get();
}

ForeignWindow::~ForeignWindow() {
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

platform::WindowHandle ForeignWindow::handle() const { return win32::handleOf(window_); }

ScratchStore::ScratchStore() : name_(scratchName()), previousDirectory_(currentDirectory()) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  directory_ = std::wstring(temp) + L"kivora-" + name_;
  CreateDirectoryW(directory_.c_str(), nullptr);
  SetCurrentDirectoryW(directory_.c_str());
  location_.registryKey =
      win32::fromWide((std::wstring(kScratchParent) + L"\\" + name_ + L"\\CurrentVersion").c_str());
}

ScratchStore::~ScratchStore() {
  SetCurrentDirectoryW(previousDirectory_.c_str());
  DeleteFileW((directory_ + L"\\Kivora.ini").c_str());
  RemoveDirectoryW(directory_.c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kScratchParent) + L"\\" + name_).c_str());
  // Each goes only once it is empty, so Kivora's own key is never touched.
  RegDeleteKeyW(HKEY_CURRENT_USER, kScratchParent);
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvanta");
}

Win32Monitor::Win32Monitor(settings::Settings& settings, ScratchStore& scratch,
                           platform::WindowHandle mainWindow)
    : monitor_(settings, scratch.store(), log.log(), shell,
               {desktop_, keyboard_, sound_, ime_, rawInput_, hotkeys_, clock_, runner_, thread_},
               false) {
  shell.window = mainWindow;
}

bool keyIsOn(BYTE virtualKey) { return (GetKeyState(virtualKey) & 1) != 0; }

void pressKey(BYTE virtualKey) {
  keybd_event(virtualKey, 0, 0, 0);
  keybd_event(virtualKey, 0, KEYEVENTF_KEYUP, 0);
  pumpMessages();
}

void syncLockKeys() {
  for (BYTE key : {BYTE{VK_NUMLOCK}, BYTE{VK_CAPITAL}}) {
    pressKey(key);
    pressKey(key);
  }
}

void setKey(BYTE virtualKey, bool on) {
  if (keyIsOn(virtualKey) != on) pressKey(virtualKey);
}

}  // namespace kivora::test
