#pragma once
// REGW: Kivora's one way into the registry. An object holds at most one open
// key for one open-use-close sequence on one thread. It converts between value
// types and the program's integers and texts, and turns programming errors
// (using a key that is not open, opening twice, closing twice, forgetting to
// close) into a warning box instead of a crash.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bilingual.h"
#include "platform/registry.h"

namespace kivora::settings {

// Shows a warning message box (warning icon, no owner window).
using WarningBox = std::function<void(const std::u16string& text, const std::u16string& caption)>;

// REGW and its context keep the names the settings layer is known by.
// NOLINTBEGIN(readability-identifier-naming)
// What every REGW object of the process shares: the registry, the way to show
// a misuse warning, and RegwJapanese, the warnings' language (start-up switches
// it together with the program's language flag).
struct RegwContext {
  platform::Registry& registry;
  WarningBox warningBox;
  bool RegwJapanese = true;
};

// OpenKey flags.
inline constexpr unsigned kOpenCreate = 1;    // create the key when it cannot be opened
inline constexpr unsigned kOpenReadOnly = 2;  // KEY_READ instead of KEY_ALL_ACCESS

// The argument of WriteStringW.
enum class StringWriteKind : int {
  KeepType = 0,            // REG_EXPAND_SZ if the existing value is one, else REG_SZ
  ExpandSz = 1,            // always REG_EXPAND_SZ
  ExpandIfTwoPercent = 2,  // REG_EXPAND_SZ when the text holds two or more '%'
  Sz = 3,                  // always REG_SZ
};

// The predefined root a whole or short name stands for ("HKEY_CURRENT_USER",
// "HKCU", ...; case-insensitive).
std::optional<platform::RegKey> rootByName(std::u16string_view name);

// A sign, then digits only; a sign alone counts.
bool IsDecimalText(std::u16string_view text);

class REGW {
 public:
  explicit REGW(RegwContext& context);
  ~REGW();
  REGW(const REGW&) = delete;
  REGW& operator=(const REGW&) = delete;

  // With no root the path names it: a whole or short root name alone is the
  // root itself, otherwise it must start with one of the prefixes
  // ("HKEY_CURRENT_USER\", "HKCU\", ...; case-sensitive).
  bool OpenKey(std::optional<platform::RegKey> root, std::u16string_view path, unsigned flags);
  bool CloseKey();
  bool isOpen() const { return key_.has_value(); }

  // Size of the value's data in bytes, or -1.
  std::int32_t ValueExistW(std::u16string_view name);
  // The value's type; 0 when it cannot be queried; -1 when no key is open.
  std::int32_t ValueTypeW(std::u16string_view name);

  // The raw data of any value type as text, cut to capacity - 1 characters.
  bool ReadStringW(std::u16string_view name, std::u16string& buffer, std::size_t capacity);
  std::int32_t ReadIntegerW(std::u16string_view name, std::int32_t defaultValue);
  // The value's text, or a copy of the default when the value is missing or
  // empty. count receives the characters allocated, terminator included.
  std::optional<std::u16string> NewReadStringW(std::u16string_view name,
                                               std::optional<std::u16string_view> defaultText,
                                               std::size_t* count = nullptr);
  // REG_SZ and REG_EXPAND_SZ as they are; REG_MULTI_SZ as its strings, each
  // followed by CR LF. Fails (buffer empty) when the text needs more than
  // capacity - 1 characters.
  bool ReadMultiStringW(std::u16string_view name, std::u16string& buffer, std::size_t capacity);
  std::optional<std::u16string> NewReadMultiStringW(std::u16string_view name,
                                                    std::size_t* count = nullptr);

  bool WriteStringW(std::u16string_view name, std::u16string_view text, StringWriteKind kind);
  bool WriteIntegerW(std::u16string_view name, std::int32_t value);
  bool DeleteValue(std::u16string_view name);

 private:
  struct RawValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
    // The data as size / 2 UTF-16 characters, embedded zeros kept.
    std::u16string chars() const;
  };
  // Whether a key is open; warns about the operation (its name as each
  // language's warning gives it) when not.
  bool requireOpen(const Bilingual& operation, bool multiStringCaption = false);
  std::optional<RawValue> readRaw(const std::u16string& name);
  // Shows a warning in the context's language.
  void warn(std::u16string_view text, bool multiStringCaption);

  RegwContext& context_;
  std::optional<platform::RegKey> key_;
};
// NOLINTEND(readability-identifier-naming)

}  // namespace kivora::settings
