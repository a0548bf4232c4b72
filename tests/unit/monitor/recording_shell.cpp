#include "unit/monitor/recording_shell.h"

namespace kivora::test {

void RecordingShell::showNewBalloon(std::u16string_view text, monitor::BalloonIcon icon) {
  std::lock_guard lock(mutex_);
  balloons_.push_back({std::u16string(text), icon});
}

int RecordingShell::messageBox(platform::WindowHandle owner, std::u16string_view text,
                               std::u16string_view caption, unsigned flags) {
  std::lock_guard lock(mutex_);
  boxes_.push_back({owner, std::u16string(text), std::u16string(caption), flags});
  return boxAnswer;
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
