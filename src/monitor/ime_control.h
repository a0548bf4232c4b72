#pragma once
// IME open-state control: holds the foreground window's input method open or
// closed on every tick, or opens or closes it once when the user switches
// windows. Works through the window's default IME window.

#include <array>
#include <cstdint>
#include <string_view>

#include "diag/debug_log.h"
#include "monitor/lock_policy.h"
#include "platform/ime.h"
#include "platform/window_handle.h"

namespace kivora::monitor {

// ImeLock values.
inline constexpr std::int32_t kImeNotWatched = 0;
inline constexpr std::int32_t kImeAlwaysOn = 1;
inline constexpr std::int32_t kImeAlwaysOff = 2;
inline constexpr std::int32_t kImeOnWhenSwitched = 3;
inline constexpr std::int32_t kImeOffWhenSwitched = 4;
inline constexpr int kImeModeCount = 5;

// The settings dialog's combo texts for ImeLock 0 to 4; empty for other values.
std::u16string_view imeModeText(std::int32_t mode, bool japanese);

class ImeControl {
 public:
  ImeControl(platform::Ime& ime, diag::DebugLog& log) : ime_(ime), log_(log) {}

  // Once per watching tick, after the lock keys. lastForeground is the
  // foreground window of the previous watching tick; ruleCode the IME code
  // of the matching per-window rule (0 for none).
  void applyImePolicy(platform::WindowHandle foreground, platform::WindowHandle lastForeground,
                      std::int32_t imeLock, LockPolicy ruleCode);

  // The last window-switch change was sent but the IME did not follow; the
  // switch modes then act on every tick until it does.
  bool imeRetry = false;

 private:
  std::intptr_t openStatus(platform::WindowHandle imeWindow);
  std::intptr_t setOpenStatus(platform::WindowHandle imeWindow, bool open);
  void alwaysOn(platform::WindowHandle imeWindow, std::intptr_t status);
  void alwaysOff(platform::WindowHandle imeWindow, std::intptr_t status);
  void onWhenSwitched(platform::WindowHandle imeWindow, std::intptr_t status, bool switched);
  void offWhenSwitched(platform::WindowHandle imeWindow, std::intptr_t status, bool switched);

  platform::Ime& ime_;
  diag::DebugLog& log_;
};

}  // namespace kivora::monitor
