// The script editor's file loader: any bytes through the byte-order marks,
// the code-page guess and the conversion. The stand-in for the platform's
// multi-language service converts like the real one for UTF-8, UTF-16BE and a
// single-byte code page, and the first byte picks its guess or its failure.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/unicode.h"
#include "settings/script_file.h"

namespace {

using namespace kivora;

struct Behaviour {
  bool available = true;
  bool detects = true;
  bool convertFails = false;
  std::uint32_t guess = settings::kCodePageUtf8;
};

class StandInConverter final : public platform::MultiLanguage2 {
 public:
  explicit StandInConverter(const Behaviour& behaviour) : behaviour_(behaviour) {}
  platform::HResult DetectInputCodepage(const char*, int* srcSize,
                                        platform::DetectEncodingInfo* encoding,
                                        int* scores) override {
    if (*srcSize <= 0 || *scores <= 0) std::abort();  // the loader never asks for nothing
    if (!behaviour_.detects) return platform::kENotImpl;
    encoding[0] = {0x0411, behaviour_.guess, 100, 80};
    *scores = 1;
    return platform::kSOk;
  }
  platform::HResult ConvertStringToUnicodeEx(std::uint32_t* mode, std::uint32_t codePage,
                                             const char* src, std::uint32_t* srcSize, char16_t* dst,
                                             std::uint32_t* dstSize) override {
    if (*mode != 0) std::abort();
    if (behaviour_.convertFails) return platform::kEFail;
    const std::string in(src, *srcSize);
    std::u16string out;
    if (codePage == settings::kCodePageUtf8) {
      out = utf8ToUtf16(in);
    } else if (codePage == settings::kCodePageUtf16Be) {
      for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
        out.push_back(static_cast<char16_t>((static_cast<std::uint8_t>(in[i]) << 8) |
                                            static_cast<std::uint8_t>(in[i + 1])));
      }
    } else {
      for (char c : in) out.push_back(static_cast<std::uint8_t>(c));
    }
    // Writes only what fits, as the service does, and says how much it wrote.
    if (out.size() > *dstSize) return platform::kEFail;
    std::copy(out.begin(), out.end(), dst);
    *dstSize = static_cast<std::uint32_t>(out.size());
    return platform::kSOk;
  }

 private:
  const Behaviour& behaviour_;
};

class StandInService final : public platform::MultiLanguageService {
 public:
  explicit StandInService(const Behaviour& behaviour) : behaviour_(behaviour) {}
  std::unique_ptr<platform::MultiLanguage2> CreateInstance() override {
    if (!behaviour_.available) return nullptr;
    return std::make_unique<StandInConverter>(behaviour_);
  }

 private:
  const Behaviour& behaviour_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in({data, size});
  const std::uint8_t choice = in.byte();
  Behaviour behaviour;
  behaviour.available = (choice & 0x07) != 0x07;
  behaviour.detects = (choice & 0x08) == 0;
  behaviour.convertFails = (choice & 0xF0) == 0xF0;
  static constexpr std::uint32_t kGuesses[] = {settings::kCodePageUtf8, settings::kCodePageUtf16Be,
                                               932, 1252};
  behaviour.guess = kGuesses[(choice >> 4) & 3];
  StandInService service(behaviour);
  const auto bytes = in.rest();
  const settings::LoadedScript loaded = settings::decodeScriptFile(bytes, service);
  if (loaded.code == settings::kLoadOk) {
    // The edit control shows text up to its first zero; the loader already ends it there.
    if (loaded.text.find(u'\0') != std::u16string::npos) std::abort();
    // Only UTF-16LE keeps its own line ends; every other text has no lone line feed.
    const bool utf16Le = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    for (std::size_t i = 0; !utf16Le && i < loaded.text.size(); ++i) {
      if (loaded.text[i] == u'\n' && (i == 0 || loaded.text[i - 1] != u'\r')) std::abort();
    }
  }
  return 0;
}
