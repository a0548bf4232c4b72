#include "platform/win32/profile_win32.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace kivora::win32 {

std::uint32_t Win32Profile::GetPrivateProfileStringW(const char16_t* appName,
                                                     const char16_t* keyName,
                                                     const char16_t* defaultText,
                                                     char16_t* returned, std::uint32_t size,
                                                     const char16_t* fileName) {
  return ::GetPrivateProfileStringW(wide(appName), wide(keyName), wide(defaultText), wide(returned),
                                    size, wide(fileName));
}

std::uint32_t Win32Profile::GetPrivateProfileSectionW(const char16_t* appName, char16_t* returned,
                                                      std::uint32_t size,
                                                      const char16_t* fileName) {
  return ::GetPrivateProfileSectionW(wide(appName), wide(returned), size, wide(fileName));
}

std::uint32_t Win32Profile::GetPrivateProfileIntW(const char16_t* appName, const char16_t* keyName,
                                                  std::int32_t defaultValue,
                                                  const char16_t* fileName) {
  return ::GetPrivateProfileIntW(wide(appName), wide(keyName), defaultValue, wide(fileName));
}

bool Win32Profile::GetPrivateProfileStructW(const char16_t* section, const char16_t* key,
                                            void* data, std::uint32_t size,
                                            const char16_t* fileName) {
  return ::GetPrivateProfileStructW(wide(section), wide(key), data, size, wide(fileName)) != FALSE;
}

bool Win32Profile::WritePrivateProfileStringW(const char16_t* appName, const char16_t* keyName,
                                              const char16_t* text, const char16_t* fileName) {
  return ::WritePrivateProfileStringW(wide(appName), wide(keyName), wide(text), wide(fileName)) !=
         FALSE;
}

bool Win32Profile::WritePrivateProfileStructW(const char16_t* section, const char16_t* key,
                                              const void* data, std::uint32_t size,
                                              const char16_t* fileName) {
  // The Win32 declaration takes a non-const pointer but only reads through it.
  return ::WritePrivateProfileStructW(wide(section), wide(key), const_cast<void*>(data), size,
                                      wide(fileName)) != FALSE;
}

}  // namespace kivora::win32
