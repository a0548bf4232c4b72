#include "fakes/fake_keyboard.h"

#include <algorithm>

namespace kivora::fakes {

namespace {
constexpr std::int16_t kDown = static_cast<std::int16_t>(0x8000);
}

std::int16_t FakeKeyboard::GetKeyState(int virtualKey) {
  std::int16_t state = toggled(virtualKey) ? 1 : 0;
  if (downKeys.count(virtualKey)) state = static_cast<std::int16_t>(state | kDown);
  return state;
}

std::int16_t FakeKeyboard::GetAsyncKeyState(int virtualKey) {
  return downKeys.count(virtualKey) ? kDown : 0;
}

void FakeKeyboard::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                               std::uintptr_t) {
  events.push_back({virtualKey, scanCode, flags});
  const bool keyDown = (flags & platform::kKeyEventFKeyUp) == 0;
  if (keyDown && !stuckKeys.count(virtualKey)) setToggled(virtualKey, !toggled(virtualKey));
}

void FakeKeyboard::setToggled(int virtualKey, bool on) {
  if (on) {
    toggledKeys.insert(virtualKey);
  } else {
    toggledKeys.erase(virtualKey);
  }
}

int FakeKeyboard::pressesOf(int virtualKey) const {
  return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const Event& e) {
    return e.virtualKey == virtualKey && (e.flags & platform::kKeyEventFKeyUp) == 0;
  }));
}

}  // namespace kivora::fakes
