#pragma once
// The registry interface over advapi32.

#include "platform/registry.h"

namespace kivora::win32 {

class Win32Registry final : public platform::Registry {
 public:
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
};

}  // namespace kivora::win32
