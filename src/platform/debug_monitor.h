#pragma once
// The live monitor window of the debug log, as the log sees it: a text it
// may replace and a pause box the user may tick. The dialog that shows it is
// built elsewhere; the log only needs these four operations.

#include <cstddef>
#include <string>

namespace kivora::platform {

class DebugMonitor {
 public:
  virtual ~DebugMonitor() = default;
  // Whether the monitor window is shown now.
  virtual bool exists() = 0;
  // Whether its pause box is ticked.
  virtual bool paused() = 0;
  // Its current text, at most maxChars characters.
  virtual std::u16string text(std::size_t maxChars) = 0;
  virtual void setText(const std::u16string& text) = 0;
};

}  // namespace kivora::platform
