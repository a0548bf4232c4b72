#pragma once
// The registry as the settings store sees it: the advapi32 functions Kivora
// calls, with their arguments in portable types and their LSTATUS results, so
// code written against it reads like the Win32 program and the same tests run
// against the in-memory fake and the real registry.

#include <cstdint>

namespace kivora::platform {

// An open key or one of the predefined roots. Values equal the Win32 HKEY
// values, so the Win32 implementation converts without a table.
enum class RegKey : std::uintptr_t {};

// LSTATUS values our code tells apart.
using LStatus = std::int32_t;
inline constexpr LStatus kErrorSuccess = 0;
inline constexpr LStatus kErrorFileNotFound = 2;
inline constexpr LStatus kErrorAccessDenied = 5;
inline constexpr LStatus kErrorInvalidHandle = 6;
inline constexpr LStatus kErrorInvalidParameter = 87;
inline constexpr LStatus kErrorMoreData = 234;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// Access rights (REGSAM) and options.
using RegSam = std::uint32_t;
inline constexpr RegSam kKeyQueryValue = 0x0001;
inline constexpr RegSam kKeySetValue = 0x0002;
inline constexpr RegSam kKeyRead = 0x20019;
inline constexpr RegSam kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kRegOptionNonVolatile = 0;

// Dispositions reported by RegCreateKeyExW.
inline constexpr std::uint32_t kRegCreatedNewKey = 1;
inline constexpr std::uint32_t kRegOpenedExistingKey = 2;

namespace detail {
// Win32 defines the predefined roots as 32-bit negative numbers widened to a pointer.
constexpr RegKey predefined(std::uint32_t v) {
  return static_cast<RegKey>(
      static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(v))));
}
}  // namespace detail

inline constexpr RegKey kHkeyClassesRoot = detail::predefined(0x80000000u);
inline constexpr RegKey kHkeyCurrentUser = detail::predefined(0x80000001u);
inline constexpr RegKey kHkeyLocalMachine = detail::predefined(0x80000002u);
inline constexpr RegKey kHkeyUsers = detail::predefined(0x80000003u);
inline constexpr RegKey kHkeyPerformanceData = detail::predefined(0x80000004u);
inline constexpr RegKey kHkeyCurrentConfig = detail::predefined(0x80000005u);
inline constexpr RegKey kHkeyDynData = detail::predefined(0x80000006u);
inline constexpr RegKey kHkeyPerformanceText = detail::predefined(0x80000050u);
inline constexpr RegKey kHkeyPerformanceNlsText = detail::predefined(0x80000060u);

bool isPredefinedRoot(RegKey key);

// These names mirror the Win32 functions they stand for, one to one.
// NOLINTBEGIN(readability-identifier-naming)
// The reserved arguments, the class name and the security attributes of the
// Win32 functions are always 0 or null in Kivora and are left out.
class Registry {
 public:
  virtual ~Registry() = default;

  virtual LStatus RegOpenKeyExW(RegKey key, const char16_t* subKey, std::uint32_t options,
                                RegSam samDesired, RegKey* result) = 0;
  virtual LStatus RegCreateKeyExW(RegKey key, const char16_t* subKey, std::uint32_t options,
                                  RegSam samDesired, RegKey* result,
                                  std::uint32_t* disposition) = 0;
  // data may be null to ask only for type and size; when data is given,
  // *dataSize is its capacity in bytes on entry and the value's size on return,
  // and a value that does not fit gives kErrorMoreData with data untouched.
  virtual LStatus RegQueryValueExW(RegKey key, const char16_t* valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* dataSize) = 0;
  virtual LStatus RegSetValueExW(RegKey key, const char16_t* valueName, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t dataSize) = 0;
  virtual LStatus RegDeleteValueW(RegKey key, const char16_t* valueName) = 0;
  virtual LStatus RegCloseKey(RegKey key) = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
