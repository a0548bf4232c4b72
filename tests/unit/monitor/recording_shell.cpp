#include "unit/monitor/recording_shell.h"

#include <chrono>

namespace kivora::test {

void RecordingShell::showNewBalloon(std::u16string_view text, monitor::BalloonIcon icon) {
  std::lock_guard lock(mutex_);
  balloons_.push_back({std::u16string(text), icon});
}

int RecordingShell::messageBox(platform::WindowHandle owner, std::u16string_view text,
                               std::u16string_view caption, unsigned flags) {
  std::unique_lock lock(mutex_);
  boxes_.push_back({owner, std::u16string(text), std::u16string(caption), flags});
  ++openBoxes_;
  boxChanged_.notify_all();
  boxChanged_.wait(lock, [this] { return !holdBoxes_; });
  --openBoxes_;
  return boxAnswer;
}

void RecordingShell::holdBoxes() {
  std::lock_guard lock(mutex_);
  holdBoxes_ = true;
}

void RecordingShell::closeBoxes() {
  {
    std::lock_guard lock(mutex_);
    holdBoxes_ = false;
  }
  boxChanged_.notify_all();
}

bool RecordingShell::waitForOpenBox() {
  std::unique_lock lock(mutex_);
  return boxChanged_.wait_for(lock, std::chrono::seconds(10), [this] { return openBoxes_ > 0; });
}

std::vector<Balloon> RecordingShell::balloons() const {
  std::lock_guard lock(mutex_);
  return balloons_;
}

std::vector<ShownBox> RecordingShell::boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

}  // namespace kivora::test
