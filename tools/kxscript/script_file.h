#pragma once
// Reading a script file the way kxscript takes it: UTF-8 (a byte-order mark is
// skipped), or UTF-16 in either byte order when the file starts with that mark.

#include <optional>
#include <string>

namespace kivora::kxscript {

std::u16string decodeScriptBytes(const std::string& bytes);

// The bytes of a file, or of standard input for "-"; nothing when it cannot be read.
std::optional<std::string> readScriptBytes(const std::string& path);

}  // namespace kivora::kxscript
