#include "platform/win32/registry_win32.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace kivora::win32 {

namespace {

HKEY toHkey(platform::RegKey key) {
  return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}
platform::RegKey fromHkey(HKEY key) {
  return static_cast<platform::RegKey>(reinterpret_cast<std::uintptr_t>(key));
}

static_assert(sizeof(DWORD) == sizeof(std::uint32_t));

}  // namespace

platform::LStatus Win32Registry::RegOpenKeyExW(platform::RegKey key, const char16_t* subKey,
                                               std::uint32_t options, platform::RegSam samDesired,
                                               platform::RegKey* result) {
  HKEY opened = nullptr;
  const LSTATUS status = ::RegOpenKeyExW(toHkey(key), wide(subKey), options, samDesired, &opened);
  if (result) *result = fromHkey(status == ERROR_SUCCESS ? opened : nullptr);
  return status;
}

platform::LStatus Win32Registry::RegCreateKeyExW(platform::RegKey key, const char16_t* subKey,
                                                 std::uint32_t options, platform::RegSam samDesired,
                                                 platform::RegKey* result,
                                                 std::uint32_t* disposition) {
  HKEY created = nullptr;
  DWORD how = 0;
  const LSTATUS status = ::RegCreateKeyExW(toHkey(key), wide(subKey), 0, nullptr, options,
                                           samDesired, nullptr, &created, &how);
  if (result) *result = fromHkey(status == ERROR_SUCCESS ? created : nullptr);
  if (disposition) *disposition = how;
  return status;
}

platform::LStatus Win32Registry::RegQueryValueExW(platform::RegKey key, const char16_t* valueName,
                                                  std::uint32_t* type, std::uint8_t* data,
                                                  std::uint32_t* dataSize) {
  return ::RegQueryValueExW(toHkey(key), wide(valueName), nullptr, reinterpret_cast<DWORD*>(type),
                            data, reinterpret_cast<DWORD*>(dataSize));
}

platform::LStatus Win32Registry::RegSetValueExW(platform::RegKey key, const char16_t* valueName,
                                                std::uint32_t type, const std::uint8_t* data,
                                                std::uint32_t dataSize) {
  return ::RegSetValueExW(toHkey(key), wide(valueName), 0, type, data, dataSize);
}

platform::LStatus Win32Registry::RegDeleteValueW(platform::RegKey key, const char16_t* valueName) {
  return ::RegDeleteValueW(toHkey(key), wide(valueName));
}

platform::LStatus Win32Registry::RegCloseKey(platform::RegKey key) {
  return ::RegCloseKey(toHkey(key));
}

}  // namespace kivora::win32
