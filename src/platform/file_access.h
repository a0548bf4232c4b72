#pragma once
// The few file operations the settings store and the debug log need, in the
// terms of the C runtime calls they stand for (_wfopen with "rb", "wb", "ab").
// Paths may be relative to the current directory, as ".\Kivora.ini" is.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace kivora::platform {

// A file open for appending; closed when the object goes.
class AppendFile {
 public:
  virtual ~AppendFile() = default;
  virtual bool write(std::span<const std::uint8_t> bytes) = 0;
  virtual bool flush() = 0;
};

class FileAccess {
 public:
  virtual ~FileAccess() = default;
  // Whether _wfopen(path, "rb") succeeds; the file is closed again at once.
  virtual bool canOpenForReading(const std::u16string& path) = 0;
  // _wfopen(path, "wb"), write the bytes, close: creates or empties the file.
  virtual bool createFile(const std::u16string& path, std::span<const std::uint8_t> bytes) = 0;
  // _wfopen(path, "ab"): null when the file cannot be opened or created.
  virtual std::unique_ptr<AppendFile> openForAppend(const std::u16string& path) = 0;
};

}  // namespace kivora::platform
