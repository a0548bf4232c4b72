#include "monitor/lock_policy.h"

namespace kivora::monitor {

namespace {

struct PolicyTexts {
  std::u16string_view english;
  std::u16string_view japanese;
};

constexpr std::array<PolicyTexts, kLockPolicyCount> kPolicyTexts{{
    {u"None", u"通常設定に従う"},
    {u"OFF (Always)", u"常にOFFで固定"},
    {u"ON (Always)", u"常にONで固定"},
    {u"OFF (when window is activated)", u"アプリ切替時OFF"},
    {u"ON (when window is activated)", u"アプリ切替時ON"},
    {u"Don't watch", u"監視しない"},
}};

using settings::WatchMode;
constexpr settings::KeyStateSetting kConstantlyOff{WatchMode::Constantly, false};
constexpr settings::KeyStateSetting kConstantlyOn{WatchMode::Constantly, true};
constexpr settings::KeyStateSetting kNotWatched{WatchMode::NotWatched, false};

}  // namespace

std::u16string_view lockPolicyText(LockPolicy code, bool japanese) {
  if (code < 0 || code >= kLockPolicyCount) return {};
  const auto& texts = kPolicyTexts[static_cast<std::size_t>(code)];
  return japanese ? texts.japanese : texts.english;
}

std::array<std::u16string_view, kLockPolicyCount> lockPolicyTexts(bool japanese) {
  std::array<std::u16string_view, kLockPolicyCount> texts;
  for (int code = 0; code < kLockPolicyCount; ++code)
    texts[static_cast<std::size_t>(code)] = lockPolicyText(code, japanese);
  return texts;
}

LockPolicy lockPolicyCode(std::u16string_view text) {
  for (int code = 0; code < kLockPolicyCount; ++code) {
    const auto& texts = kPolicyTexts[static_cast<std::size_t>(code)];
    if (text == texts.english || text == texts.japanese) return code;
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
