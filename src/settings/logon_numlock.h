#pragma once
// The system's own NumLock state at logon, which the settings dialog offers
// beside Kivora's settings: InitialKeyboardIndicators under
// HKEY_USERS\.DEFAULT\Control Panel\Keyboard, "2" meaning on. Only an
// administrator may change it.

#include "settings/regw.h"

namespace kivora::settings {

struct LogonNumLock {
  bool on = false;        // the value is exactly "2"
  bool writable = false;  // the key opens with full access
};

// Reads the value (a missing one counts as "0") and whether it may be changed.
LogonNumLock readLogonNumLock(RegwContext& regw);

// Writes "2" or "0", keeping the value's string type (REG_EXPAND_SZ stays
// one). False when the key cannot be opened or the value not written.
bool writeLogonNumLock(RegwContext& regw, bool on);

}  // namespace kivora::settings
