#pragma once
// The platform's multi-language text service (MLang's IMultiLanguage2) as
// script loading uses it: guess the code page of a byte sequence and convert
// bytes of a code page to UTF-16.

#include <cstdint>
#include <memory>

namespace kivora::platform {

// HRESULT values the service returns; anything negative is a failure.
using HResult = std::int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kENotImpl = static_cast<HResult>(0x80004001);
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005);
// These names mirror MLang's COM interface and the SUCCEEDED macro, one to one.
// NOLINTBEGIN(readability-identifier-naming)
inline constexpr bool Succeeded(HResult hr) { return hr >= 0; }

// DetectEncodingInfo's fields, in its order.
struct DetectEncodingInfo {
  std::uint32_t nLangID = 0;
  std::uint32_t nCodePage = 0;
  std::int32_t nDocPercent = 0;
  std::int32_t nConfidence = 0;
};

class MultiLanguage2 {
 public:
  virtual ~MultiLanguage2() = default;  // Release
  // DetectInputCodepage with no flags and no preferred code page: *srcSize
  // bytes of src in, up to *scores results out (*scores becomes their count).
  virtual HResult DetectInputCodepage(const char* src, int* srcSize, DetectEncodingInfo* encoding,
                                      int* scores) = 0;
  // ConvertStringToUnicodeEx with no flags and no fallback: *srcSize bytes in
  // the code page, at most *dstSize units out (*dstSize becomes the count).
  // *mode carries the conversion state between calls; start it at 0.
  virtual HResult ConvertStringToUnicodeEx(std::uint32_t* mode, std::uint32_t codePage,
                                           const char* src, std::uint32_t* srcSize, char16_t* dst,
                                           std::uint32_t* dstSize) = 0;
};

class MultiLanguageService {
 public:
  virtual ~MultiLanguageService() = default;
  // CoCreateInstance of CLSID_CMultiLanguage for IMultiLanguage2, in-process;
  // null when the service cannot be created.
  virtual std::unique_ptr<MultiLanguage2> CreateInstance() = 0;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::platform
