#include "fakes/fake_hotkeys.h"

#include <algorithm>

namespace kivora::fakes {

bool FakeHotkeys::RegisterHotKey(platform::WindowHandle window, int id, std::uint32_t modifiers,
                                 std::uint32_t virtualKey) {
  const Combination combination{modifiers, virtualKey};
  if (window == platform::kNoWindow || heldElsewhere.count(combination)) return false;
  const bool taken = std::any_of(registered.begin(), registered.end(),
                                 [&](const auto& entry) { return entry.second == combination; });
  if (taken) return false;
  // An existing hotkey with the same window and id is kept beside the new one.
  registered.emplace(Owner{window, id}, combination);
  return true;
}

bool FakeHotkeys::UnregisterHotKey(platform::WindowHandle window, int id) {
  return registered.erase(Owner{window, id}) != 0;
}

std::set<FakeHotkeys::Combination> FakeHotkeys::of(platform::WindowHandle window, int id) const {
  std::set<Combination> found;
  const auto [first, last] = registered.equal_range(Owner{window, id});
  for (auto it = first; it != last; ++it) found.insert(it->second);
  return found;
}

}  // namespace kivora::fakes
