#include "monitor/lock_policy.h"

#include "monitor/texts.h"

namespace kivora::monitor {

namespace {

static_assert(texts::kLockPolicies.size() == kLockPolicyCount);

using settings::WatchMode;
constexpr settings::KeyStateSetting kConstantlyOff{WatchMode::Constantly, false};
constexpr settings::KeyStateSetting kConstantlyOn{WatchMode::Constantly, true};
constexpr settings::KeyStateSetting kNotWatched{WatchMode::NotWatched, false};

}  // namespace

std::u16string_view lockPolicyText(LockPolicy code, bool japanese) {
  if (code < 0 || code >= kLockPolicyCount) return {};
  return texts::kLockPolicies[static_cast<std::size_t>(code)].pick(japanese);
}

std::array<std::u16string_view, kLockPolicyCount> lockPolicyTexts(bool japanese) {
  std::array<std::u16string_view, kLockPolicyCount> texts;
  for (int code = 0; code < kLockPolicyCount; ++code)
    texts[static_cast<std::size_t>(code)] = lockPolicyText(code, japanese);
  return texts;
}

LockPolicy lockPolicyCode(std::u16string_view text) {
  for (int code = 0; code < kLockPolicyCount; ++code) {
    const Bilingual& known = texts::kLockPolicies[static_cast<std::size_t>(code)];
    if (text == known.english || text == known.japanese) return code;
  }
  return kPolicyNone;
}

settings::KeyStateSetting applyLockPolicy(LockPolicy code, settings::KeyStateSetting setting,
                                          bool foregroundChanged) {
  switch (code) {
    case kPolicyAlwaysOff:
      return kConstantlyOff;
    case kPolicyAlwaysOn:
      return kConstantlyOn;
    case kPolicyOffOnSwitch:
      return foregroundChanged ? kConstantlyOff : kNotWatched;
    case kPolicyOnOnSwitch:
      return foregroundChanged ? kConstantlyOn : kNotWatched;
    case kPolicyDontWatch:
      return kNotWatched;
    default:
      return setting;
  }
}

std::int32_t imeModeForRule(LockPolicy code, std::int32_t imeLock) {
  switch (code) {
    case kPolicyAlwaysOff:
      return 2;
    case kPolicyAlwaysOn:
      return 1;
    case kPolicyOffOnSwitch:
      return 4;
    case kPolicyOnOnSwitch:
      return 3;
    case kPolicyDontWatch:
      return 0;
    default:
      return imeLock;
  }
}

}  // namespace kivora::monitor
