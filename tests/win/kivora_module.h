#pragma once
// Kivora.exe, loaded as resources only, so tests use its real icons and pictures.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win/test_paths.h"

namespace kivora::test {

inline HMODULE kivoraModule() {
  static HMODULE module = [] {
    const std::wstring exe = besideTestProgram(L"Kivora.exe");
    return LoadLibraryExW(exe.c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }();
  if (!module) ADD_FAILURE() << "cannot load Kivora.exe for its resources";
  return module;
}

}  // namespace kivora::test
