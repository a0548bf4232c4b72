// resident_probe: measures a running Kivora.exe from outside, as a user's
// system would see it. Run under Wine by bench/run (it reads the lines this
// program prints).
//
//   resident_probe KIVORA_EXE INTERVAL_MS SOAK_SECONDS CPU_SECONDS CHANGES INSTANT_CHECK
//
// It seeds Kivora's settings (NumLock held ON, CapsLock and ScrollLock held
// OFF, the interval, InstantCheck), starts Kivora and prints "name value"
// lines: the time from CreateProcess to the tray icon's NIM_ADD (a stand-in
// tray window in front of the shell's one sees the message and passes it on)
// and to the main window; private memory and GDI/USER objects after start;
// Kivora's CPU time over CPU_SECONDS; the correction latency of CHANGES
// outside changes of NumLock; and memory and objects again once SOAK_SECONDS
// have passed since the start. A phase line "phase NAME" is printed (and
// flushed) as each phase begins, so the driver can read the Linux side at the
// same moments.

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "win_probe_common/probe.h"

namespace {

using namespace kivora::probe;

// --- the stand-in tray -------------------------------------------------------

std::atomic<double> trayAddedAt{-1.0};
HWND shellTray = nullptr;  // the shell's own tray window, found before ours exists

LRESULT CALLBACK trayProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data && data->dwData == NIM_ADD && trayAddedAt.load() < 0) trayAddedAt = nowMs();
    return shellTray ? SendMessageW(shellTray, WM_COPYDATA, wParam, lParam) : TRUE;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

DWORD WINAPI trayThread(void* ready) {
  makeStandIn(L"Shell_TrayWnd", trayProc, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  return signalAndPump(ready);
}

// --- a window of ours in front, so that Kivora's key presses have a target ---

DWORD WINAPI frontThread(void* ready) {
  const HWND window = CreateWindowExW(0, L"Static", L"Kivora bench: window in front",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 400, 300, 120, nullptr,
                                      nullptr, nullptr, nullptr);
  SetForegroundWindow(window);
  return signalAndPump(ready);
}

void pressKey(BYTE key) {
  keybd_event(key, 0, 0, 0);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  pump();
}

void pressNumLock() { pressKey(VK_NUMLOCK); }

// Known states before Kivora starts: a process that starts later sees every
// toggle as off until the next change.
void switchOff(BYTE key) {
  pump();
  if ((GetKeyState(key) & 1) != 0) pressKey(key);
}

// Waits (polling every millisecond) until NumLock is on; the time it took, or -1.
double waitForNumLockOn(double since, double timeoutMs) {
  while (nowMs() - since < timeoutMs) {
    if (numLockOn()) return nowMs() - since;
    Sleep(1);
  }
  return -1.0;
}

void sampleResources(HANDLE process, const char* when) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  std::string name;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    name = std::string("private_kib_") + when;
    say(name.c_str(), static_cast<double>(memory.PrivateUsage) / 1024.0);
  }
  SetLastError(0);
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD gdiError = GetLastError();
  SetLastError(0);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  const DWORD userError = GetLastError();
  name = std::string("gdi_objects_") + when;
  say(name.c_str(), gdiError == 0 ? static_cast<double>(gdi) : -1.0);
  name = std::string("user_objects_") + when;
  say(name.c_str(), userError == 0 ? static_cast<double>(user) : -1.0);
}

double cpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1.0;
  auto ms = [](const FILETIME& f) {
    return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

void measureLatency(int changes, int interval) {
  std::vector<double> latencies;
  int lost = 0;
  std::srand(12345);
  for (int i = 0; i < changes; ++i) {
    if (!numLockOn() && waitForNumLockOn(nowMs(), 5000.0) < 0) {
      ++lost;
      continue;
    }
    // A pause that is no multiple of the interval, so the changes fall at every phase of the timer.
    Sleep(static_cast<DWORD>(150 + std::rand() % (interval + 1)));
    const double t0 = nowMs();
    pressNumLock();
    const double latency = waitForNumLockOn(t0, 5000.0);
    if (latency < 0) {
      ++lost;
    } else {
      latencies.push_back(latency);
    }
  }
  std::sort(latencies.begin(), latencies.end());
  say("latency_samples", static_cast<double>(latencies.size()));
  say("latency_lost", lost);
  if (latencies.empty()) return;
  const std::size_t n = latencies.size();
  const double median = n % 2 ? latencies[n / 2] : (latencies[n / 2 - 1] + latencies[n / 2]) / 2.0;
  say("latency_median_ms", median);
  say("latency_worst_ms", latencies.back());
  say("latency_best_ms", latencies.front());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 7) {
    std::fprintf(stderr,
                 "usage: resident_probe KIVORA_EXE INTERVAL_MS SOAK_SECONDS CPU_SECONDS CHANGES "
                 "INSTANT_CHECK\n");
    return 2;
  }
  const std::wstring exe = argv[1];
  const int interval = _wtoi(argv[2]);
  const int soakSeconds = _wtoi(argv[3]);
  const int cpuSeconds = _wtoi(argv[4]);
  const int changes = _wtoi(argv[5]);
  const int instantCheck = _wtoi(argv[6]);

  writeSetting(L"NumLockState", 3);     // constantly ON
  writeSetting(L"CapsLockState", 2);    // constantly OFF
  writeSetting(L"ScrollLockState", 2);  // constantly OFF
  writeSetting(L"KBWatchEnabled", 1);
  writeSetting(L"timer3_interval", static_cast<DWORD>(interval));
  writeSetting(L"NoOpeningDlg", 1);
  writeSetting(L"InstantCheck", static_cast<DWORD>(instantCheck));

  shellTray = FindWindowW(L"Shell_TrayWnd", nullptr);
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CloseHandle(CreateThread(nullptr, 0, trayThread, ready, 0, nullptr));
  WaitForSingleObject(ready, 5000);
  ResetEvent(ready);
  CloseHandle(CreateThread(nullptr, 0, frontThread, ready, 0, nullptr));
  WaitForSingleObject(ready, 5000);
  CloseHandle(ready);

  switchOff(VK_NUMLOCK);
  switchOff(VK_CAPITAL);
  switchOff(VK_SCROLL);

  std::wstring commandLine = L"\"" + exe + L"\"";
  SetEnvironmentVariableW(L"KIVORA_LANG", L"EN");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  phase("start");
  const double started = nowMs();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    std::fprintf(stderr, "resident_probe: cannot start Kivora (%lu)\n", GetLastError());
    return 1;
  }
  CloseHandle(info.hThread);
  HWND window = nullptr;
  double windowAt = -1.0;
  while (nowMs() - started < 20000.0 && (trayAddedAt.load() < 0 || !window)) {
    if (!window && (window = kivoraWindow(info.dwProcessId)) != nullptr) windowAt = nowMs();
    Sleep(1);
  }
  say("tray_added_ms", trayAddedAt.load() < 0 ? -1.0 : trayAddedAt.load() - started);
  say("main_window_ms", windowAt < 0 ? -1.0 : windowAt - started);
  std::printf("kivora_pid %lu\n", info.dwProcessId);
  std::fflush(stdout);
  // Kivora switches NumLock on at its first tick.
  const double firstCorrection = waitForNumLockOn(started, 20000.0);
  say("first_correction_ms", firstCorrection);

  Sleep(3000);  // the first ticks and the device list settle
  phase("after_start");
  sampleResources(info.hProcess, "start");

  if (cpuSeconds > 0) {
    phase("cpu_begin");
    const double wall0 = nowMs();
    const double cpu0 = cpuMs(info.hProcess);
    Sleep(static_cast<DWORD>(cpuSeconds) * 1000);
    const double cpu1 = cpuMs(info.hProcess);
    const double wall1 = nowMs();
    phase("cpu_end");
    say("cpu_ms", cpu1 - cpu0);
    say("cpu_wall_ms", wall1 - wall0);
    say("cpu_percent", 100.0 * (cpu1 - cpu0) / (wall1 - wall0));
  }

  if (changes > 0) {
    phase("latency");
    measureLatency(changes, interval);
  }

  const double soakEnd = started + 1000.0 * soakSeconds;
  while (nowMs() < soakEnd)
    Sleep(static_cast<DWORD>(std::min(1000.0, std::max(1.0, soakEnd - nowMs()))));
  phase("after_soak");
  say("soak_seconds", (nowMs() - started) / 1000.0);
  sampleResources(info.hProcess, "soak");

  if (window) PostMessageW(window, kExecAll, kIdmExit, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hProcess);
  phase("done");
  return 0;
}
