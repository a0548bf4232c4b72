#pragma once
// Code-page conversion from GetACP and WideCharToMultiByte.

#include "platform/code_page.h"

namespace kivora::win32 {

class Win32CodePage final : public platform::CodePage {
 public:
  std::uint32_t GetACP() override;
  int WideCharToMultiByte(std::uint32_t codePage, const char16_t* wide, int wideCount, char* output,
                          int outputSize) override;
};

}  // namespace kivora::win32
