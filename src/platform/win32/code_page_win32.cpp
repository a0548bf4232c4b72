#include "platform/win32/code_page_win32.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace kivora::win32 {

std::uint32_t Win32CodePage::GetACP() { return ::GetACP(); }

int Win32CodePage::WideCharToMultiByte(std::uint32_t codePage, const char16_t* text, int wideCount,
                                       char* output, int outputSize) {
  return ::WideCharToMultiByte(codePage, 0, wide(text), wideCount, output, outputSize, nullptr,
                               nullptr);
}

}  // namespace kivora::win32
