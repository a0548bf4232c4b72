#pragma once
// LockPolicy: what a per-window rule does to one lock key (or to the IME
// mode) while its window is in front. The rule dialog shows the texts and
// stores the codes; the tick applies them.

#include <array>
#include <cstdint>
#include <string_view>

#include "settings/settings.h"

namespace kivora::monitor {

using LockPolicy = std::int32_t;
inline constexpr LockPolicy kPolicyNone = 0;
inline constexpr LockPolicy kPolicyAlwaysOff = 1;
inline constexpr LockPolicy kPolicyAlwaysOn = 2;
inline constexpr LockPolicy kPolicyOffOnSwitch = 3;
inline constexpr LockPolicy kPolicyOnOnSwitch = 4;
inline constexpr LockPolicy kPolicyDontWatch = 5;
inline constexpr int kLockPolicyCount = 6;

// The dialog's text for a code, in the language asked for; empty for a code
// outside 0 to 5.
std::u16string_view lockPolicyText(LockPolicy code, bool japanese);
// All six texts in code order, for filling a combo box.
std::array<std::u16string_view, kLockPolicyCount> lockPolicyTexts(bool japanese);
// The code of a text of either language; any other text is 0.
LockPolicy lockPolicyCode(std::u16string_view text);

// The key's setting for this tick under the rule's code. foregroundChanged:
// the foreground window differs from the one of the previous watching tick.
settings::KeyStateSetting applyLockPolicy(LockPolicy code, settings::KeyStateSetting setting,
                                          bool foregroundChanged);

// The IME mode for this tick: a rule's code 1 to 5 replaces ImeLock
// (1 -> 2, 2 -> 1, 3 -> 4, 4 -> 3, 5 -> 0); 0 and other codes keep it.
std::int32_t imeModeForRule(LockPolicy code, std::int32_t imeLock);

}  // namespace kivora::monitor
