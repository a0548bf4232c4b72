#pragma once
// KeyStateSetting: how one lock key is kept (NumLockState, RM_NumLockState,
// CapsLockState, ScrollLockState). The stores, the settings dialog, the tick
// and the log all hold it as one number, the watch mode in bits 1 and 2 and
// the wanted state in bit 0 (1 = ON); this type is the only place that
// number is taken apart or put together.

#include <cstdint>
#include <iosfwd>

namespace kivora::settings {

// The watch modes, numbered as stored and as the settings dialog lists them.
enum class WatchMode : std::int32_t {
  NotWatched = 0,
  Constantly = 1,
  // Kept only while the monitor's first-tick flag is set.
  Once = 2,
  // NumLock only: kept while a watched keyboard is connected.
  WhileDeviceConnected = 3,
};

class KeyStateSetting {
 public:
  constexpr KeyStateSetting() = default;
  // The stored number. Not explicit: the stores, test fixtures and the
  // settings' defaults write the numbers Kivora.ini shows.
  constexpr KeyStateSetting(std::int32_t stored) : stored_(stored) {}
  // A flag is never a lock setting; this catches a field mixed up with one.
  KeyStateSetting(bool) = delete;
  constexpr KeyStateSetting(WatchMode mode, bool wantsOn)
      : stored_(static_cast<std::int32_t>(mode) * 2 + (wantsOn ? 1 : 0)) {}

  // The number the stores write and the log prints.
  constexpr std::int32_t stored() const { return stored_; }
  constexpr WatchMode mode() const { return static_cast<WatchMode>((stored_ >> 1) & 3); }
  constexpr bool wantsOn() const { return (stored_ & 1) != 0; }

  // The reading of a "while a device is connected" setting when no watched
  // keyboard is there (NOT_WATCH_DEV_NUMLOCK): the opposite state, kept constantly.
  constexpr KeyStateSetting opposedConstantly() const {
    return {WatchMode::Constantly, !wantsOn()};
  }

  // The highest stored number a key offering the modes up to `mode` may hold;
  // loading replaces anything above it (compared unsigned) with the default.
  static constexpr std::uint32_t highestStored(WatchMode mode) {
    return static_cast<std::uint32_t>(KeyStateSetting{mode, true}.stored_);
  }

  constexpr bool operator==(const KeyStateSetting&) const = default;

 private:
  std::int32_t stored_ = 0;
};

// Prints the stored number (test failures, diagnostics).
std::ostream& operator<<(std::ostream& out, KeyStateSetting setting);

}  // namespace kivora::settings
