#include "platform/win32/file_access_win32.h"

#include <cstdio>

#include "platform/win32/wide.h"

namespace kivora::win32 {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueCFile = std::unique_ptr<std::FILE, FileCloser>;

UniqueCFile open(const std::u16string& path, const wchar_t* mode) {
  return UniqueCFile(_wfopen(wide(path), mode));
}

class CFileAppender final : public platform::AppendFile {
 public:
  explicit CFileAppender(UniqueCFile file) : file_(std::move(file)) {}
  bool write(std::span<const std::uint8_t> bytes) override {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size();
  }
  bool flush() override { return std::fflush(file_.get()) == 0; }

 private:
  UniqueCFile file_;
};

}  // namespace

bool Win32FileAccess::canOpenForReading(const std::u16string& path) {
  return open(path, L"rb") != nullptr;
}

bool Win32FileAccess::createFile(const std::u16string& path, std::span<const std::uint8_t> bytes) {
  UniqueCFile file = open(path, L"wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

std::unique_ptr<platform::AppendFile> Win32FileAccess::openForAppend(const std::u16string& path) {
  UniqueCFile file = open(path, L"ab");
  if (!file) return nullptr;
  return std::make_unique<CFileAppender>(std::move(file));
}

}  // namespace kivora::win32
