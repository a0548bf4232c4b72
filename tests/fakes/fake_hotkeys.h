#pragma once
// System hotkeys shared by every window of the fake desktop: a key
// combination belongs to one registration at a time; other programs can hold
// combinations too.

#include <map>
#include <set>
#include <utility>

#include "platform/hotkeys.h"

namespace kivora::fakes {

class FakeHotkeys final : public platform::Hotkeys {
 public:
  using Combination = std::pair<std::uint32_t, std::uint32_t>;  // modifiers, virtual key
  using Owner = std::pair<platform::WindowHandle, int>;         // window, id

  bool RegisterHotKey(platform::WindowHandle window, int id, std::uint32_t modifiers,
                      std::uint32_t virtualKey) override;
  bool UnregisterHotKey(platform::WindowHandle window, int id) override;

  // The combinations registered for (window, id).
  std::set<Combination> of(platform::WindowHandle window, int id) const;

  std::multimap<Owner, Combination> registered;
  std::set<Combination> heldElsewhere;  // taken by other programs
};

}  // namespace kivora::fakes
