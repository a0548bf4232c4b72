#pragma once
// Profile (ini) files as Kivora uses them: the kernel32 GetPrivateProfile... and
// WritePrivateProfile... functions with their arguments in portable types.
// Texts are zero-terminated UTF-16; a null key or value means what it means to
// Windows (a null value deletes the key, a null key deletes the section).

#include <cstdint>

namespace kivora::platform {

class Profile {
 public:
  virtual ~Profile() = default;

  // These names mirror the Win32 functions they stand for, one to one.
  // NOLINTBEGIN(readability-identifier-naming)

  // Copies the value (or the default, trailing blanks removed) into returned,
  // cut to size - 1 characters and zero-terminated; returns the characters
  // copied. A null key lists the section's keys, each zero-terminated.
  virtual std::uint32_t GetPrivateProfileStringW(const char16_t* appName, const char16_t* keyName,
                                                 const char16_t* defaultText, char16_t* returned,
                                                 std::uint32_t size, const char16_t* fileName) = 0;
  // Every line of the section as "key=value", each zero-terminated, with one
  // more zero after the last; returns the characters copied without that last
  // zero. When they do not fit, the list is cut with both zeros kept and the
  // result is size - 2.
  virtual std::uint32_t GetPrivateProfileSectionW(const char16_t* appName, char16_t* returned,
                                                  std::uint32_t size, const char16_t* fileName) = 0;
  // The value read as a decimal number (a minus sign gives the two's
  // complement), or the default when the key is absent or empty.
  virtual std::uint32_t GetPrivateProfileIntW(const char16_t* appName, const char16_t* keyName,
                                              std::int32_t defaultValue,
                                              const char16_t* fileName) = 0;
  // Reads bytes stored by WritePrivateProfileStructW; false unless the stored
  // form holds exactly size bytes and its checksum matches.
  virtual bool GetPrivateProfileStructW(const char16_t* section, const char16_t* key, void* data,
                                        std::uint32_t size, const char16_t* fileName) = 0;
  virtual bool WritePrivateProfileStringW(const char16_t* appName, const char16_t* keyName,
                                          const char16_t* text, const char16_t* fileName) = 0;
  // Stores size bytes as upper-case hexadecimal followed by a one-byte checksum
  // (the sum of the bytes); null data deletes the key.
  virtual bool WritePrivateProfileStructW(const char16_t* section, const char16_t* key,
                                          const void* data, std::uint32_t size,
                                          const char16_t* fileName) = 0;
  // NOLINTEND(readability-identifier-naming)
};

}  // namespace kivora::platform
