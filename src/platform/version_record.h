#pragma once
// The program's own version record (the VERSIONINFO resource of its file).

#include <optional>
#include <string>
#include <string_view>

namespace kivora::platform {

class VersionRecord {
 public:
  virtual ~VersionRecord() = default;
  // Whether the program file has a version record that can be read
  // (GetModuleFileNameW, GetFileVersionInfoSizeW, GetFileVersionInfoW).
  virtual bool readable() = 0;
  // A text of the record such as "\StringFileInfo\041104b0\FileVersion"
  // (VerQueryValueW); nullopt when the record or the text is absent.
  virtual std::optional<std::u16string> queryText(std::u16string_view subBlock) = 0;
};

}  // namespace kivora::platform
