#pragma once
// Script files: the text the script editor loads from a file in any common
// encoding (byte-order marks first, then the platform's guess, else UTF-8),
// the line ends it shows, and the texts of every load and save result.
// The file reading and writing themselves belong to the editor.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/multi_language.h"

namespace kivora::settings {

inline constexpr std::uint32_t kCodePageUtf16Le = 1200;
inline constexpr std::uint32_t kCodePageUtf16Be = 1201;
inline constexpr std::uint32_t kCodePageUtf8 = 65001;

// What a saved script file starts with.
inline constexpr std::uint8_t kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

// Load results; the numbers key the error texts.
enum ScriptLoadCode : int {
  kLoadOk = 0,
  kLoadCannotOpen = 1,
  kLoadCannotRead = 2,
  kLoadOutOfMemory = 4,
  kLoadNoService = 5,
  kLoadConversionFailed = 6,
};

struct ByteOrderMark {
  std::uint32_t codePage = 0;
  std::size_t length = 0;
  bool operator==(const ByteOrderMark&) const = default;
};

// The mark a file starts with: FF FE (UTF-16LE), FE FF (UTF-16BE) or
// EF BB BF (UTF-8); nullopt for none.
std::optional<ByteOrderMark> detectByteOrderMark(std::span<const std::uint8_t> bytes);

// Every line feed that does not follow a carriage return becomes CR LF; lone
// carriage returns stay, so the edit control shows each line on its own.
std::u16string normaliseLineEnds(std::u16string_view text);

struct LoadedScript {
  int code = kLoadOk;
  std::u16string text;  // valid when code is kLoadOk
};

// A whole file's bytes as the editor shows them. UTF-16LE with its mark is
// taken as it is (line ends included); everything else goes through the
// service: the mark's code page, or the service's first guess, or UTF-8.
// Text ends at the first zero character, as it would in the edit control.
LoadedScript decodeScriptFile(std::span<const std::uint8_t> bytes,
                              platform::MultiLanguageService& service);

// The error box text of a load result other than kLoadOk.
std::u16string_view scriptLoadErrorText(int code, bool japanese);

enum class ScriptSaveResult {
  Written,
  CannotCreate,
  WriteFailed,
  CopyOutOfMemory,        // copying the editor's text
  ConversionOutOfMemory,  // making the UTF-8 bytes
  Other,
};

struct ScriptMessage {
  std::u16string_view text;
  bool error = true;  // error icon; information otherwise
};

ScriptMessage scriptSaveMessage(ScriptSaveResult result, bool japanese);

// The editor's OK could not copy the text for the new script.
std::u16string_view scriptStoreOutOfMemoryText(bool japanese);
// The editor's refusal of a script longer than an ini file can hold, given
// its length and the limit (kMaxIniScriptLength characters).
std::u16string scriptTooLongForIniText(std::size_t length, std::size_t limit, bool japanese);

}  // namespace kivora::settings
