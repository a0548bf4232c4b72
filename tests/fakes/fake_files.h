#pragma once
// In-memory files with the failures real ones have: a read-only file cannot be
// written or appended to, and a path can be made unopenable altogether (as a
// folder of that name would be). Paths compare like Windows paths: without
// regard to case or slash direction, with a leading ".\" dropped.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_access.h"

namespace kivora::fakes {

class FakeFiles final : public platform::FileAccess {
 public:
  bool canOpenForReading(const std::u16string& path) override;
  bool createFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override;
  std::unique_ptr<platform::AppendFile> openForAppend(const std::u16string& path) override;

  std::optional<std::vector<std::uint8_t>> bytes(const std::u16string& path) const;
  bool exists(const std::u16string& path) const { return bytes(path).has_value(); }
  void put(const std::u16string& path, std::vector<std::uint8_t> bytes);
  void remove(const std::u16string& path);
  void setReadOnly(const std::u16string& path, bool readOnly);
  bool isReadOnly(const std::u16string& path) const;
  void makeUnopenable(const std::u16string& path);

  // Whether the file may be written now (exists or may be created, not read-only).
  bool writable(const std::u16string& path) const;

 private:
  friend class FakeAppendFile;
  struct File {
    std::vector<std::uint8_t> bytes;
    bool readOnly = false;
  };
  static std::u16string normalize(const std::u16string& path);
  std::map<std::u16string, File> files_;
  std::set<std::u16string> unopenable_;
};

}  // namespace kivora::fakes
