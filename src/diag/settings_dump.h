#pragma once
// The settings dump written right after the debug log starts.

#include "diag/debug_log.h"
#include "settings/settings.h"

namespace kivora::diag {

// State the dump shows that lives outside Settings and the log.
struct DumpContext {
  bool modeJP = false;
  bool bTimer5Active = false;
};

void writeSettingsDump(DebugLog& log, const settings::Settings& settings, DumpContext context);

}  // namespace kivora::diag
