#pragma once
// A window as portable code holds it: the HWND value, passed through untouched.

#include <cstdint>

namespace kivora::platform {

enum class WindowHandle : std::uintptr_t {};
inline constexpr WindowHandle kNoWindow{};

}  // namespace kivora::platform
