#pragma once
// How the monitor's debug-log lines print numbers, and the kinds they use.

#include <cstdint>
#include <string>

#include "diag/debug_log.h"
#include "platform/window_handle.h"

namespace kivora::monitor {

// The tick's lines continue the "TIMERID3" line and are echoed to the monitor window.
inline constexpr unsigned kLogTickStart = diag::kLogEntry | diag::kLogEcho;    // 18
inline constexpr unsigned kLogTick = diag::kLogContinuation | diag::kLogEcho;  // 19

// "%x"
std::u16string hexText(std::uint32_t value);
// "0x%08x": a window handle prints its low 32 bits, as a 32-bit format does.
std::u16string handleText(platform::WindowHandle window);
// "%d"
std::u16string decimalText(std::int64_t value);

}  // namespace kivora::monitor
