#include "settings/script_file.h"

#include <algorithm>
#include <limits>
#include <new>
#include <vector>

#include "platform/unicode.h"
#include "settings/settings_store.h"

namespace kivora::settings {

namespace {

// How many guesses the detection may hand back; only the first is used.
constexpr int kDetectionResults = 8;

bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// The file was read into a zeroed buffer two bytes longer than itself, so an
// odd last byte pairs with a zero and the text ends at the first zero unit.
std::u16string littleEndianText(std::span<const std::uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const std::uint8_t low = bytes[i];
    const std::uint8_t high = i + 1 < bytes.size() ? bytes[i + 1] : 0;
    const char16_t unit = static_cast<char16_t>(low | (high << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

std::uint32_t guessCodePage(platform::MultiLanguage2& service,
                            std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return kCodePageUtf8;
  }
  platform::DetectEncodingInfo guesses[kDetectionResults] = {};
  int size = static_cast<int>(bytes.size());
  int count = kDetectionResults;
  const platform::HResult hr = service.DetectInputCodepage(
      reinterpret_cast<const char*>(bytes.data()), &size, guesses, &count);
  if (!platform::Succeeded(hr) || count <= 0) return kCodePageUtf8;
  return guesses[0].nCodePage;
}

LoadedScript convert(platform::MultiLanguage2& service, std::uint32_t codePage,
                     std::span<const std::uint8_t> bytes) {
  // Nothing to convert; some converters refuse an empty input.
  if (bytes.empty()) return {kLoadOk, u""};
  if (bytes.size() >= std::numeric_limits<std::uint32_t>::max()) return {kLoadOutOfMemory, {}};
  std::vector<char16_t> buffer;
  try {
    buffer.assign(bytes.size() + 1, u'\0');
  } catch (const std::bad_alloc&) {
    return {kLoadOutOfMemory, {}};
  }
  std::uint32_t mode = 0;
  auto sourceSize = static_cast<std::uint32_t>(bytes.size());
  auto units = static_cast<std::uint32_t>(bytes.size());
  const platform::HResult hr =
      service.ConvertStringToUnicodeEx(&mode, codePage, reinterpret_cast<const char*>(bytes.data()),
                                       &sourceSize, buffer.data(), &units);
  if (!platform::Succeeded(hr)) return {kLoadConversionFailed, {}};
  const auto end = buffer.begin() + std::min<std::size_t>(units, bytes.size());
  return {kLoadOk, std::u16string(buffer.begin(), std::find(buffer.begin(), end, u'\0'))};
}

}  // namespace

std::optional<ByteOrderMark> detectByteOrderMark(std::span<const std::uint8_t> bytes) {
  if (startsWith(bytes, {0xFF, 0xFE})) return ByteOrderMark{kCodePageUtf16Le, 2};
  if (startsWith(bytes, {0xFE, 0xFF})) return ByteOrderMark{kCodePageUtf16Be, 2};
  if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) return ByteOrderMark{kCodePageUtf8, 3};
  return std::nullopt;
}

std::u16string normaliseLineEnds(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out.push_back(u'\r');
    out.push_back(text[i]);
  }
  return out;
}

LoadedScript decodeScriptFile(std::span<const std::uint8_t> bytes,
                              platform::MultiLanguageService& services) {
  std::unique_ptr<platform::MultiLanguage2> service = services.CreateInstance();
  if (!service) return {kLoadNoService, {}};
  const std::optional<ByteOrderMark> mark = detectByteOrderMark(bytes);
  if (mark && mark->codePage == kCodePageUtf16Le)
    return {kLoadOk, littleEndianText(bytes.subspan(2))};
  const std::uint32_t codePage = mark ? mark->codePage : guessCodePage(*service, bytes);
  LoadedScript loaded = convert(*service, codePage, bytes.subspan(mark ? mark->length : 0));
  if (loaded.code == kLoadOk) loaded.text = normaliseLineEnds(loaded.text);
  return loaded;
}

std::u16string_view scriptLoadErrorText(int code, bool japanese) {
  switch (code) {
    case kLoadCannotOpen:
      return japanese ? u"ファイルを開けません。" : u"Cannot open the file.";
    case kLoadCannotRead:
      return japanese ? u"ファイルを読み込めません。" : u"Cannot read the file.";
    case kLoadOutOfMemory:
      return japanese ? u"メモリが足りません。" : u"Out of memory.";
    case kLoadNoService:
      return japanese ? u"文字コード変換の準備中にエラーになりました。"
                      : u"An error occurred while preparing for character code conversion.";
    case kLoadConversionFailed:
      return japanese ? u"文字コード変換中にエラーになりました。"
                      : u"An error occurred during character code conversion..";
    default:
      return japanese ? u"不明なエラーによりファイルを読み込めません。" : u"Unknown error.";
  }
}

ScriptMessage scriptSaveMessage(ScriptSaveResult result, bool japanese) {
  switch (result) {
    case ScriptSaveResult::Written:
      return {japanese ? u"UTF-8(BOM付き)でファイルに保存しました。"
                       : u"The file has been saved in UTF-8 (with BOM).",
              false};
    case ScriptSaveResult::CannotCreate:
      return {japanese ? u"ファイルを書き込みモードで開けません。"
                       : u"Cannot open the file on write mode."};
    case ScriptSaveResult::WriteFailed:
      return {japanese ? u"ファイルへ書き込めません。" : u"Cannot write to the file."};
    case ScriptSaveResult::CopyOutOfMemory:
      return {japanese ? u"ファイル書き込みを行うためのメモリが足りません。" : u"Out of memory."};
    case ScriptSaveResult::ConversionOutOfMemory:
      return {japanese ? u"メモリが足りません。" : u"Out of memory."};
    case ScriptSaveResult::Other:
      break;
  }
  return {japanese ? u"不明なエラーによりファイルに書き込めません。" : u"Unknown error."};
}

std::u16string_view scriptStoreOutOfMemoryText(bool japanese) {
  return japanese ? u"スクリプトを格納するためのメモリが足りません。" : u"Out of memory.";
}

std::u16string scriptTooLongForIniText(std::size_t length, bool japanese) {
  const std::u16string limit = utf8ToUtf16(std::to_string(kMaxIniScriptLength));
  const std::u16string given = utf8ToUtf16(std::to_string(length));
  if (japanese) {
    return u"スクリプトが長すぎるため Kivora.ini に保存できません。保存できるのは " + limit +
           u" 文字まで、このスクリプトは " + given +
           u" 文字です。\r\n短くするか、ファイルへ保存してください。";
  }
  return u"This script is too long to be kept in Kivora.ini: it holds " + given +
         u" characters, and at most " + limit +
         u" can be kept there.\r\nShorten it, or save it to a file.";
}

}  // namespace kivora::settings
