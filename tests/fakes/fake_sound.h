#pragma once
// Sounds as a list of what was asked for; files the test marks unplayable fail.

#include <set>
#include <string>
#include <vector>

#include "platform/sound.h"

namespace kivora::fakes {

class FakeSound final : public platform::Sound {
 public:
  bool PlaySoundW(const char16_t* sound, std::uintptr_t, std::uint32_t flags) override {
    const std::u16string file = sound ? sound : u"";
    played.push_back({file, flags});
    return !unplayable.count(file);
  }
  bool MessageBeep(std::uint32_t type) override {
    beeps.push_back(type);
    return true;
  }

  struct Played {
    std::u16string file;
    std::uint32_t flags = 0;
    bool operator==(const Played&) const = default;
  };
  std::vector<Played> played;
  std::vector<std::uint32_t> beeps;
  std::set<std::u16string> unplayable;
};

}  // namespace kivora::fakes
