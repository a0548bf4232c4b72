#pragma once
// Where Windows tests find the programs they examine: beside themselves.

#include <windows.h>

#include <string>

#include "platform/win32/wide.h"

namespace kivora::test {

inline std::wstring besideTestProgram(const wchar_t* fileName) {
  std::u16string self = kivora::win32::modulePath(nullptr);
  const auto slash = self.find_last_of(u"\\/");
  std::wstring dir(self.begin(), self.begin() + (slash == std::u16string::npos ? 0 : slash + 1));
  return dir + fileName;
}

}  // namespace kivora::test
