#pragma once
// Per-window rules: when the foreground window's title contains a rule's
// text, its codes override the lock keys and the IME for that tick. Rules are
// numbered from 0 without gaps (the number is the priority) and kept as five
// values each, "%08X_NAME", "%08X_NMLK", "%08X_CPLK", "%08X_SCLK", "%08X_IME",
// in the SpecProg subkey of the settings key or in the ini file's settings
// section. The store is read afresh at every lookup, so an edit counts at the
// next tick.

#include <string>
#include <string_view>
#include <vector>

#include "diag/debug_log.h"
#include "monitor/lock_policy.h"
#include "monitor/monitor_shell.h"
#include "settings/settings_store.h"

namespace kivora::monitor {

struct RuleCodes {
  LockPolicy numLock = kPolicyNone;
  LockPolicy capsLock = kPolicyNone;
  LockPolicy scrollLock = kPolicyNone;
  LockPolicy ime = kPolicyNone;
  bool operator==(const RuleCodes&) const = default;
};

struct WindowRule {
  std::u16string title;  // the part of the window title the rule looks for
  RuleCodes codes;
  bool operator==(const WindowRule&) const = default;
};

// Titles are read into buffers of this many characters, so at most 259 count.
inline constexpr std::size_t kRuleTitleCapacity = 260;

// The codes of the first rule whose text occurs in title (case-sensitive; an
// empty text matches every title), or all zeros. Logs which it was. The
// registry is read through one open key; the ini file's titles come from one
// read of the settings section, and only the codes of the rule that applies
// are read by name.
RuleCodes findWindowRule(const settings::SettingsStore& store, bool useIni, diag::DebugLog& log,
                         std::u16string_view title);

// The stored list in priority order, up to the first gap. Ini titles are
// read into a buffer of kRuleTitleCapacity; registry titles whole.
std::vector<WindowRule> loadWindowRules(const settings::SettingsStore& store, bool useIni);

// Replaces the stored list: the old rules go first, so a shorter list leaves
// nothing behind. Failures are shown as one warning balloon; returns whether
// everything was written.
bool saveWindowRules(const settings::SettingsStore& store, bool useIni, bool modeJP,
                     const std::vector<WindowRule>& rules, BalloonShell& balloons);

}  // namespace kivora::monitor
