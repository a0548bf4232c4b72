#include "fakes/fake_profile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/unicode.h"

namespace kivora::fakes {

namespace {

enum class Encoding { Ansi, Utf16, Utf8 };

struct Entry {
  std::u16string key;
  std::u16string value;
};
struct Section {
  std::u16string name;
  std::vector<Entry> entries;
};
// The file as the profile functions see it. Entries before the first section
// header belong to a section with an empty name, written back without a header.
struct Document {
  Encoding encoding = Encoding::Ansi;
  std::vector<Section> sections;
};

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view trim(std::u16string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::u16string decode(const std::vector<std::uint8_t>& bytes, Encoding& encoding) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    encoding = Encoding::Utf16;
    std::u16string text((bytes.size() - 2) / 2, u'\0');
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
    } else {
      for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i + 2] | (bytes[2 * i + 3] << 8));
    }
    return text;
  }
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    encoding = Encoding::Utf8;
    return utf8ToUtf16(std::string(bytes.begin() + 3, bytes.end()));
  }
  encoding = Encoding::Ansi;
  return std::u16string(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> encode(const std::u16string& text, Encoding encoding) {
  std::vector<std::uint8_t> bytes;
  switch (encoding) {
    case Encoding::Utf16:
      bytes = {0xFF, 0xFE};
      for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
      }
      break;
    case Encoding::Utf8: {
      bytes = {0xEF, 0xBB, 0xBF};
      const std::string utf8 = utf16ToUtf8(text);
      bytes.insert(bytes.end(), utf8.begin(), utf8.end());
      break;
    }
    case Encoding::Ansi:
      for (char16_t c : text) bytes.push_back(c < 0x100 ? static_cast<std::uint8_t>(c) : '?');
      break;
  }
  return bytes;
}

// A line of the file as the profile functions see it: a section header
// (name) or an entry (name and value; a line without '=' has an empty value).
struct Line {
  bool header = false;
  std::u16string_view name;
  std::u16string_view value;
};

// Calls visit(Line) for every line that is not blank.
template <typename Visit>
void forEachLine(std::u16string_view text, Visit visit) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    const std::u16string_view trimmed = trim(line);
    if (!trimmed.empty()) {
      if (trimmed.front() == u'[') {
        const auto close = trimmed.find(u']');
        visit(Line{
            true,
            trim(trimmed.substr(
                1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1)),
            {}});
      } else {
        const auto eq = trimmed.find(u'=');
        if (eq == std::u16string_view::npos) {
          visit(Line{false, trimmed, {}});
        } else {
          visit(Line{false, trim(trimmed.substr(0, eq)), trim(trimmed.substr(eq + 1))});
        }
      }
    }
    start = end + 1;
  }
}

Document parse(const std::optional<std::vector<std::uint8_t>>& bytes) {
  Document doc;
  if (!bytes) return doc;
  const std::u16string text = decode(*bytes, doc.encoding);
  forEachLine(text, [&](const Line& line) {
    if (line.header) {
      doc.sections.push_back({std::u16string(line.name), {}});
      return;
    }
    if (doc.sections.empty()) doc.sections.push_back({});
    doc.sections.back().entries.push_back({std::u16string(line.name), std::u16string(line.value)});
  });
  return doc;
}

std::vector<std::uint8_t> serialize(const Document& doc) {
  std::u16string text;
  for (const auto& section : doc.sections) {
    if (!section.name.empty()) text += u"[" + section.name + u"]\r\n";
    for (const auto& e : section.entries) text += e.key + u"=" + e.value + u"\r\n";
  }
  return encode(text, doc.encoding);
}

Section* findSection(Document& doc, std::u16string_view name) {
  for (auto& s : doc.sections) {
    if (!s.name.empty() && equalsIgnoreAsciiCase(s.name, name)) return &s;
  }
  return nullptr;
}

Entry* findEntry(Section& section, std::u16string_view key) {
  for (auto& e : section.entries) {
    if (equalsIgnoreAsciiCase(e.key, key)) return &e;
  }
  return nullptr;
}

std::optional<std::u16string> rawValue(Document& doc, const char16_t* section,
                                       const char16_t* key) {
  Section* s = findSection(doc, section);
  if (s == nullptr) return std::nullopt;
  Entry* e = findEntry(*s, key);
  if (e == nullptr) return std::nullopt;
  return e->value;
}

std::u16string withoutQuotes(std::u16string value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::uint32_t copyOut(std::u16string_view text, char16_t* returned, std::uint32_t size) {
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::copy_n(text.begin(), n, returned);
  returned[n] = u'\0';
  return static_cast<std::uint32_t>(n);
}

// A list of names, each zero-terminated, ending with an extra zero; cut short
// with both zeros kept when it does not fit.
std::uint32_t copyJoinedList(std::u16string_view list, char16_t* returned, std::uint32_t size) {
  if (list.size() + 1 <= size) {
    std::copy(list.begin(), list.end(), returned);
    returned[list.size()] = u'\0';
    return static_cast<std::uint32_t>(list.size());
  }
  if (size < 2) {
    returned[0] = u'\0';
    return 0;
  }
  std::copy_n(list.begin(), size - 2, returned);
  returned[size - 2] = u'\0';
  returned[size - 1] = u'\0';
  return size - 2;
}

std::uint32_t copyList(const std::vector<std::u16string>& names, char16_t* returned,
                       std::uint32_t size) {
  std::u16string list;
  for (const auto& n : names) list += n + u'\0';
  return copyJoinedList(list, returned, size);
}

int hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

std::uint32_t FakeProfile::GetPrivateProfileStringW(const char16_t* appName,
                                                    const char16_t* keyName,
                                                    const char16_t* defaultText, char16_t* returned,
                                                    std::uint32_t size, const char16_t* fileName) {
  if (returned == nullptr || size == 0) return 0;
  Document doc = parse(files_.bytes(fileName));
  if (appName == nullptr) {
    std::vector<std::u16string> names;
    for (const auto& s : doc.sections) {
      if (!s.name.empty()) names.push_back(s.name);
    }
    return copyList(names, returned, size);
  }
  if (keyName == nullptr) {
    std::vector<std::u16string> keys;
    if (Section* s = findSection(doc, appName)) {
      for (const auto& e : s->entries) keys.push_back(e.key);
    }
    return copyList(keys, returned, size);
  }
  if (auto value = rawValue(doc, appName, keyName)) {
    return copyOut(withoutQuotes(*value), returned, size);
  }
  std::u16string fallback = defaultText ? defaultText : u"";
  while (!fallback.empty() && fallback.back() == u' ') fallback.pop_back();
  return copyOut(fallback, returned, size);
}

std::uint32_t FakeProfile::GetPrivateProfileSectionW(const char16_t* appName, char16_t* returned,
                                                     std::uint32_t size, const char16_t* fileName) {
  if (returned == nullptr || size == 0) return 0;
  // The lines of the first section of that name, read straight from the text:
  // a tick reads the section every time, so this stays cheap.
  const auto bytes = files_.bytes(fileName);
  Encoding encoding = Encoding::Ansi;
  const std::u16string text = bytes ? decode(*bytes, encoding) : std::u16string();
  std::u16string list;
  enum { kBefore, kInside, kAfter } where = kBefore;
  forEachLine(text, [&](const Line& line) {
    if (line.header) {
      if (where == kInside) where = kAfter;
      if (where == kBefore && appName && !line.name.empty() &&
          equalsIgnoreAsciiCase(line.name, appName))
        where = kInside;
    } else if (where == kInside) {
      list.append(line.name).append(1, u'=').append(line.value).append(1, u'\0');
    }
  });
  return copyJoinedList(list, returned, size);
}

std::uint32_t FakeProfile::GetPrivateProfileIntW(const char16_t* appName, const char16_t* keyName,
                                                 std::int32_t defaultValue,
                                                 const char16_t* fileName) {
  // kernel32 reads the value into a 30-character buffer and then parses the
  // longest decimal prefix, after blanks and an optional sign.
  char16_t buffer[30];
  if (GetPrivateProfileStringW(appName, keyName, u"", buffer, 30, fileName) == 0) {
    return static_cast<std::uint32_t>(defaultValue);
  }
  std::u16string_view text(buffer);
  std::size_t i = 0;
  while (i < text.size() && text[i] <= u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + static_cast<std::uint32_t>(text[i] - u'0');
  }
  return negative ? 0u - value : value;
}

bool FakeProfile::GetPrivateProfileStructW(const char16_t* section, const char16_t* key, void* data,
                                           std::uint32_t size, const char16_t* fileName) {
  if (section == nullptr || key == nullptr || data == nullptr) return false;
  Document doc = parse(files_.bytes(fileName));
  const auto value = rawValue(doc, section, key);
  if (!value || value->size() != std::size_t{size} * 2 + 2) return false;
  if (!std::all_of(value->begin(), value->end(), [](char16_t c) { return hexDigit(c) >= 0; })) {
    return false;
  }
  auto* out = static_cast<std::uint8_t*>(data);
  unsigned sum = 0;
  for (std::uint32_t i = 0; i < size; ++i) {
    const std::size_t at = std::size_t{2} * i;
    out[i] = static_cast<std::uint8_t>(hexDigit((*value)[at]) * 16 + hexDigit((*value)[at + 1]));
    sum += out[i];
  }
  const std::size_t at = std::size_t{2} * size;
  const auto stored =
      static_cast<unsigned>(hexDigit((*value)[at]) * 16 + hexDigit((*value)[at + 1]));
  return stored == (sum & 0xFF);
}

bool FakeProfile::WritePrivateProfileStringW(const char16_t* appName, const char16_t* keyName,
                                             const char16_t* text, const char16_t* fileName) {
  if (appName == nullptr || fileName == nullptr) return false;
  if (!files_.writable(fileName)) return false;
  const auto existing = files_.bytes(fileName);
  Document doc = parse(existing);
  if (keyName == nullptr) {
    std::erase_if(doc.sections, [&](const Section& s) {
      return !s.name.empty() && equalsIgnoreAsciiCase(s.name, appName);
    });
  } else if (text == nullptr) {
    if (Section* s = findSection(doc, appName)) {
      std::erase_if(s->entries,
                    [&](const Entry& e) { return equalsIgnoreAsciiCase(e.key, keyName); });
    }
  } else {
    Section* s = findSection(doc, appName);
    if (s == nullptr) {
      doc.sections.push_back({appName, {}});
      s = &doc.sections.back();
    }
    if (Entry* e = findEntry(*s, keyName)) {
      e->value = text;
    } else {
      s->entries.push_back({keyName, text});
    }
  }
  if (!existing && (keyName == nullptr || text == nullptr)) return true;  // nothing to remove
  files_.put(fileName, serialize(doc));
  return true;
}

bool FakeProfile::WritePrivateProfileStructW(const char16_t* section, const char16_t* key,
                                             const void* data, std::uint32_t size,
                                             const char16_t* fileName) {
  if (key == nullptr || data == nullptr) {
    return WritePrivateProfileStringW(section, key, nullptr, fileName);
  }
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::u16string hex;
  hex.reserve(std::size_t{size} * 2 + 2);
  unsigned sum = 0;
  for (std::uint32_t i = 0; i < size; ++i) {
    hex += kHex[bytes[i] >> 4];
    hex += kHex[bytes[i] & 0xF];
    sum += bytes[i];
  }
  hex += kHex[(sum >> 4) & 0xF];
  hex += kHex[sum & 0xF];
  return WritePrivateProfileStringW(section, key, hex.c_str(), fileName);
}

}  // namespace kivora::fakes
