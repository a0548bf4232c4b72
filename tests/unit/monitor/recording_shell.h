#pragma once
// A MonitorShell that remembers what the monitor asked of it: timers,
// tray-icon updates and flashes, balloons, notices and message boxes. The
// balloon and message-box records are locked, as the script worker adds to
// them from its own thread.

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "monitor/monitor_shell.h"

namespace kivora::test {

struct Balloon {
  std::u16string text;
  monitor::BalloonIcon icon = monitor::BalloonIcon::None;
  bool operator==(const Balloon&) const = default;
};

struct ShownBox {
  platform::WindowHandle owner = platform::kNoWindow;
  std::u16string text;
  std::u16string caption;
  unsigned flags = 0;
};

class RecordingShell final : public monitor::MonitorShell {
 public:
  platform::WindowHandle mainWindow() override { return window; }
  void updateTrayIcon() override { ++trayUpdates; }
  void flashTrayIcon(std::optional<int> lockStateIndex) override {
    flashes.push_back(lockStateIndex);
  }
  void sendKeyStateToCompanion() override { ++companionSends; }
  void startTimer(unsigned id, unsigned milliseconds) override {
    timers[id] = milliseconds;
    started.push_back(id);
  }
  void killTimer(unsigned id) override {
    timers.erase(id);
    killed.push_back(id);
  }
  unsigned noticeDpi() override { return dpi; }
  void showNotice(const monitor::ScreenNotice& shown) override { notice = shown; }
  void hideNotice() override {
    notice.reset();
    ++hides;
  }
  void showNewBalloon(std::u16string_view text, monitor::BalloonIcon icon) override;
  int messageBox(platform::WindowHandle owner, std::u16string_view text,
                 std::u16string_view caption, unsigned flags) override;

  // From now on a message box stays open until closeBoxes(), as a box the
  // user has not answered does.
  void holdBoxes();
  void closeBoxes();
  // Waits until a held box is open; false after ten seconds.
  bool waitForOpenBox();

  bool timerRunning(unsigned id) const { return timers.count(id) != 0; }
  std::vector<Balloon> balloons() const;
  std::vector<ShownBox> boxes() const;

  platform::WindowHandle window = static_cast<platform::WindowHandle>(0x5000);
  std::map<unsigned, unsigned> timers;  // running: id -> period
  std::vector<unsigned> started;
  std::vector<unsigned> killed;
  int trayUpdates = 0;
  std::vector<std::optional<int>> flashes;
  int companionSends = 0;
  unsigned dpi = 96;                            // of the notice's monitor
  std::optional<monitor::ScreenNotice> notice;  // what is on screen now
  int hides = 0;
  int boxAnswer = 1;  // IDOK

 private:
  mutable std::mutex mutex_;
  std::condition_variable boxChanged_;
  bool holdBoxes_ = false;
  int openBoxes_ = 0;
  std::vector<Balloon> balloons_;
  std::vector<ShownBox> boxes_;
};

}  // namespace kivora::test
