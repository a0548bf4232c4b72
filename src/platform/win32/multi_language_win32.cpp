#include "platform/win32/multi_language_win32.h"

#include <objbase.h>
#include <windows.h>
#include <mlang.h>

#include "platform/win32/wide.h"

namespace kivora::win32 {

namespace {

// mingw's uuid library lacks MLang's identifiers, so they are spelled out here.
constexpr GUID kClsidMultiLanguage = {
    0x275C23E2, 0x3747, 0x11D0, {0x9F, 0xEA, 0x00, 0xAA, 0x00, 0x3F, 0x86, 0x46}};
constexpr GUID kIidMultiLanguage2 = {
    0xDCCFC164, 0x2B38, 0x11D2, {0xB7, 0xEC, 0x00, 0xC0, 0x4F, 0x8F, 0x5D, 0x9A}};

static_assert(sizeof(platform::DetectEncodingInfo) == sizeof(::DetectEncodingInfo));

class ComMultiLanguage final : public platform::MultiLanguage2 {
 public:
  explicit ComMultiLanguage(IMultiLanguage2* service) : service_(service) {}
  ~ComMultiLanguage() override { service_->Release(); }
  ComMultiLanguage(const ComMultiLanguage&) = delete;
  ComMultiLanguage& operator=(const ComMultiLanguage&) = delete;

  platform::HResult DetectInputCodepage(const char* src, int* srcSize,
                                        platform::DetectEncodingInfo* encoding,
                                        int* scores) override {
    return service_->DetectInputCodepage(0, 0, const_cast<CHAR*>(src), srcSize,
                                         reinterpret_cast<::DetectEncodingInfo*>(encoding), scores);
  }

  platform::HResult ConvertStringToUnicodeEx(std::uint32_t* mode, std::uint32_t codePage,
                                             const char* src, std::uint32_t* srcSize, char16_t* dst,
                                             std::uint32_t* dstSize) override {
    DWORD state = *mode;
    UINT in = *srcSize;
    UINT out = *dstSize;
    const HRESULT hr = service_->ConvertStringToUnicodeEx(&state, codePage, const_cast<CHAR*>(src),
                                                          &in, wide(dst), &out, 0, nullptr);
    *mode = state;
    *srcSize = in;
    *dstSize = out;
    return hr;
  }

 private:
  IMultiLanguage2* service_;
};

}  // namespace

std::unique_ptr<platform::MultiLanguage2> Win32MultiLanguageService::CreateInstance() {
  IMultiLanguage2* service = nullptr;
  if (FAILED(CoCreateInstance(kClsidMultiLanguage, nullptr, CLSCTX_INPROC_SERVER,
                              kIidMultiLanguage2, reinterpret_cast<void**>(&service))) ||
      !service) {
    return nullptr;
  }
  return std::make_unique<ComMultiLanguage>(service);
}

}  // namespace kivora::win32
