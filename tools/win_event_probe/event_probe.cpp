// event_probe: measures Kivora.exe's event-driven monitoring from outside,
// as other programs' windows would drive it. Run under Wine by bench/run
// (it reads the lines this program prints).
//
//   event_probe KIVORA_EXE SWITCHES SECONDS
//   event_probe --retitle SECONDS RATE      (the window behind, in a process of its own)
//
// It seeds Kivora's settings (NumLock held OFF, a window rule "Spreadsheet"
// that holds it ON, a 60-second timer so that only events explain a tick,
// InstantCheck, SendTK) and starts Kivora. A stand-in for the companion
// program ("cursormate") counts Kivora's ticks, as each one sends it the lock
// states; raw input counts NumLock presses. Then, printing "name value" lines:
//   - SWITCHES switches between a window of the rule and one without, and as
//     many title changes of the window in front into and out of the rule's
//     title: the milliseconds until NumLock follows, median and worst;
//   - SECONDS of nothing (the ticks, for comparison);
//   - SECONDS of a window behind, in another process, retitling itself RATE
//     (100) times a second: the ticks;
//   - SECONDS of the window in front doing the same: the ticks, the
//     shortest gap between two, the NumLock presses.
// Wine raises neither EVENT_SYSTEM_FOREGROUND nor EVENT_OBJECT_NAMECHANGE by
// itself, so each window raises its own with NotifyWinEvent, as Windows does.
// A line "phase NAME" is printed (and flushed) as each phase begins, so the
// driver can read Kivora's CPU from the Linux side at the same moments.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "win_probe_common/probe.h"

namespace {

using namespace kivora::probe;

constexpr wchar_t kRuleTitle[] = L"Budget 2025 - Spreadsheet";
constexpr wchar_t kPlainTitle[] = L"notes.txt - Editor";
constexpr double kGiveUpMs = 5000.0;

// The prefix is shared with the other probe: nothing of these settings may
// stay behind (a rule, SendTK).
void deleteSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvanta\\Kivora"); }

void seedSettings() {
  deleteSettings();
  writeSetting(L"NumLockState", 2);  // constantly OFF
  writeSetting(L"CapsLockState", 0);
  writeSetting(L"ScrollLockState", 0);
  writeSetting(L"KBWatchEnabled", 1);
  writeSetting(L"timer3_interval", 60000);
  writeSetting(L"NoOpeningDlg", 1);
  writeSetting(L"InstantCheck", 1);
  writeSetting(L"SendTK", 1);
  const std::wstring rules = std::wstring(kSettingsKey) + L"\\SpecProg";
  const std::wstring title = L"Spreadsheet";
  writeValue(rules, L"00000000_NAME", REG_SZ, title.c_str(),
             static_cast<DWORD>((title.size() + 1) * sizeof(wchar_t)));
  const DWORD alwaysOn = 2;
  const DWORD none = 0;
  writeValue(rules, L"00000000_NMLK", REG_DWORD, &alwaysOn, sizeof alwaysOn);
  for (const wchar_t* name : {L"00000000_CPLK", L"00000000_SCLK", L"00000000_IME"})
    writeValue(rules, name, REG_DWORD, &none, sizeof none);
}

// Milliseconds until NumLock is `on`, or -1.
double timeUntilNumLock(bool on, double since) {
  while (nowMs() - since < kGiveUpMs) {
    if (numLockOn() == on) return nowMs() - since;
    Sleep(1);
  }
  return -1.0;
}

// --- the companion's stand-in: ticks and NumLock presses ---------------------

std::mutex tickMutex;
std::vector<double> tickTimes;
std::atomic<int> numLockPresses{0};

LRESULT CALLBACK counterProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    std::lock_guard lock(tickMutex);
    tickTimes.push_back(nowMs());
    return TRUE;
  }
  if (msg == WM_INPUT) {
    RAWINPUT report{};
    UINT size = sizeof report;
    if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &report, &size,
                        sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
        report.header.dwType == RIM_TYPEKEYBOARD && report.data.keyboard.VKey == VK_NUMLOCK &&
        (report.data.keyboard.Flags & RI_KEY_BREAK) == 0)
      ++numLockPresses;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

DWORD WINAPI counterThread(void* ready) {
  const HWND window = makeStandIn(L"cursormate", counterProc);
  const RAWINPUTDEVICE keyboard{0x01, 0x06, RIDEV_INPUTSINK, window};
  RegisterRawInputDevices(&keyboard, 1, sizeof keyboard);
  return signalAndPump(ready);
}

std::vector<double> ticksBetween(double from, double to) {
  std::lock_guard lock(tickMutex);
  std::vector<double> found;
  for (const double t : tickTimes)
    if (t >= from && t < to) found.push_back(t);
  return found;
}

// --- windows that raise their own events -------------------------------------

struct WindowStart {
  const wchar_t* title;
  bool inFront;
  HANDLE ready;
  HWND window;
};

DWORD WINAPI windowThread(void* param) {
  auto& s = *static_cast<WindowStart*>(param);
  s.window = CreateWindowExW(0, L"Static", s.title, WS_OVERLAPPEDWINDOW, 40, 400, 300, 120, nullptr,
                             nullptr, nullptr, nullptr);
  ShowWindow(s.window, s.inFront ? SW_SHOW : SW_SHOWNOACTIVATE);
  if (s.inFront) SetForegroundWindow(s.window);
  return signalAndPump(s.ready);
}

HWND makeWindow(const wchar_t* title, bool inFront) {
  WindowStart start{title, inFront, CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
  CloseHandle(CreateThread(nullptr, 0, windowThread, &start, 0, nullptr));
  WaitForSingleObject(start.ready, 5000);
  CloseHandle(start.ready);
  return start.window;
}

// Announced once the window is in front, as Windows does: Wine raises no
// event itself and activates another thread's window only when that thread
// gets to it.
void comeToFront(HWND window) {
  SetForegroundWindow(window);
  const double end = nowMs() + 5000;
  while (GetForegroundWindow() != window && nowMs() < end) Sleep(1);
  NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
}

void retitle(HWND window, const std::wstring& title) {
  SetWindowTextW(window, title.c_str());
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_WINDOW, CHILDID_SELF);
}

// Retitles the window `rate` times a second for `seconds`, always with the
// rule's title; returns the titles set.
int retitleFor(HWND window, int seconds, int rate) {
  const double start = nowMs();
  const double period = 1000.0 / rate;
  int count = 0;
  while (nowMs() - start < 1000.0 * seconds) {
    retitle(window, std::wstring(kRuleTitle) + L" (" + std::to_wstring(count) + L")");
    ++count;
    const double next = start + period * count;
    pump();
    if (next > nowMs()) Sleep(static_cast<DWORD>(next - nowMs()));
  }
  return count;
}

// --- measurements -------------------------------------------------------------

void sayFigures(const char* name, std::vector<double> times, int lost) {
  const std::string prefix(name);
  say((prefix + "_samples").c_str(), static_cast<double>(times.size()));
  say((prefix + "_lost").c_str(), lost);
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  say((prefix + "_median_ms").c_str(),
      n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2.0);
  say((prefix + "_worst_ms").c_str(), times.back());
}

// Alternate switches between the rule's window and the plain one, and title
// changes of the window in front into and out of the rule's title.
void measureSwitches(HWND plain, HWND sheet, int switches) {
  std::vector<double> switchTimes;
  std::vector<double> titleTimes;
  int switchesLost = 0;
  int titlesLost = 0;
  for (int i = 0; i < switches; ++i) {
    const bool toSheet = i % 2 == 0;
    double start = nowMs();
    comeToFront(toSheet ? sheet : plain);
    double time = timeUntilNumLock(toSheet, start);
    if (time < 0) {
      ++switchesLost;
    } else {
      switchTimes.push_back(time);
    }
    Sleep(100);

    const HWND front = toSheet ? sheet : plain;
    start = nowMs();
    retitle(front, toSheet ? kPlainTitle : kRuleTitle);
    time = timeUntilNumLock(!toSheet, start);
    if (time < 0) {
      ++titlesLost;
    } else {
      titleTimes.push_back(time);
    }
    Sleep(100);
    retitle(front, toSheet ? kRuleTitle : kPlainTitle);
    timeUntilNumLock(toSheet, nowMs());
    Sleep(100);
  }
  sayFigures("switch", switchTimes, switchesLost);
  sayFigures("title", titleTimes, titlesLost);
}

// Runs `during` between two phase lines and reports the ticks in between.
template <typename During>
std::vector<double> countTicks(const char* name, During during) {
  const std::string begin = std::string(name) + "_begin";
  const std::string end = std::string(name) + "_end";
  phase(begin.c_str());
  const double from = nowMs();
  during();
  const double to = nowMs();
  phase(end.c_str());
  const std::vector<double> ticks = ticksBetween(from, to);
  say((std::string(name) + "_ticks").c_str(), static_cast<double>(ticks.size()));
  say((std::string(name) + "_wall_ms").c_str(), to - from);
  return ticks;
}

int runBehind(int seconds, int rate) {
  const std::wstring self = [] {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path);
  }();
  std::wstring commandLine =
      L"\"" + self + L"\" --retitle " + std::to_wstring(seconds) + L" " + std::to_wstring(rate);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info))
    return -1;
  CloseHandle(info.hThread);
  WaitForSingleObject(info.hProcess, static_cast<DWORD>(seconds) * 1000 + 20000);
  DWORD titles = 0;
  GetExitCodeProcess(info.hProcess, &titles);
  CloseHandle(info.hProcess);
  return static_cast<int>(titles);
}

// The window behind: its own process, never brought to the front.
int retitleBehind(int seconds, int rate) {
  const HWND window = makeWindow(kPlainTitle, false);
  return retitleFor(window, seconds, rate);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--retitle")
    return retitleBehind(_wtoi(argv[2]), _wtoi(argv[3]));
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: event_probe KIVORA_EXE SWITCHES SECONDS\n"
                 "       event_probe --retitle SECONDS RATE\n");
    return 2;
  }
  const std::wstring exe = argv[1];
  const int switches = _wtoi(argv[2]);
  const int seconds = _wtoi(argv[3]);
  constexpr int kRate = 100;

  seedSettings();
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(CreateThread(nullptr, 0, counterThread, ready, 0, nullptr));
  WaitForSingleObject(ready, 5000);
  CloseHandle(ready);
  const HWND sheet = makeWindow(kRuleTitle, false);
  const HWND plain = makeWindow(kPlainTitle, true);
  comeToFront(plain);
  // Kivora, started later, sees every lock key OFF until it changes.
  if (numLockOn()) {
    keybd_event(VK_NUMLOCK, 0, 0, 0);
    keybd_event(VK_NUMLOCK, 0, KEYEVENTF_KEYUP, 0);
  }

  std::wstring commandLine = L"\"" + exe + L"\"";
  SetEnvironmentVariableW(L"KIVORA_LANG", L"EN");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  phase("start");
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    std::fprintf(stderr, "event_probe: cannot start Kivora (%lu)\n", GetLastError());
    return 1;
  }
  CloseHandle(info.hThread);
  HWND kivora = nullptr;
  for (const double started = nowMs(); !kivora && nowMs() - started < 20000.0; Sleep(10))
    kivora = kivoraWindow(info.dwProcessId);
  std::printf("kivora_pid %lu\n", info.dwProcessId);
  std::fflush(stdout);
  Sleep(3000);  // the window's creation, and with it the hooks, has finished

  phase("switches");
  measureSwitches(plain, sheet, switches);
  comeToFront(plain);
  Sleep(500);

  countTicks("idle", [&] { Sleep(static_cast<DWORD>(seconds) * 1000); });
  int titles = 0;
  countTicks("behind", [&] { titles = runBehind(seconds, kRate); });
  say("behind_titles", titles);

  const int pressesBefore = numLockPresses;
  const std::vector<double> ticks =
      countTicks("front", [&] { titles = retitleFor(plain, seconds, kRate); });
  say("front_titles", titles);
  say("front_numlock_presses", numLockPresses - pressesBefore);
  double shortest = -1.0;
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    const double gap = ticks[i] - ticks[i - 1];
    if (shortest < 0 || gap < shortest) shortest = gap;
  }
  say("front_shortest_gap_ms", shortest);

  if (kivora) PostMessageW(kivora, kExecAll, kIdmExit, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hProcess);
  if (numLockOn()) {
    keybd_event(VK_NUMLOCK, 0, 0, 0);
    keybd_event(VK_NUMLOCK, 0, KEYEVENTF_KEYUP, 0);
  }
  deleteSettings();
  phase("done");
  return 0;
}
