// Event-driven monitoring with the real Kivora.exe: a window rule applies the
// moment its window comes to the front or the window in front takes a
// matching title, although Kivora's timer ticks only every ten seconds; a
// title changing behind runs nothing, one changing in front runs few ticks;
// a keyboard or session change reaching the main window runs a tick.
//
// Wine raises neither EVENT_SYSTEM_FOREGROUND nor EVENT_OBJECT_NAMECHANGE by
// itself, so the test's windows call NotifyWinEvent as Windows does when a
// window comes to the front or is retitled. Ticks are counted by a stand-in
// for the companion program, to which every tick sends the lock states
// (SendTK); Kivora's key presses by raw input of the test's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "e2e/e2e_fixture.h"

namespace kivora::e2e {
namespace {

constexpr DWORD kTimerInterval = 10000;
// Far beyond any event's tick, far below the timer.
constexpr double kLongBeforeTheTimer = 2000;
constexpr wchar_t kRuleTitle[] = L"Budget 2025 - Spreadsheet";
constexpr wchar_t kPlainTitle[] = L"notes.txt - Editor";

// Rule 0 of the registry's list: NumLock always ON in a window whose title
// holds "Spreadsheet".
void writeSpreadsheetRule() {
  HKEY key = nullptr;
  const std::wstring path = std::wstring(kSettingsKey) + L"\\SpecProg";
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  const std::wstring title = L"Spreadsheet";
  RegSetValueExW(key, L"00000000_NAME", 0, REG_SZ, reinterpret_cast<const BYTE*>(title.c_str()),
                 static_cast<DWORD>((title.size() + 1) * sizeof(wchar_t)));
  const DWORD alwaysOn = 2;
  for (const wchar_t* name :
       {L"00000000_NMLK", L"00000000_CPLK", L"00000000_SCLK", L"00000000_IME"}) {
    const DWORD value = lstrcmpW(name, L"00000000_NMLK") == 0 ? alwaysOn : 0;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  RegCloseKey(key);
}

// The companion program's window ("cursormate"), which every tick sends the
// lock states to while SendTK is on, and a raw-input sink that counts
// NumLock presses from any program.
class TickCounter {
 public:
  TickCounter() {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Start {
      TickCounter* self;
      HANDLE ready;
    } start{this, ready};
    thread_ = CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
          auto& s = *static_cast<Start*>(param);
          s.self->run(s.ready);
          return 0;
        },
        &start, 0, &threadId_);
    WaitForSingleObject(ready, kWait);
    CloseHandle(ready);
  }
  ~TickCounter() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, kWait);
    CloseHandle(thread_);
  }
  TickCounter(const TickCounter&) = delete;
  TickCounter& operator=(const TickCounter&) = delete;

  // Times of the ticks so far (milliseconds of this test's clock).
  std::vector<double> ticks() const {
    std::lock_guard lock(mutex_);
    return ticks_;
  }
  int numLockPresses() const { return numLockPresses_; }
  bool waitForTicks(std::size_t count, double limit) const {
    const double start = milliseconds();
    while (milliseconds() - start < limit) {
      if (ticks().size() >= count) return true;
      Sleep(1);
    }
    return false;
  }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TickCounter*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && msg == WM_COPYDATA) {
      std::lock_guard lock(self->mutex_);
      self->ticks_.push_back(milliseconds());
      return TRUE;
    }
    if (self && msg == WM_INPUT) {
      RAWINPUT report{};
      UINT size = sizeof report;
      if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &report, &size,
                          sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
          report.header.dwType == RIM_TYPEKEYBOARD && report.data.keyboard.VKey == VK_NUMLOCK &&
          (report.data.keyboard.Flags & RI_KEY_BREAK) == 0)
        ++self->numLockPresses_;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
  }

  void run(HANDLE ready) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"cursormate";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, L"cursormate", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                        nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const RAWINPUTDEVICE keyboard{0x01, 0x06, RIDEV_INPUTSINK, window};
    RegisterRawInputDevices(&keyboard, 1, sizeof keyboard);
    SetEvent(ready);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(window);
    UnregisterClassW(L"cursormate", wc.hInstance);
  }

  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  mutable std::mutex mutex_;
  std::vector<double> ticks_;
  std::atomic<int> numLockPresses_{0};
};

struct Figures {
  double median = 0;
  double worst = 0;
};

Figures figures(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  return {n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2, times.back()};
}

class WindowEvents : public KivoraTest {
 protected:
  // NumLock held OFF, ON in a spreadsheet, the timer slow; the plain window
  // is in front and NumLock already right when Kivora starts. (It is OFF
  // because Kivora, started later, sees every lock key OFF until it changes.)
  void startKivora(DWORD instantCheck) {
    setKey(VK_NUMLOCK, false);
    seedSettings();
    writeSetting(L"timer3_interval", kTimerInterval);
    writeSetting(L"NumLockState", 2);
    writeSetting(L"InstantCheck", instantCheck);
    writeSetting(L"SendTK", 1);
    writeSpreadsheetRule();
    plain_.comeToFront();
    kivora_.emplace();
    mainWindow_ = kivora_->waitForMainWindow();
    ASSERT_TRUE(mainWindow_);
    Sleep(1000);  // the window's creation, and with it the hooks, has finished
  }

  void stopKivora() {
    runSecond(L"/X");
    EXPECT_TRUE(kivora_->waitForExit());
    setKey(VK_NUMLOCK, false);
  }

  // Milliseconds until NumLock is `on`, or nothing within `limit`.
  static std::optional<double> timeUntilNumLock(bool on, double since, double limit) {
    while (milliseconds() - since < limit) {
      if (keyIsOn(VK_NUMLOCK) == on) return milliseconds() - since;
      Sleep(1);
    }
    return std::nullopt;
  }

  TickCounter counter_;
  TestWindow plain_{kPlainTitle, true};
  std::optional<Kivora> kivora_;
  HWND mainWindow_ = nullptr;
};

TEST_F(WindowEvents, ARuleAppliesTheMomentItsWindowComesToTheFrontOrItsTitleMatches) {
  TestWindow sheet(kRuleTitle, false);
  ASSERT_NO_FATAL_FAILURE(startKivora(1));
  ASSERT_FALSE(keyIsOn(VK_NUMLOCK));

  constexpr int kSwitches = 20;
  std::vector<double> switches;
  std::vector<double> titles;
  for (int i = 0; i < kSwitches; ++i) {
    // Odd rounds bring the plain window back: the standard state returns.
    const bool toSheet = i % 2 == 0;
    double start = milliseconds();
    (toSheet ? sheet : plain_).comeToFront();
    auto time = timeUntilNumLock(toSheet, start, kLongBeforeTheTimer);
    ASSERT_TRUE(time) << "switch " << i << " not applied before the timer";
    switches.push_back(*time);
    Sleep(100);

    // The window in front takes a title the rule matches, and loses it.
    const TestWindow& front = toSheet ? sheet : plain_;
    start = milliseconds();
    front.retitle(toSheet ? kPlainTitle : kRuleTitle);
    time = timeUntilNumLock(!toSheet, start, kLongBeforeTheTimer);
    ASSERT_TRUE(time) << "title change " << i << " not applied before the timer";
    titles.push_back(*time);
    front.retitle(toSheet ? kRuleTitle : kPlainTitle);
    ASSERT_TRUE(timeUntilNumLock(toSheet, milliseconds(), kLongBeforeTheTimer));
    Sleep(100);
  }
  const Figures switching = figures(switches);
  const Figures title = figures(titles);
  std::printf(
      "[ events   ] %d switches: median %.1f ms, worst %.1f ms; %d title changes: median "
      "%.1f ms, worst %.1f ms\n",
      kSwitches, switching.median, switching.worst, kSwitches, title.median, title.worst);
  RecordProperty("switch_median_ms", static_cast<int>(switching.median + 0.5));
  RecordProperty("switch_worst_ms", static_cast<int>(switching.worst + 0.5));
  RecordProperty("title_median_ms", static_cast<int>(title.median + 0.5));
  RecordProperty("title_worst_ms", static_cast<int>(title.worst + 0.5));
  stopKivora();
}

TEST_F(WindowEvents, TitlesChangingBehindRunNothingAndInFrontFewTicksAndOnePress) {
  TestWindow behind(kPlainTitle, false);
  ASSERT_NO_FATAL_FAILURE(startKivora(1));
  const std::size_t before = counter_.ticks().size();
  // 100 titles a second for two seconds, each raising its event.
  auto retitleForTwoSeconds = [](const TestWindow& window) {
    const double start = milliseconds();
    for (int i = 0; milliseconds() - start < 2000; ++i) {
      window.retitle(std::wstring(kRuleTitle) + L" (" + std::to_wstring(i) + L")");
      const double next = start + 10.0 * (i + 1);
      if (next > milliseconds()) Sleep(static_cast<DWORD>(next - milliseconds()));
    }
    return milliseconds() - start;
  };
  retitleForTwoSeconds(behind);
  Sleep(200);
  EXPECT_EQ(counter_.ticks().size(), before) << "a title behind ran a tick";
  EXPECT_FALSE(keyIsOn(VK_NUMLOCK));

  const int pressesBefore = counter_.numLockPresses();
  const double duration = retitleForTwoSeconds(plain_);
  Sleep(200);
  const std::vector<double> ticks = counter_.ticks();
  const auto ran = static_cast<double>(ticks.size() - before);
  EXPECT_GE(ran, 1);
  EXPECT_LE(ran, duration / 20 + 2) << "more than one tick per 20 ms";
  EXPECT_TRUE(keyIsOn(VK_NUMLOCK));
  EXPECT_EQ(counter_.numLockPresses() - pressesBefore, 1);
  std::printf("[ events   ] %.0f titles a second in front for %.0f ms: %.0f ticks\n",
              200 * 1000 / duration, duration, ran);
  stopKivora();
}

TEST_F(WindowEvents, KeyboardAndSessionChangesReachATick) {
  ASSERT_NO_FATAL_FAILURE(startKivora(1));
  struct Message {
    UINT msg;
    WPARAM wParam;
    bool runsTick;
  };
  constexpr Message kMessages[] = {
      {WM_INPUT_DEVICE_CHANGE, GIDC_ARRIVAL, true},
      {WM_INPUT_DEVICE_CHANGE, GIDC_REMOVAL, true},
      {WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT, true},
      {WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT, true},
      {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, true},
      {WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, false},
  };
  for (const Message& m : kMessages) {
    Sleep(100);  // each event on its own, past the quiet time of the last
    const std::size_t before = counter_.ticks().size();
    PostMessageW(mainWindow_, m.msg, m.wParam, 0);
    EXPECT_EQ(counter_.waitForTicks(before + 1, 1000), m.runsTick)
        << std::hex << "message 0x" << m.msg << " with 0x" << m.wParam;
  }
  stopKivora();
}

TEST_F(WindowEvents, SwitchedOffNothingWaitsLessThanTheTimer) {
  TestWindow sheet(kRuleTitle, false);
  ASSERT_NO_FATAL_FAILURE(startKivora(0));
  const std::size_t before = counter_.ticks().size();
  sheet.comeToFront();
  EXPECT_FALSE(timeUntilNumLock(true, milliseconds(), kLongBeforeTheTimer))
      << "a switch was applied before the timer";
  plain_.comeToFront();
  plain_.retitle(kRuleTitle);
  EXPECT_FALSE(timeUntilNumLock(true, milliseconds(), kLongBeforeTheTimer))
      << "a title was applied before the timer";
  PostMessageW(mainWindow_, WM_INPUT_DEVICE_CHANGE, GIDC_ARRIVAL, 0);
  PostMessageW(mainWindow_, WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT, 0);
  Sleep(500);
  EXPECT_EQ(counter_.ticks().size(), before);
  EXPECT_TRUE(timeUntilNumLock(true, milliseconds(), kTimerInterval + 5000))
      << "the timer applies the rule";
  stopKivora();
}

}  // namespace
}  // namespace kivora::e2e
