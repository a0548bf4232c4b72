#include "settings/regw.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "platform/unicode.h"
#include "settings/texts.h"

namespace kivora::settings {

using platform::LStatus;
using platform::RegKey;

namespace {

struct RootName {
  std::u16string_view whole;
  std::u16string_view shortName;  // empty where the root has none
  RegKey root;
};

constexpr std::array<RootName, 9> kRoots{{
    {u"HKEY_CLASSES_ROOT", u"HKCR", platform::kHkeyClassesRoot},
    {u"HKEY_CURRENT_USER", u"HKCU", platform::kHkeyCurrentUser},
    {u"HKEY_LOCAL_MACHINE", u"HKLM", platform::kHkeyLocalMachine},
    {u"HKEY_USERS", u"", platform::kHkeyUsers},
    {u"HKEY_CURRENT_CONFIG", u"HKCC", platform::kHkeyCurrentConfig},
    {u"HKEY_DYN_DATA", u"HKDD", platform::kHkeyDynData},
    {u"HKEY_PERFORMANCE_DATA", u"HKPD", platform::kHkeyPerformanceData},
    {u"HKEY_PERFORMANCE_TEXT", u"HKPT", platform::kHkeyPerformanceText},
    {u"HKEY_PERFORMANCE_NLSTEXT", u"HKPN", platform::kHkeyPerformanceNlsText},
}};

// Tried in this order; the comparison is case-sensitive.
struct RootPrefix {
  std::u16string_view prefix;
  RegKey root;
};
constexpr std::array<RootPrefix, 17> kPrefixes{{
    {u"HKEY_CLASSES_ROOT\\", platform::kHkeyClassesRoot},
    {u"HKCR\\", platform::kHkeyClassesRoot},
    {u"HKEY_CURRENT_USER\\", platform::kHkeyCurrentUser},
    {u"HKCU\\", platform::kHkeyCurrentUser},
    {u"HKEY_LOCAL_MACHINE\\", platform::kHkeyLocalMachine},
    {u"HKLM\\", platform::kHkeyLocalMachine},
    {u"HKEY_USERS\\", platform::kHkeyUsers},
    {u"HKEY_CURRENT_CONFIG\\", platform::kHkeyCurrentConfig},
    {u"HKCC\\", platform::kHkeyCurrentConfig},
    {u"HKEY_DYN_DATA\\", platform::kHkeyDynData},
    {u"HKDD\\", platform::kHkeyDynData},
    {u"HKEY_PERFORMANCE_DATA\\", platform::kHkeyPerformanceData},
    {u"HKPD\\", platform::kHkeyPerformanceData},
    {u"HKEY_PERFORMANCE_TEXT\\", platform::kHkeyPerformanceText},
    {u"HKPT\\", platform::kHkeyPerformanceText},
    {u"HKEY_PERFORMANCE_NLSTEXT\\", platform::kHkeyPerformanceNlsText},
    {u"HKPN\\", platform::kHkeyPerformanceNlsText},
}};

std::u16string cString(std::u16string_view chars) {
  return std::u16string(chars.substr(0, chars.find(u'\0')));
}

std::int32_t decimalValue(std::u16string_view text) {
  std::int64_t value = 0;
  const bool negative = text.front() == u'-';
  for (char16_t c : text.substr(text.front() == u'+' || negative ? 1 : 0)) {
    value = value * 10 + (c - u'0');
    if (value > std::int64_t{1} << 32) break;  // far beyond the range either way
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// The multi-string's strings each followed by CR LF, or nullopt when that does
// not fit capacity characters with its terminator. The data ends at the empty
// string that closes the list, or where it runs out.
std::optional<std::u16string> joinMultiString(std::u16string_view data, std::size_t capacity) {
  std::u16string out;
  bool atStringStart = true;
  for (char16_t c : data) {
    if (c == u'\0') {
      if (atStringStart) break;
      out += u"\r\n";
      atStringStart = true;
    } else {
      out += c;
      atStringStart = false;
    }
    if (out.size() >= capacity) return std::nullopt;
  }
  if (out.size() >= capacity) return std::nullopt;
  return out;
}

}  // namespace

std::optional<RegKey> rootByName(std::u16string_view name) {
  for (const auto& r : kRoots) {
    if (equalsIgnoreAsciiCase(name, r.whole)) return r.root;
    if (!r.shortName.empty() && equalsIgnoreAsciiCase(name, r.shortName)) return r.root;
  }
  return std::nullopt;
}

bool IsDecimalText(std::u16string_view text) {
  if (text.empty()) return false;
  const char16_t first = text.front();
  if (first != u'+' && first != u'-' && (first < u'0' || first > u'9')) return false;
  for (char16_t c : text.substr(1)) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

REGW::REGW(RegwContext& context) : context_(context) {}

REGW::~REGW() {
  if (!key_) return;
  context_.registry.RegCloseKey(*key_);
  key_.reset();
  warn(texts::kRegwClosedAtEnd.pick(context_.RegwJapanese), false);
}

void REGW::warn(std::u16string_view text, bool multiStringCaption) {
  if (!context_.warningBox) return;
  std::u16string shown(text);
  if (context_.RegwJapanese) shown.append(u"\n").append(texts::kRegwReportLine);
  context_.warningBox(shown, std::u16string(multiStringCaption ? texts::kRegwMultiStringCaption
                                                               : texts::kRegwCaption));
}

bool REGW::requireOpen(const Bilingual& operation, bool multiStringCaption) {
  if (key_) return true;
  const bool japanese = context_.RegwJapanese;
  warn(fillIn(texts::kRegwNoKey.pick(japanese), {operation.pick(japanese)}), multiStringCaption);
  return false;
}

bool REGW::OpenKey(std::optional<RegKey> root, std::u16string_view path, unsigned flags) {
  if (key_) {
    CloseKey();
    warn(texts::kRegwOpenedTwice.pick(context_.RegwJapanese), false);
  }
  std::u16string subKey;
  if (root) {
    subKey = path;
  } else {
    if (auto whole = rootByName(path)) {
      key_ = *whole;
      return true;
    }
    for (const auto& p : kPrefixes) {
      if (path.starts_with(p.prefix)) {
        root = p.root;
        subKey = path.substr(p.prefix.size());
        break;
      }
    }
    if (!root) return false;
  }
  const platform::RegSam access =
      (flags & kOpenReadOnly) ? platform::kKeyRead : platform::kKeyAllAccess;
  RegKey opened{};
  if (context_.registry.RegOpenKeyExW(*root, subKey.c_str(), 0, access, &opened) ==
      platform::kErrorSuccess) {
    key_ = opened;
    return true;
  }
  if (flags & kOpenCreate) {
    std::uint32_t disposition = 0;
    if (context_.registry.RegCreateKeyExW(*root, subKey.c_str(), platform::kRegOptionNonVolatile,
                                          platform::kKeyAllAccess, &opened,
                                          &disposition) == platform::kErrorSuccess) {
      key_ = opened;
      return true;
    }
  }
  return false;
}

bool REGW::CloseKey() {
  if (!key_) {
    warn(texts::kRegwClosedTwice.pick(context_.RegwJapanese), false);
    return false;
  }
  const LStatus status = context_.registry.RegCloseKey(*key_);
  key_.reset();
  return status == platform::kErrorSuccess;
}

std::optional<REGW::RawValue> REGW::readRaw(const std::u16string& name) {
  // The value may grow between asking its size and reading it; ask again then.
  try {
    for (int attempt = 0; attempt < 4; ++attempt) {
      std::uint32_t size = 0;
      std::uint32_t type = 0;
      if (context_.registry.RegQueryValueExW(*key_, name.c_str(), &type, nullptr, &size) !=
          platform::kErrorSuccess) {
        return std::nullopt;
      }
      RawValue value;
      value.bytes.assign(size + 1, 0);  // never a zero-sized buffer
      std::uint32_t got = size;
      const LStatus status =
          context_.registry.RegQueryValueExW(*key_, name.c_str(), &type, value.bytes.data(), &got);
      if (status == platform::kErrorMoreData) continue;
      if (status != platform::kErrorSuccess) return std::nullopt;
      value.bytes.resize(got);
      value.type = type;
      return value;
    }
  } catch (const std::bad_alloc&) {
  }
  return std::nullopt;
}

std::u16string REGW::RawValue::chars() const {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return text;
}

std::int32_t REGW::ValueExistW(std::u16string_view name) {
  if (!requireOpen(texts::kRegwValueExist)) return -1;
  const std::u16string n(name);
  std::uint32_t size = 0;
  if (context_.registry.RegQueryValueExW(*key_, n.c_str(), nullptr, nullptr, &size) !=
      platform::kErrorSuccess) {
    return -1;
  }
  return static_cast<std::int32_t>(size);
}

std::int32_t REGW::ValueTypeW(std::u16string_view name) {
  if (!requireOpen(texts::kRegwValueType)) return -1;
  const std::u16string n(name);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (context_.registry.RegQueryValueExW(*key_, n.c_str(), &type, nullptr, &size) !=
      platform::kErrorSuccess) {
    return 0;
  }
  return static_cast<std::int32_t>(type);
}

bool REGW::ReadStringW(std::u16string_view name, std::u16string& buffer, std::size_t capacity) {
  buffer.clear();
  if (!requireOpen(texts::kRegwReadString)) return false;
  if (capacity == 0) return false;
  // A short value (a rule's title every tick) is read in one query into a
  // buffer on the stack; a larger one is read whole and cut, never copied
  // past the buffer.
  std::array<char16_t, 64> shortName;
  const bool nameIsShort = name.size() < shortName.size();
  std::u16string longName;
  if (nameIsShort) {
    *std::copy(name.begin(), name.end(), shortName.begin()) = u'\0';
  } else {
    longName = name;
  }
  const char16_t* n = nameIsShort ? shortName.data() : longName.c_str();
  std::array<std::uint8_t, 1024> data;
  std::uint32_t size = data.size();
  const LStatus status = context_.registry.RegQueryValueExW(*key_, n, nullptr, data.data(), &size);
  if (status == platform::kErrorSuccess) {
    // The data as size / 2 UTF-16 characters, up to the first NUL and cut.
    buffer.resize(std::min<std::size_t>(size / 2, capacity - 1));
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(buffer.data(), data.data(), buffer.size() * 2);
    } else {
      for (std::size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    buffer.resize(std::min(buffer.find(u'\0'), buffer.size()));
    return true;
  }
  if (status != platform::kErrorMoreData) return false;
  const auto value = readRaw(nameIsShort ? std::u16string(name) : longName);
  if (!value) return false;
  buffer = cString(value->chars());
  if (buffer.size() > capacity - 1) buffer.resize(capacity - 1);
  return true;
}

std::int32_t REGW::ReadIntegerW(std::u16string_view name, std::int32_t defaultValue) {
  if (!requireOpen(texts::kRegwReadInteger)) return defaultValue;
  const auto value = readRaw(std::u16string(name));
  if (!value) return defaultValue;
  std::array<std::uint8_t, 4> first{};
  for (std::size_t i = 0; i < first.size() && i < value->bytes.size(); ++i) {
    first[i] = value->bytes[i];
  }
  switch (value->type) {
    case platform::kRegSz:
    case platform::kRegExpandSz:
    case platform::kRegMultiSz: {
      const std::u16string text = cString(value->chars());
      return IsDecimalText(text) ? decimalValue(text) : defaultValue;
    }
    case platform::kRegBinary:
    case platform::kRegDword:
    case platform::kRegQword:
      return static_cast<std::int32_t>(std::uint32_t{first[0]} | std::uint32_t{first[1]} << 8 |
                                       std::uint32_t{first[2]} << 16 |
                                       std::uint32_t{first[3]} << 24);
    case platform::kRegDwordBigEndian:
      return static_cast<std::int32_t>(std::uint32_t{first[3]} | std::uint32_t{first[2]} << 8 |
                                       std::uint32_t{first[1]} << 16 |
                                       std::uint32_t{first[0]} << 24);
    default:
      return defaultValue;
  }
}

std::optional<std::u16string> REGW::NewReadStringW(std::u16string_view name,
                                                   std::optional<std::u16string_view> defaultText,
                                                   std::size_t* count) {
  auto copyOfDefault = [&]() -> std::optional<std::u16string> {
    if (!defaultText) return std::nullopt;
    if (count) *count = defaultText->size() + 1;
    return std::u16string(*defaultText);
  };
  if (!requireOpen(texts::kRegwNewReadString)) return copyOfDefault();
  if (ValueExistW(name) <= 0) return copyOfDefault();
  const auto value = readRaw(std::u16string(name));
  if (!value) return std::nullopt;
  const std::u16string chars = value->chars();
  if (count) *count = chars.size() + 1;
  return cString(chars);
}

bool REGW::ReadMultiStringW(std::u16string_view name, std::u16string& buffer,
                            std::size_t capacity) {
  if (capacity == 0) return false;
  buffer.clear();
  if (!requireOpen(texts::kRegwReadMultiString, true)) return false;
  const auto value = readRaw(std::u16string(name));
  if (!value || value->bytes.empty()) return false;
  switch (value->type) {
    case platform::kRegSz:
    case platform::kRegExpandSz: {
      std::u16string text = cString(value->chars());
      if (text.size() >= capacity) return false;
      buffer = std::move(text);
      return true;
    }
    case platform::kRegMultiSz: {
      auto joined = joinMultiString(value->chars(), capacity);
      if (!joined) return false;
      buffer = std::move(*joined);
      return true;
    }
    default:
      return false;
  }
}

std::optional<std::u16string> REGW::NewReadMultiStringW(std::u16string_view name,
                                                        std::size_t* count) {
  if (!requireOpen(texts::kRegwNewReadMultiString, true)) {
    return std::nullopt;
  }
  const auto value = readRaw(std::u16string(name));
  if (!value) return std::nullopt;
  switch (value->type) {
    case platform::kRegSz:
    case platform::kRegExpandSz: {
      if (value->bytes.empty()) return std::nullopt;
      const std::u16string chars = value->chars();
      if (count) *count = chars.size() + 1;
      return cString(chars);
    }
    case platform::kRegMultiSz: {
      const std::u16string chars = value->chars();
      std::size_t zeros = 0;
      for (char16_t c : chars) zeros += c == u'\0';
      // Room for the terminator too, so a list whose closing empty string is
      // missing still fits.
      const std::size_t capacity = chars.size() + zeros + 1;
      if (count) *count = capacity;
      return joinMultiString(chars, capacity).value_or(std::u16string());
    }
    default:
      return std::nullopt;
  }
}

bool REGW::WriteStringW(std::u16string_view name, std::u16string_view text, StringWriteKind kind) {
  if (!requireOpen(texts::kRegwWriteString)) return false;
  const std::u16string n(name);
  std::uint32_t type = platform::kRegSz;
  switch (kind) {
    case StringWriteKind::KeepType: {
      std::uint32_t existing = 0;
      std::uint32_t size = 0;
      if (context_.registry.RegQueryValueExW(*key_, n.c_str(), &existing, nullptr, &size) ==
              platform::kErrorSuccess &&
          existing == platform::kRegExpandSz) {
        type = platform::kRegExpandSz;
      }
      break;
    }
    case StringWriteKind::ExpandSz:
      type = platform::kRegExpandSz;
      break;
    case StringWriteKind::ExpandIfTwoPercent: {
      std::size_t percents = 0;
      for (char16_t c : text) percents += c == u'%';
      if (percents >= 2) type = platform::kRegExpandSz;
      break;
    }
    case StringWriteKind::Sz:
      break;
  }
  std::vector<std::uint8_t> data;
  data.reserve((text.size() + 1) * 2);
  for (char16_t c : text) {
    data.push_back(static_cast<std::uint8_t>(c & 0xFF));
    data.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  return context_.registry.RegSetValueExW(*key_, n.c_str(), type, data.data(),
                                          static_cast<std::uint32_t>(data.size())) ==
         platform::kErrorSuccess;
}

bool REGW::WriteIntegerW(std::u16string_view name, std::int32_t value) {
  if (!requireOpen(texts::kRegwWriteInteger)) return false;
  const std::u16string n(name);
  const auto v = static_cast<std::uint32_t>(value);
  const std::array<std::uint8_t, 4> data{
      static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
      static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  return context_.registry.RegSetValueExW(*key_, n.c_str(), platform::kRegDword, data.data(), 4) ==
         platform::kErrorSuccess;
}

bool REGW::DeleteValue(std::u16string_view name) {
  if (!requireOpen(texts::kRegwDeleteValue)) return false;
  const std::u16string n(name);
  return context_.registry.RegDeleteValueW(*key_, n.c_str()) == platform::kErrorSuccess;
}

}  // namespace kivora::settings
