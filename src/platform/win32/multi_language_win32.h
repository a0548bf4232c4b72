#pragma once
// MLang's IMultiLanguage2 through COM. The calling thread must have COM
// initialised (a dialog thread has, through OleInitialize or CoInitialize).

#include "platform/multi_language.h"

namespace kivora::win32 {

class Win32MultiLanguageService final : public platform::MultiLanguageService {
 public:
  std::unique_ptr<platform::MultiLanguage2> CreateInstance() override;
};

}  // namespace kivora::win32
