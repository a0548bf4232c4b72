#pragma once
// The version the build gave Kivora (the CMake project version, passed in by
// the kivora_test_version target), in the forms Kivora prints it. Tests
// compare with these, so a new version number needs no test edits.

#include <string>

namespace kivora::test {

// The debug log's start line: first part, a point, second and third run
// together, a point, fourth with two digits (1.2.3.4 prints 1.23.04).
inline std::string projectVersionInLog() {
  std::string tweak = std::to_string(KIVORA_TEST_VERSION_TWEAK);
  if (tweak.size() < 2) tweak.insert(0, 2 - tweak.size(), '0');
  return std::to_string(KIVORA_TEST_VERSION_MAJOR) + "." +
         std::to_string(KIVORA_TEST_VERSION_MINOR) + std::to_string(KIVORA_TEST_VERSION_PATCH) +
         "." + tweak;
}

}  // namespace kivora::test
