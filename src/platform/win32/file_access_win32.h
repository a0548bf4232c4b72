#pragma once
// File operations over the C runtime's _wfopen.

#include "platform/file_access.h"

namespace kivora::win32 {

class Win32FileAccess final : public platform::FileAccess {
 public:
  bool canOpenForReading(const std::u16string& path) override;
  bool createFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override;
  std::unique_ptr<platform::AppendFile> openForAppend(const std::u16string& path) override;
};

}  // namespace kivora::win32
