// CONVCHAR: character-class conversion of Japanese text on its UTF-16 form,
// driven by ordered tables of (left, right) pairs, then TAB expansion.
//
// Order matters everywhere here. Within a table the first matching pair wins
// for a given search text, which is how half-width "ｶﾞ" turns back into ガ
// rather than カ followed by a stray mark; across tables the groups run in
// a fixed order at each position, so hiragana→katakana and then
// katakana→half-width chain on the same character.

#include "script/builtins/handlers.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kivora::script::builtins {

namespace {

using Pair = std::pair<std::u16string, std::u16string>;
using ConvCharTable = std::vector<Pair>;

std::u16string unit(std::uint32_t c) { return std::u16string(1, static_cast<char16_t>(c)); }

ConvCharTable hiraganaTable() {
  ConvCharTable t;
  for (std::uint32_t c = 0x3041; c <= 0x3093; ++c) t.emplace_back(unit(c), unit(c + 0x60));
  return t;
}

// The voiced and semi-voiced katakana come first so that, right to left, the
// two-unit half-width form is met before its base letter alone.
constexpr std::u16string_view kVoicedFull = u"ガギグゲゴザジズゼゾダヂヅデドバパビピブプベペボポ";
constexpr std::u16string_view kVoicedBase = u"ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾊﾋﾋﾌﾌﾍﾍﾎﾎ";
constexpr std::u16string_view kVoicedMark = u"ﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾟﾞﾟﾞﾟﾞﾟﾞﾟ";
// ァ … ロ without the voiced ones, in code order.
constexpr std::u16string_view kPlainFull =
    u"ァアィイゥウェエォオカキクケコサシスセソタチッツテトナニヌネノハヒフヘホマミムメモャヤュユョ"
    u"ヨラリルレロ";
constexpr std::u16string_view kPlainHalf = u"ｧｱｨｲｩｳｪｴｫｵｶｷｸｹｺｻｼｽｾｿﾀﾁｯﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛ";
// Letters without a half-width form of their own borrow the nearest one.
constexpr std::u16string_view kExtraFull = u"ワヮヰヱヲン゛゜ー";
constexpr std::u16string_view kExtraHalf = u"ﾜﾜｲｴｦﾝﾞﾟｰ";
static_assert(kVoicedFull.size() == 25 && kVoicedBase.size() == 25 && kVoicedMark.size() == 25);
static_assert(kPlainFull.size() == 52 && kPlainHalf.size() == 52);
static_assert(kExtraFull.size() == 9 && kExtraHalf.size() == 9);

ConvCharTable katakanaWidthTable() {
  ConvCharTable t;
  for (std::size_t i = 0; i < kVoicedFull.size(); ++i)
    t.emplace_back(std::u16string(1, kVoicedFull[i]),
                   std::u16string{kVoicedBase[i], kVoicedMark[i]});
  for (std::size_t i = 0; i < kPlainFull.size(); ++i)
    t.emplace_back(unit(kPlainFull[i]), unit(kPlainHalf[i]));
  for (std::size_t i = 0; i < kExtraFull.size(); ++i)
    t.emplace_back(unit(kExtraFull[i]), unit(kExtraHalf[i]));
  return t;
}

// Full-width (U+FF01 …) against ASCII, over the given ASCII ranges in order.
ConvCharTable widthTable(std::initializer_list<std::pair<char, char>> ranges) {
  ConvCharTable t;
  for (const auto& [first, last] : ranges)
    for (std::uint32_t c = static_cast<unsigned char>(first); c <= static_cast<unsigned char>(last);
         ++c)
      t.emplace_back(unit(c + 0xFEE0), unit(c));
  return t;
}

bool isAsciiAlnum(std::uint32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

ConvCharTable symbolWidthTable() {
  ConvCharTable t;
  t.emplace_back(unit(0x3000), unit(0x20));
  for (std::uint32_t c = 0x21; c <= 0x7E; ++c) {
    if (isAsciiAlnum(c)) continue;
    // Japanese text writes these three with their own characters.
    std::uint32_t full = c + 0xFEE0;
    if (c == '"') full = 0x201D;
    if (c == '\'') full = 0x2019;
    if (c == '\\') full = 0xFFE5;
    t.emplace_back(unit(full), unit(c));
  }
  // The corner brackets and the ideographic full stop and comma have half-width forms.
  constexpr std::pair<std::uint32_t, std::uint32_t> kPunctuation[] = {
      {0x300C, 0xFF62}, {0x300D, 0xFF63}, {0x3002, 0xFF61}, {0x3001, 0xFF64}};
  for (const auto& [full, half] : kPunctuation) t.emplace_back(unit(full), unit(half));
  return t;
}

ConvCharTable caseTable(std::uint32_t upperA, std::uint32_t lowerA) {
  ConvCharTable t;
  for (std::uint32_t i = 0; i < 26; ++i) t.emplace_back(unit(upperA + i), unit(lowerA + i));
  return t;
}

// The letter of a control code's short C escape, or 0 when it has none.
char16_t shortEscape(std::uint32_t c) {
  switch (c) {
    case 0x07:
      return u'a';
    case 0x08:
      return u'b';
    case 0x09:
      return u't';
    case 0x0A:
      return u'n';
    case 0x0C:
      return u'f';
    case 0x0D:
      return u'r';
    default:
      return 0;
  }
}

std::u16string hexEscape(std::uint32_t c) {
  const char digits[] = "0123456789abcdef";
  return {u'\\', u'x', static_cast<char16_t>(digits[c >> 4]),
          static_cast<char16_t>(digits[c & 15])};
}

// Control codes as C escapes. Where a short form exists it comes first, so it
// is what left to right produces; right to left accepts both.
ConvCharTable escapeTable() {
  ConvCharTable t;
  for (std::uint32_t c = 0x01; c <= 0x1A; ++c) {
    if (const char16_t letter = shortEscape(c))
      t.emplace_back(unit(c), std::u16string{u'\\', letter});
    t.emplace_back(unit(c), hexEscape(c));
  }
  return t;
}

ConvCharTable caretTable() {
  ConvCharTable t;
  for (std::uint32_t c = 0x01; c <= 0x1A; ++c)
    t.emplace_back(unit(c), std::u16string{u'^', static_cast<char16_t>('A' + c - 1)});
  return t;
}

struct ConvCharGroup {
  std::uint32_t leftToRight;
  std::uint32_t rightToLeft;
  ConvCharTable table;
};

// The nine groups, in the order they are applied at each position.
const std::array<ConvCharGroup, 9>& convCharGroups() {
  static const std::array<ConvCharGroup, 9> groups = {{
      {0x00000010, 0x00000020, hiraganaTable()},
      {0x00000040, 0x00000080, katakanaWidthTable()},
      {0x00000100, 0x00000200, widthTable({{'A', 'Z'}, {'a', 'z'}})},
      {0x00000400, 0x00000800, widthTable({{'0', '9'}})},
      {0x00001000, 0x00002000, symbolWidthTable()},
      {0x00004000, 0x00008000, caseTable(0xFF21, 0xFF41)},
      {0x00010000, 0x00020000, caseTable('A', 'a')},
      {0x00040000, 0x00080000, escapeTable()},
      {0x00100000, 0x00200000, caretTable()},
  }};
  return groups;
}

constexpr std::uint32_t kTableFlags = 0x3FFFF0;
constexpr std::uint32_t kTab4 = 0x400000;
constexpr std::uint32_t kTab8 = 0x800000;

// The text from the current position on, held reversed so that replacing the
// units at the position and stepping past it cost no more than the units
// involved, however long the text.
class PendingText {
 public:
  explicit PendingText(std::u16string_view text) : reversed_(text.rbegin(), text.rend()) {}

  bool empty() const { return reversed_.empty(); }
  bool startsWith(std::u16string_view s) const {
    if (s.size() > reversed_.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i)
      if (reversed_[reversed_.size() - 1 - i] != s[i]) return false;
    return true;
  }
  void replaceStart(std::size_t count, std::u16string_view by) {
    reversed_.resize(reversed_.size() - count);
    reversed_.append(by.rbegin(), by.rend());
  }
  char16_t take() {
    const char16_t c = reversed_.back();
    reversed_.pop_back();
    return c;
  }

 private:
  std::u16string reversed_;
};

void applyTable(PendingText& text, const ConvCharTable& table, bool leftToRight) {
  for (const auto& [left, right] : table) {
    const std::u16string& search = leftToRight ? left : right;
    if (!search.empty() && text.startsWith(search))
      text.replaceStart(search.size(), leftToRight ? right : left);
  }
}

std::u16string tablePass(std::u16string_view text, std::uint32_t flags) {
  PendingText pending(text);
  std::u16string done;
  done.reserve(text.size());
  while (!pending.empty()) {
    for (const ConvCharGroup& group : convCharGroups()) {
      if (flags & group.leftToRight) {
        applyTable(pending, group.table, true);
      } else if (flags & group.rightToLeft) {
        applyTable(pending, group.table, false);
      }
      if (pending.empty()) break;  // a replacement may leave nothing at the position
    }
    if (!pending.empty()) done += pending.take();
  }
  return done;
}

// Display columns of one code unit: wide characters take two, half-width
// katakana and punctuation one.
int columns(char16_t c) {
  if (c > 0xFF && !(c >= 0xFF61 && c <= 0xFF9F)) return 2;
  return 1;
}

std::u16string expandTabs(std::u16string_view text, int width) {
  std::u16string out;
  out.reserve(text.size());
  int column = 0;
  for (const char16_t c : text) {
    if (c == u'\t') {
      const int spaces = width - column % width;
      out.append(static_cast<std::size_t>(spaces), u' ');
      column = 0;
    } else {
      out += c;
      // Only the column within a tab stop matters, so it never grows.
      column = (c == u'\r' || c == u'\n') ? 0 : (column + columns(c)) % width;
    }
  }
  return out;
}

}  // namespace

Value convChar(BuiltinCall& call) {
  std::u16string text = utf8ToWide(call.text(0));
  const auto flags = static_cast<std::uint32_t>(call.number(1));
  if ((flags & kTableFlags) != 0 && !text.empty()) text = tablePass(text, flags);
  if (flags & (kTab4 | kTab8)) text = expandTabs(text, (flags & kTab4) ? 4 : 8);
  return Value::string(wideToUtf8(text));
}

}  // namespace kivora::script::builtins
