#include "platform/win32/wide.h"

#include <vector>

namespace kivora::win32 {

std::u16string modulePath(HMODULE module) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return fromWide(buffer.data(), n);
    if (buffer.size() >= 32768) return fromWide(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace kivora::win32
