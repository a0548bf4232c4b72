#pragma once
// Driving the real Kivora.exe from a test under Wine: starting and stopping
// it, its settings in the real registry and in ini files, its windows and
// message boxes, the lock keys, and a probe that reads what only Kivora's own
// process can read (its menu, its message box's icon).

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kivora::e2e {

inline constexpr DWORD kWait = 15000;  // the longest any single wait may take
inline constexpr wchar_t kSettingsKey[] = L"Software\\Orvanta\\Kivora\\CurrentVersion";

std::wstring kivoraExe();

// The registry key of Kivora's settings.
void deleteKivoraSettings();
void writeSetting(const wchar_t* name, DWORD value);
std::optional<DWORD> readSetting(const wchar_t* name);
bool settingsKeyExists();

// Ends every process that shows a window of class "Kivora" (left over from
// an earlier test that failed).
void endStrayKivora();

struct StartOptions {
  std::wstring arguments{};         // the command line after the program's name
  std::wstring exe{};               // default: Kivora.exe beside the test
  std::wstring directory{};         // current folder; default: the test's
  const wchar_t* language = L"EN";  // KIVORA_LANG
};

// One Kivora process; killed when the object goes if it still runs.
class Kivora {
 public:
  explicit Kivora(StartOptions options = {});
  ~Kivora();
  Kivora(const Kivora&) = delete;
  Kivora& operator=(const Kivora&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD pid() const { return pid_; }
  bool running() const;
  bool waitForExit(DWORD ms = kWait) const;
  DWORD exitCode() const;
  // A top-level window of this process with the class (and title, if given)
  // for which `accept` holds; null after the timeout.
  HWND waitForWindow(const wchar_t* cls, const wchar_t* title = nullptr, DWORD ms = kWait,
                     const std::function<bool(HWND)>& accept = {}) const;
  // The main window (class "Kivora").
  HWND waitForMainWindow(DWORD ms = kWait) const { return waitForWindow(L"Kivora", nullptr, ms); }
  // A message box: "#32770" titled "Kivora", not one of the start-up dialogs.
  HWND waitForMessageBox(DWORD ms = kWait) const;
  // Where the module of this name was loaded from in this process; empty
  // while it is not loaded.
  std::wstring modulePath(const wchar_t* name) const;
  // Calls one export of the probe library inside this process and returns
  // what it wrote.
  std::wstring probe(const char* exportName) const;

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// Windows of another process.
std::wstring windowText(HWND window);
std::wstring messageBoxText(HWND box);
// WM_COMMAND with BN_CLICKED, posted, as a click sends it.
void pressButton(HWND dialog, int id);

// A folder of its own in the temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
  // Copies Kivora.exe here under `name`; returns the copy's path.
  std::wstring copyKivora(const std::wstring& name) const;
  // Writes a UTF-16 file with its byte-order mark.
  void writeUtf16(const std::wstring& name, const std::wstring& text) const;
  std::vector<BYTE> read(const std::wstring& name) const;
  bool exists(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// The text of a UTF-16 file with its byte-order mark (empty when the mark is missing).
std::wstring utf16Text(const std::vector<BYTE>& bytes);
// One value of the [Kivora] section of an ini file.
std::optional<int> iniValue(const std::wstring& iniPath, const wchar_t* name);

// The lock keys. Presses go through keybd_event as a user's would.
bool keyIsOn(BYTE virtualKey);
void pressKey(BYTE virtualKey);
void setKey(BYTE virtualKey, bool on);

// A window of this test on a thread of its own that pumps its messages. In
// front (the default) it takes the key presses of Kivora and of the test; it
// can come to the front or be retitled later as another program's window
// would be, with the event Windows raises for each.
class TestWindow {
 public:
  explicit TestWindow(const wchar_t* title = L"Kivora e2e: window in front", bool inFront = true);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND get() const { return window_; }
  void comeToFront() const;
  void retitle(const std::wstring& title) const;

 private:
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
};

// Waits until `done` holds, checking every 50 ms; false after the timeout.
bool waitUntil(const std::function<bool()>& done, DWORD ms = kWait);

// A steady clock in milliseconds (QueryPerformanceCounter), for the figures a
// test prints about how soon Kivora reacted.
double milliseconds();

}  // namespace kivora::e2e
