// Loading script files: marks, the service's guess, the UTF-8 fallback, line
// ends and the failures, over a multi-language service that behaves like
// MLang for the code pages the tests use.

#include "settings/script_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/unicode.h"

namespace kivora::settings {
namespace {

// Converts UTF-8 (65001), UTF-16BE (1201) and, for any other code page, one
// byte to one character (as a single-byte code page of Latin letters would).
// Detection answers with `guess`, or fails like Wine's E_NOTIMPL without one.
struct FakeMultiLanguageState {
  bool available = true;
  std::optional<std::uint32_t> guess;
  bool failConversion = false;
  std::vector<std::string> detectedInputs;
  std::vector<std::uint32_t> convertedCodePages;
  std::vector<std::string> convertedInputs;
};

class FakeMultiLanguage final : public platform::MultiLanguage2 {
 public:
  explicit FakeMultiLanguage(FakeMultiLanguageState& state) : state_(state) {}
  platform::HResult DetectInputCodepage(const char* src, int* srcSize,
                                        platform::DetectEncodingInfo* encoding,
                                        int* scores) override {
    state_.detectedInputs.emplace_back(src, *srcSize);
    if (!state_.guess) return platform::kENotImpl;
    encoding[0] = {0x0411, *state_.guess, 100, 90};
    *scores = 1;
    return platform::kSOk;
  }
  platform::HResult ConvertStringToUnicodeEx(std::uint32_t* mode, std::uint32_t codePage,
                                             const char* src, std::uint32_t* srcSize, char16_t* dst,
                                             std::uint32_t* dstSize) override {
    EXPECT_EQ(*mode, 0u);
    const std::string in(src, *srcSize);
    state_.convertedCodePages.push_back(codePage);
    state_.convertedInputs.push_back(in);
    if (state_.failConversion) return platform::kEFail;
    std::u16string out;
    if (codePage == kCodePageUtf8) {
      out = utf8ToUtf16(in);
    } else if (codePage == kCodePageUtf16Be) {
      for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
        out.push_back(static_cast<char16_t>((static_cast<std::uint8_t>(in[i]) << 8) |
                                            static_cast<std::uint8_t>(in[i + 1])));
      }
    } else {
      for (char c : in) out.push_back(static_cast<std::uint8_t>(c));
    }
    if (out.size() > *dstSize) return platform::kEFail;
    std::copy(out.begin(), out.end(), dst);
    *dstSize = static_cast<std::uint32_t>(out.size());
    return platform::kSOk;
  }

 private:
  FakeMultiLanguageState& state_;
};

class FakeMultiLanguageService final : public platform::MultiLanguageService {
 public:
  std::unique_ptr<platform::MultiLanguage2> CreateInstance() override {
    if (!state.available) return nullptr;
    return std::make_unique<FakeMultiLanguage>(state);
  }
  FakeMultiLanguageState state;
};

std::vector<std::uint8_t> bytesOf(std::string_view s) { return {s.begin(), s.end()}; }

TEST(ScriptFileMarks, RecognisesTheThreeMarksAndNothingShorter) {
  EXPECT_EQ(detectByteOrderMark(bytesOf("\xFF\xFE"
                                        "a")),
            (ByteOrderMark{1200, 2}));
  EXPECT_EQ(detectByteOrderMark(bytesOf("\xFE\xFF")), (ByteOrderMark{1201, 2}));
  EXPECT_EQ(detectByteOrderMark(bytesOf("\xEF\xBB\xBF"
                                        "x")),
            (ByteOrderMark{65001, 3}));
  EXPECT_EQ(detectByteOrderMark(bytesOf("\xEF\xBB")), std::nullopt);
  EXPECT_EQ(detectByteOrderMark(bytesOf("\xFF")), std::nullopt);
  EXPECT_EQ(detectByteOrderMark(bytesOf("")), std::nullopt);
  EXPECT_EQ(detectByteOrderMark(bytesOf("abc")), std::nullopt);
}

TEST(ScriptFileLineEnds, LoneLineFeedsGainACarriageReturnOthersStay) {
  EXPECT_EQ(normaliseLineEnds(u"\na\nb\r\nc\rd\n\n"), u"\r\na\r\nb\r\nc\rd\r\n\r\n");
  EXPECT_EQ(normaliseLineEnds(u"\r\r\n"), u"\r\r\n");
  EXPECT_EQ(normaliseLineEnds(u""), u"");
}

class ScriptFileDecode : public testing::Test {
 protected:
  LoadedScript decode(std::string_view bytes) {
    const auto data = bytesOf(bytes);
    return decodeScriptFile(data, service);
  }
  FakeMultiLanguageService service;
};

TEST_F(ScriptFileDecode, UnmarkedTextFallsBackToUtf8WhenDetectionFailsAndGetsCrLf) {
  const LoadedScript loaded = decode("x = 1\n\xE6\x97\xA5 = 2\n");
  ASSERT_EQ(loaded.code, kLoadOk);
  EXPECT_EQ(loaded.text, u"x = 1\r\n日 = 2\r\n");
  ASSERT_EQ(service.state.detectedInputs.size(), 1u);
  EXPECT_EQ(service.state.detectedInputs[0], "x = 1\n\xE6\x97\xA5 = 2\n")
      << "detection sees the whole file";
  EXPECT_EQ(service.state.convertedCodePages, std::vector<std::uint32_t>{65001});
}

TEST_F(ScriptFileDecode, UnmarkedTextUsesTheFirstGuessOfTheService) {
  service.state.guess = 1252;
  const LoadedScript loaded = decode("caf\xE9\n");
  ASSERT_EQ(loaded.code, kLoadOk);
  EXPECT_EQ(loaded.text, u"caf\u00E9\r\n");
  EXPECT_EQ(service.state.convertedCodePages, std::vector<std::uint32_t>{1252});
}

TEST_F(ScriptFileDecode, MarkedFilesSkipDetectionAndTheMarkIsNotConverted) {
  LoadedScript loaded = decode(
      "\xEF\xBB\xBF"
      "a\nb");
  ASSERT_EQ(loaded.code, kLoadOk);
  EXPECT_EQ(loaded.text, u"a\r\nb");
  EXPECT_TRUE(service.state.detectedInputs.empty());
  EXPECT_EQ(service.state.convertedInputs.back(), "a\nb");

  loaded =
      decode(std::string("\xFE\xFF\x00"
                         "a\x00\n\x30\x42",
                         8));
  ASSERT_EQ(loaded.code, kLoadOk);
  EXPECT_EQ(loaded.text, u"a\r\nあ");
  EXPECT_EQ(service.state.convertedCodePages.back(), 1201u);
}

TEST_F(ScriptFileDecode, LittleEndianWithMarkIsTakenAsItIsUpToTheFirstZero) {
  LoadedScript loaded =
      decode(std::string("\xFF\xFE"
                         "a\x00\n\x00\x42\x30\r\x00",
                         10));
  ASSERT_EQ(loaded.code, kLoadOk);
  EXPECT_EQ(loaded.text, u"a\nあ\r") << "lone line feeds stay";
  EXPECT_TRUE(service.state.convertedInputs.empty());

  loaded =
      decode(std::string("\xFF\xFE"
                         "a\x00\x00\x00"
                         "b\x00",
                         8));
  EXPECT_EQ(loaded.text, u"a");
  loaded =
      decode(std::string("\xFF\xFE"
                         "a\x00"
                         "b",
                         5));
  EXPECT_EQ(loaded.text, u"ab") << "an odd last byte pairs with a zero";
}

TEST_F(ScriptFileDecode, ConvertedTextEndsAtTheFirstZeroCharacter) {
  const LoadedScript loaded = decode(std::string("ab\0cd", 5));
  ASSERT_EQ(loaded.code, kLoadOk);
  EXPECT_EQ(loaded.text, u"ab");
}

TEST_F(ScriptFileDecode, EmptyFilesLoadAsEmptyText) {
  EXPECT_EQ(decode("").code, kLoadOk);
  EXPECT_EQ(decode("").text, u"");
  EXPECT_EQ(decode("\xEF\xBB\xBF").text, u"");
  EXPECT_EQ(decode("\xFF\xFE").text, u"");
}

TEST_F(ScriptFileDecode, MissingServiceAndFailedConversionGiveTheirCodes) {
  service.state.failConversion = true;
  EXPECT_EQ(decode("abc").code, kLoadConversionFailed);
  EXPECT_EQ(decode("\xEF\xBB\xBF"
                   "abc")
                .code,
            kLoadConversionFailed);
  service.state.available = false;
  EXPECT_EQ(decode("abc").code, kLoadNoService);
  EXPECT_EQ(decode("\xFF\xFE"
                   "a\x00")
                .code,
            kLoadNoService)
      << "the service is prepared before any mark is read";
}

TEST(ScriptFileTexts, UnknownCodesAndOnlyASuccessfulSaveAreNotErrors) {
  EXPECT_EQ(scriptLoadErrorText(3, false), u"Unknown error.");
  EXPECT_EQ(scriptLoadErrorText(0, true), u"不明なエラーによりファイルを読み込めません。");
  EXPECT_FALSE(scriptSaveMessage(ScriptSaveResult::Written, true).error);
  for (auto r : {ScriptSaveResult::CannotCreate, ScriptSaveResult::WriteFailed,
                 ScriptSaveResult::CopyOutOfMemory, ScriptSaveResult::ConversionOutOfMemory,
                 ScriptSaveResult::Other}) {
    EXPECT_TRUE(scriptSaveMessage(r, false).error);
  }
  EXPECT_NE(scriptSaveMessage(ScriptSaveResult::CopyOutOfMemory, true).text,
            scriptSaveMessage(ScriptSaveResult::ConversionOutOfMemory, true).text);
}

}  // namespace
}  // namespace kivora::settings
