#pragma once
// The input method of a window, reached through its default IME window
// (imm32 ImmGetDefaultIMEWnd) and the WM_IME_CONTROL requests sent to it.

#include <cstdint>

#include "platform/window_handle.h"

namespace kivora::platform {

inline constexpr std::uint32_t kWmImeControl = 0x0283;
inline constexpr std::uintptr_t kImcGetOpenStatus = 0x0005;
inline constexpr std::uintptr_t kImcSetOpenStatus = 0x0006;

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
class Ime {
 public:
  virtual ~Ime() = default;
  // Null when the window has no default IME window.
  virtual WindowHandle ImmGetDefaultIMEWnd(WindowHandle window) = 0;
  // SendMessageW to an IME window. With WM_IME_CONTROL: IMC_GETOPENSTATUS
  // returns non-zero when the IME is open; IMC_SETOPENSTATUS (lParam 1 or 0)
  // returns 0 when the request was accepted.
  virtual std::intptr_t SendMessageW(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
