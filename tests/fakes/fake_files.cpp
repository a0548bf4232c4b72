#include "fakes/fake_files.h"

#include "platform/unicode.h"

namespace kivora::fakes {

class FakeAppendFile final : public platform::AppendFile {
 public:
  FakeAppendFile(FakeFiles& files, std::u16string key) : files_(files), key_(std::move(key)) {}
  bool write(std::span<const std::uint8_t> bytes) override {
    auto it = files_.files_.find(key_);
    if (it == files_.files_.end()) return false;
    it->second.bytes.insert(it->second.bytes.end(), bytes.begin(), bytes.end());
    return true;
  }
  bool flush() override { return files_.files_.count(key_) != 0; }

 private:
  FakeFiles& files_;
  std::u16string key_;
};

std::u16string FakeFiles::normalize(const std::u16string& path) {
  std::u16string key;
  for (char16_t c : path) key.push_back(c == u'/' ? u'\\' : asciiUpper(c));
  while (key.starts_with(u".\\")) key.erase(0, 2);
  return key;
}

bool FakeFiles::canOpenForReading(const std::u16string& path) {
  const auto key = normalize(path);
  return !unopenable_.count(key) && files_.count(key);
}

bool FakeFiles::writable(const std::u16string& path) const {
  const auto key = normalize(path);
  if (unopenable_.count(key)) return false;
  const auto it = files_.find(key);
  return it == files_.end() || !it->second.readOnly;
}

bool FakeFiles::createFile(const std::u16string& path, std::span<const std::uint8_t> bytes) {
  if (!writable(path)) return false;
  files_[normalize(path)].bytes.assign(bytes.begin(), bytes.end());
  return true;
}

std::unique_ptr<platform::AppendFile> FakeFiles::openForAppend(const std::u16string& path) {
  if (!writable(path)) return nullptr;
  const auto key = normalize(path);
  files_[key];  // "ab" creates a missing file
  return std::make_unique<FakeAppendFile>(*this, key);
}

std::optional<std::vector<std::uint8_t>> FakeFiles::bytes(const std::u16string& path) const {
  const auto it = files_.find(normalize(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.bytes;
}

void FakeFiles::put(const std::u16string& path, std::vector<std::uint8_t> bytes) {
  files_[normalize(path)].bytes = std::move(bytes);
}

void FakeFiles::remove(const std::u16string& path) { files_.erase(normalize(path)); }

void FakeFiles::setReadOnly(const std::u16string& path, bool readOnly) {
  files_[normalize(path)].readOnly = readOnly;
}

bool FakeFiles::isReadOnly(const std::u16string& path) const {
  const auto it = files_.find(normalize(path));
  return it != files_.end() && it->second.readOnly;
}

void FakeFiles::makeUnopenable(const std::u16string& path) { unopenable_.insert(normalize(path)); }

}  // namespace kivora::fakes
