#pragma once
// An in-memory registry that answers like advapi32 in every case Kivora's
// code meets: missing keys and values, ERROR_MORE_DATA, read-only handles,
// predefined roots, and failures injected on purpose.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registry.h"

namespace kivora::fakes {

class FakeRegistry final : public platform::Registry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  platform::LStatus RegOpenKeyExW(platform::RegKey key, const char16_t* subKey,
                                  std::uint32_t options, platform::RegSam samDesired,
                                  platform::RegKey* result) override;
  platform::LStatus RegCreateKeyExW(platform::RegKey key, const char16_t* subKey,
                                    std::uint32_t options, platform::RegSam samDesired,
                                    platform::RegKey* result, std::uint32_t* disposition) override;
  platform::LStatus RegQueryValueExW(platform::RegKey key, const char16_t* valueName,
                                     std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* dataSize) override;
  platform::LStatus RegSetValueExW(platform::RegKey key, const char16_t* valueName,
                                   std::uint32_t type, const std::uint8_t* data,
                                   std::uint32_t dataSize) override;
  platform::LStatus RegDeleteValueW(platform::RegKey key, const char16_t* valueName) override;
  platform::LStatus RegCloseKey(platform::RegKey key) override;

  // Opening or creating this key (root plus path, case-insensitive) fails with
  // ERROR_ACCESS_DENIED, as for a key the user may not touch.
  void denyOpen(platform::RegKey root, const std::u16string& path);
  // Setting and deleting values of this key fail with ERROR_ACCESS_DENIED.
  void denyWrites(platform::RegKey root, const std::u16string& path);
  // Opening or creating this key for more than reading fails with
  // ERROR_ACCESS_DENIED, as for a key only administrators may change.
  void allowReadOnly(platform::RegKey root, const std::u16string& path);
  // Handles opened and not yet closed (predefined roots do not count).
  std::size_t openHandleCount() const { return handles_.size(); }

 private:
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  // Orders and hashes folded names, and finds one by a name in any case
  // without folding it into a new string: a tick reads values at every turn.
  struct FoldedLess {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const;
  };
  struct FoldedHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view name) const;
  };
  struct FoldedEqual {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const;
  };
  struct Key {
    std::u16string path;  // folded, from its root, for the injected failures
    std::map<std::u16string, std::unique_ptr<Key>, FoldedLess> subkeys;         // by folded name
    std::unordered_map<std::u16string, Value, FoldedHash, FoldedEqual> values;  // by folded name
  };
  struct Handle {
    Key* key = nullptr;
    platform::RegSam access = 0;
  };

  Key* resolve(platform::RegKey key, platform::RegSam* access);
  platform::LStatus openOrCreate(platform::RegKey key, const char16_t* subKey,
                                 platform::RegSam samDesired, bool create, platform::RegKey* result,
                                 std::uint32_t* disposition);

  std::map<platform::RegKey, std::unique_ptr<Key>> roots_;
  std::map<platform::RegKey, Handle> handles_;
  std::uintptr_t nextHandle_ = 0x1000;
  std::set<std::u16string> deniedOpens_;
  std::set<std::u16string> deniedWrites_;
  std::set<std::u16string> readOnlyKeys_;
};

}  // namespace kivora::fakes
