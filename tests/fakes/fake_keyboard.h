#pragma once
// A keyboard whose lock keys toggle on key-down events, like the real one,
// except keys the test makes stuck: their presses are seen but do not take
// (a keyboard that refuses the change, a remote session that resets it).

#include <cstdint>
#include <set>
#include <vector>

#include "platform/keyboard.h"

namespace kivora::fakes {

class FakeKeyboard final : public platform::Keyboard {
 public:
  struct Event {
    std::uint8_t virtualKey = 0;
    std::uint8_t scanCode = 0;
    std::uint32_t flags = 0;
    bool operator==(const Event&) const = default;
  };

  std::int16_t GetKeyState(int virtualKey) override;
  std::int16_t GetAsyncKeyState(int virtualKey) override;
  void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                   std::uintptr_t extraInfo) override;

  void setToggled(int virtualKey, bool on);
  bool toggled(int virtualKey) const { return toggledKeys.count(virtualKey) != 0; }
  // Key-down events of this key since the test began.
  int pressesOf(int virtualKey) const;

  std::set<int> toggledKeys;
  std::set<int> stuckKeys;  // presses do not change their toggle state
  std::set<int> downKeys;   // held down now (GetAsyncKeyState)
  std::vector<Event> events;
};

}  // namespace kivora::fakes
