#include "settings/script_file.h"

#include <algorithm>
#include <limits>
#include <new>
#include <vector>

#include "platform/unicode.h"
#include "settings/settings_store.h"
#include "settings/texts.h"

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
    const auto unit = static_cast<char16_t>(low | (high << 8));
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

namespace {

const Bilingual& loadErrorText(int code) {
  switch (code) {
    case kLoadCannotOpen:
      return texts::kScriptCannotOpen;
    case kLoadCannotRead:
      return texts::kScriptCannotRead;
    case kLoadOutOfMemory:
      return texts::kScriptOutOfMemory;
    case kLoadNoService:
      return texts::kScriptNoConverter;
    case kLoadConversionFailed:
      return texts::kScriptConversionFailed;
    default:
      return texts::kScriptLoadFailed;
  }
}

const Bilingual& saveResultText(ScriptSaveResult result) {
  switch (result) {
    case ScriptSaveResult::Written:
      return texts::kScriptSaved;
    case ScriptSaveResult::CannotCreate:
      return texts::kScriptCannotCreate;
    case ScriptSaveResult::WriteFailed:
      return texts::kScriptWriteFailed;
    case ScriptSaveResult::CopyOutOfMemory:
      return texts::kScriptCopyOutOfMemory;
    case ScriptSaveResult::ConversionOutOfMemory:
      return texts::kScriptOutOfMemory;
    case ScriptSaveResult::Other:
      break;
  }
  return texts::kScriptSaveFailed;
}

}  // namespace

std::u16string_view scriptLoadErrorText(int code, bool japanese) {
  return loadErrorText(code).pick(japanese);
}

ScriptMessage scriptSaveMessage(ScriptSaveResult result, bool japanese) {
  return {saveResultText(result).pick(japanese), result != ScriptSaveResult::Written};
}

std::u16string_view scriptStoreOutOfMemoryText(bool japanese) {
  return texts::kScriptStoreOutOfMemory.pick(japanese);
}

std::u16string scriptTooLongForIniText(std::size_t length, std::size_t most, bool japanese) {
  const std::u16string limit = utf8ToUtf16(std::to_string(most));
  const std::u16string given = utf8ToUtf16(std::to_string(length));
  const std::u16string_view format = texts::kScriptTooLongForIni.pick(japanese);
  return japanese ? fillIn(format, {limit, given}) : fillIn(format, {given, limit});
}

}  // namespace kivora::settings
