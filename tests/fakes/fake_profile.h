#pragma once
// Profile files kept in FakeFiles and parsed on every call, so a test sees
// the bytes a write leaves behind. Reads and writes behave like kernel32's:
// case-insensitive sections and keys, trimmed values, quotes stripped on
// reading, the default's trailing blanks dropped, UTF-16LE kept when the file
// starts with its byte-order mark and ANSI otherwise, writes refused for a
// read-only file, and the struct form checked for length and checksum.

#include "fakes/fake_files.h"
#include "platform/profile.h"

namespace kivora::fakes {

class FakeProfile final : public platform::Profile {
 public:
  explicit FakeProfile(FakeFiles& files) : files_(files) {}

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

 private:
  FakeFiles& files_;
};

}  // namespace kivora::fakes
