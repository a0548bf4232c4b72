#include "fakes/fake_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/unicode.h"

namespace kivora::fakes {

using namespace platform;

namespace {

std::u16string fold(std::u16string_view text) {
  std::u16string folded(text);
  for (auto& c : folded) c = asciiUpper(c);
  return folded;
}

std::u16string rootTag(RegKey root) {
  return utf8ToUtf16(std::to_string(static_cast<std::uintptr_t>(root))) + u":";
}

std::vector<std::u16string> components(const char16_t* subKey) {
  std::vector<std::u16string> parts;
  if (subKey == nullptr) return parts;
  std::u16string_view rest(subKey);
  while (!rest.empty()) {
    const auto slash = rest.find(u'\\');
    const auto part = rest.substr(0, slash);
    if (!part.empty()) parts.push_back(fold(part));
    if (slash == std::u16string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  return parts;
}

std::u16string valueKey(const char16_t* name) { return name ? fold(name) : std::u16string(); }

}  // namespace

namespace {

char16_t upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

}  // namespace

std::size_t FakeRegistry::FoldedHash::operator()(std::u16string_view name) const {
  std::size_t hash = 14695981039346656037u;
  for (const char16_t c : name) hash = (hash ^ upper(c)) * 1099511628211u;
  return hash;
}

bool FakeRegistry::FoldedEqual::operator()(std::u16string_view a, std::u16string_view b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

bool FakeRegistry::FoldedLess::operator()(std::u16string_view a, std::u16string_view b) const {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = upper(a[i]);
    const char16_t y = upper(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

FakeRegistry::FakeRegistry() = default;
FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Key* FakeRegistry::resolve(RegKey key, RegSam* access) {
  if (isPredefinedRoot(key)) {
    auto& root = roots_[key];
    if (!root) {
      root = std::make_unique<Key>();
      root->path = rootTag(key);
    }
    if (access) *access = kKeyAllAccess;
    return root.get();
  }
  const auto it = handles_.find(key);
  if (it == handles_.end()) return nullptr;
  if (access) *access = it->second.access;
  return it->second.key;
}

LStatus FakeRegistry::openOrCreate(RegKey key, const char16_t* subKey, RegSam samDesired,
                                   bool create, RegKey* result, std::uint32_t* disposition) {
  if (result == nullptr) return kErrorInvalidParameter;
  Key* node = resolve(key, nullptr);
  if (node == nullptr) return kErrorInvalidHandle;
  bool createdAny = false;
  // The parts are looked up without making strings: a tick opens a key at every turn.
  std::u16string_view rest(subKey ? subKey : u"");
  while (!rest.empty()) {
    const auto slash = rest.find(u'\\');
    const std::u16string_view part = rest.substr(0, slash);
    rest.remove_prefix(slash == std::u16string_view::npos ? rest.size() : slash + 1);
    if (part.empty()) continue;
    if (!deniedOpens_.empty() && deniedOpens_.count(node->path + u"\\" + fold(part)))
      return kErrorAccessDenied;
    auto it = node->subkeys.find(part);
    if (it == node->subkeys.end()) {
      if (!create) return kErrorFileNotFound;
      it = node->subkeys.emplace(fold(part), std::make_unique<Key>()).first;
      it->second->path = node->path + u"\\" + it->first;
      createdAny = true;
    }
    node = it->second.get();
  }
  if (deniedOpens_.count(node->path)) return kErrorAccessDenied;
  if (readOnlyKeys_.count(node->path) && (samDesired & ~kKeyRead) != 0) return kErrorAccessDenied;
  const auto handle = static_cast<RegKey>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = Handle{node, samDesired};
  *result = handle;
  if (disposition) *disposition = createdAny ? kRegCreatedNewKey : kRegOpenedExistingKey;
  return kErrorSuccess;
}

LStatus FakeRegistry::RegOpenKeyExW(RegKey key, const char16_t* subKey, std::uint32_t,
                                    RegSam samDesired, RegKey* result) {
  return openOrCreate(key, subKey, samDesired, false, result, nullptr);
}

LStatus FakeRegistry::RegCreateKeyExW(RegKey key, const char16_t* subKey, std::uint32_t,
                                      RegSam samDesired, RegKey* result,
                                      std::uint32_t* disposition) {
  return openOrCreate(key, subKey, samDesired, true, result, disposition);
}

LStatus FakeRegistry::RegQueryValueExW(RegKey key, const char16_t* valueName, std::uint32_t* type,
                                       std::uint8_t* data, std::uint32_t* dataSize) {
  RegSam access = 0;
  Key* node = resolve(key, &access);
  if (node == nullptr) return kErrorInvalidHandle;
  if ((access & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if (data != nullptr && dataSize == nullptr) return kErrorInvalidParameter;
  const auto it = node->values.find(std::u16string_view(valueName ? valueName : u""));
  if (it == node->values.end()) return kErrorFileNotFound;
  const Value& value = it->second;
  const auto size = static_cast<std::uint32_t>(value.data.size());
  if (type) *type = value.type;
  if (data != nullptr && *dataSize < size) {
    *dataSize = size;
    return kErrorMoreData;
  }
  if (data != nullptr && size > 0) std::memcpy(data, value.data.data(), size);
  if (dataSize) *dataSize = size;
  return kErrorSuccess;
}

LStatus FakeRegistry::RegSetValueExW(RegKey key, const char16_t* valueName, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t dataSize) {
  RegSam access = 0;
  Key* node = resolve(key, &access);
  if (node == nullptr) return kErrorInvalidHandle;
  if ((access & kKeySetValue) == 0 || deniedWrites_.count(node->path)) return kErrorAccessDenied;
  if (data == nullptr && dataSize > 0) return kErrorInvalidParameter;
  Value& value = node->values[valueKey(valueName)];
  value.type = type;
  value.data.assign(data, data + dataSize);
  return kErrorSuccess;
}

LStatus FakeRegistry::RegDeleteValueW(RegKey key, const char16_t* valueName) {
  RegSam access = 0;
  Key* node = resolve(key, &access);
  if (node == nullptr) return kErrorInvalidHandle;
  if ((access & kKeySetValue) == 0 || deniedWrites_.count(node->path)) return kErrorAccessDenied;
  return node->values.erase(valueKey(valueName)) ? kErrorSuccess : kErrorFileNotFound;
}

LStatus FakeRegistry::RegCloseKey(RegKey key) {
  if (isPredefinedRoot(key)) return kErrorSuccess;
  return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

void FakeRegistry::denyOpen(RegKey root, const std::u16string& path) {
  std::u16string full = rootTag(root);
  for (const auto& part : components(path.c_str())) full += u"\\" + part;
  deniedOpens_.insert(full);
}

void FakeRegistry::denyWrites(RegKey root, const std::u16string& path) {
  std::u16string full = rootTag(root);
  for (const auto& part : components(path.c_str())) full += u"\\" + part;
  deniedWrites_.insert(full);
}

void FakeRegistry::allowReadOnly(RegKey root, const std::u16string& path) {
  std::u16string full = rootTag(root);
  for (const auto& part : components(path.c_str())) full += u"\\" + part;
  readOnlyKeys_.insert(full);
}

}  // namespace kivora::fakes
