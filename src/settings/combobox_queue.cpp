#include "settings/combobox_queue.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace kivora::settings {

namespace {

using platform::RegKey;

// A key of the platform registry, closed when it goes.
class OpenedKey {
 public:
  explicit OpenedKey(platform::Registry& registry) : registry_(registry) {}
  ~OpenedKey() {
    if (open_) registry_.RegCloseKey(key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  bool open(RegKey root, const std::u16string& path) {
    open_ = registry_.RegOpenKeyExW(root, path.c_str(), 0, platform::kKeyRead, &key_) ==
            platform::kErrorSuccess;
    return open_;
  }
  bool create(RegKey root, const std::u16string& path) {
    std::uint32_t disposition = 0;
    open_ = registry_.RegCreateKeyExW(root, path.c_str(), platform::kRegOptionNonVolatile,
                                      platform::kKeyAllAccess, &key_,
                                      &disposition) == platform::kErrorSuccess;
    return open_;
  }
  RegKey get() const { return key_; }

 private:
  platform::Registry& registry_;
  RegKey key_{};
  bool open_ = false;
};

// The strings of REG_MULTI_SZ data, up to the first empty one.
std::vector<std::u16string> multiStrings(const std::vector<std::uint8_t>& bytes,
                                         std::size_t limit) {
  std::vector<std::u16string> strings;
  std::u16string current;
  for (std::size_t i = 0; i + 1 < bytes.size() && strings.size() < limit; i += 2) {
    const auto c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c != 0) {
      current.push_back(c);
      continue;
    }
    if (current.empty()) break;
    strings.push_back(std::move(current));
    current.clear();
  }
  // Data written without its terminators still ends its last string.
  if (!current.empty() && strings.size() < limit) strings.push_back(std::move(current));
  return strings;
}

// The ini key of a position: its decimal digits.
std::u16string positionKey(std::size_t position) {
  const std::string digits = std::to_string(position);
  return std::u16string(digits.begin(), digits.end());
}

std::vector<std::uint8_t> multiStringData(const std::vector<std::u16string>& strings) {
  std::vector<std::uint8_t> bytes;
  auto put = [&bytes](char16_t c) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  };
  for (const auto& s : strings) {
    for (char16_t c : s) put(c);
    put(0);
  }
  put(0);
  return bytes;
}

}  // namespace

void ComboboxQueue::load(bool useIni) {
  entries_.clear();
  if (useIni) {
    loadFromIni();
  } else {
    loadFromRegistry();
  }
}

void ComboboxQueue::loadFromRegistry() {
  OpenedKey key(store_.regw.registry);
  if (!key.open(store_.location.registryRoot, store_.location.registryKey)) return;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (store_.regw.registry.RegQueryValueExW(key.get(), name_.c_str(), &type, nullptr, &size) !=
          platform::kErrorSuccess ||
      type != platform::kRegMultiSz) {
    return;
  }
  std::vector<std::uint8_t> bytes(size);
  if (size > 0 &&
      store_.regw.registry.RegQueryValueExW(key.get(), name_.c_str(), &type, bytes.data(), &size) !=
          platform::kErrorSuccess) {
    return;
  }
  bytes.resize(size);
  entries_ = multiStrings(bytes, kCapacity);
}

void ComboboxQueue::loadFromIni() {
  std::vector<char16_t> buffer(kIniValueCapacity);
  for (std::size_t i = 0; i < kCapacity; ++i) {
    const std::u16string key = positionKey(i);
    const std::uint32_t n = store_.profile.GetPrivateProfileStringW(
        name_.c_str(), key.c_str(), u"", buffer.data(), static_cast<std::uint32_t>(buffer.size()),
        store_.location.iniPath.c_str());
    if (n == 0) break;
    entries_.emplace_back(buffer.data(), n);
  }
}

bool ComboboxQueue::push(std::u16string_view text, bool useIni) {
  if (text.empty()) return false;
  const auto found = std::find(entries_.begin(), entries_.end(), text);
  if (found != entries_.end() && found == entries_.begin()) return false;
  if (found != entries_.end()) {
    std::rotate(entries_.begin(), found, found + 1);
  } else {
    entries_.insert(entries_.begin(), std::u16string(text));
    if (entries_.size() > kCapacity) entries_.resize(kCapacity);
  }
  save(useIni);
  return true;
}

bool ComboboxQueue::save(bool useIni) const { return useIni ? saveToIni() : saveToRegistry(); }

bool ComboboxQueue::saveToRegistry() const {
  OpenedKey key(store_.regw.registry);
  if (!key.create(store_.location.registryRoot, store_.location.registryKey)) return false;
  const auto data = multiStringData(entries_);
  return store_.regw.registry.RegSetValueExW(
             key.get(), name_.c_str(), platform::kRegMultiSz, data.data(),
             static_cast<std::uint32_t>(data.size())) == platform::kErrorSuccess;
}

bool ComboboxQueue::saveToIni() const {
  // A profile write that finds no file makes an ANSI one, which would lose
  // every path outside the code page; the settings file is kept in UTF-16.
  EnsureIniFile(store_);
  const char16_t* file = store_.location.iniPath.c_str();
  bool written = store_.profile.WritePrivateProfileStringW(name_.c_str(), nullptr, nullptr, file);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::u16string key = positionKey(i);
    written &= store_.profile.WritePrivateProfileStringW(name_.c_str(), key.c_str(),
                                                         entries_[i].c_str(), file);
  }
  return written;
}

}  // namespace kivora::settings
