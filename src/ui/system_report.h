#pragma once
// ProbixLite, the system report of the About box: the facts read from the
// running system, formatted by diag/system_report.h.

#include <string>

#include "diag/system_report.h"

namespace kivora::ui {

// Reads the version (RtlGetVersion from ntdll, else GetVersionExW), product
// info, safe mode, locale, session, dark mode, UAC policy, screens, monitors,
// local time and time-zone bias.
diag::SystemFacts gatherSystemFacts();

// The report of the running system.
std::u16string BuildSystemReport();

}  // namespace kivora::ui
