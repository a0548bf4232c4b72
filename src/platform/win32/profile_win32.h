#pragma once
// The profile-file interface over kernel32.

#include "platform/profile.h"

namespace kivora::win32 {

class Win32Profile final : public platform::Profile {
 public:
  std::uint32_t GetPrivateProfileStringW(const char16_t* appName, const char16_t* keyName,
                                         const char16_t* defaultText, char16_t* returned,
                                         std::uint32_t size, const char16_t* fileName) override;
  std::uint32_t GetPrivateProfileSectionW(const char16_t* appName, char16_t* returned,
                                          std::uint32_t size, const char16_t* fileName) override;
  std::uint32_t GetPrivateProfileIntW(const char16_t* appName, const char16_t* keyName,
                                      std::int32_t defaultValue, const char16_t* fileName) override;
  bool GetPrivateProfileStructW(const char16_t* section, const char16_t* key, void* data,
                                std::uint32_t size, const char16_t* fileName) override;
  bool WritePrivateProfileStringW(const char16_t* appName, const char16_t* keyName,
                                  const char16_t* text, const char16_t* fileName) override;
  bool WritePrivateProfileStructW(const char16_t* section, const char16_t* key, const void* data,
                                  std::uint32_t size, const char16_t* fileName) override;
};

}  // namespace kivora::win32
