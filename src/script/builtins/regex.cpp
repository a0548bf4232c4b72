// The regular-expression builtins on Boost.Regex, over the UTF-16 form of the
// texts. Every failure inside them (a bad pattern, a pattern or text beyond
// the matcher's complexity and memory limits, exhausted memory) becomes the
// builtin's plain failure result and the script goes on; the matcher's own
// limits are what keep a pathological pattern from running for ever.
//
// When the text, the pattern (and the replacement) are ASCII and the pattern
// uses nothing whose meaning could depend on the character type, matching
// runs on the UTF-8 bytes themselves: for ASCII the bytes are the UTF-16 code
// units, the matcher's classes and case rules agree for them, and the byte
// matcher's sets are tables instead of the wide matcher's string compares.

#include "script/builtins/handlers.h"
#include "script/builtins/regex_cache.h"

#include <boost/regex.hpp>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivora::script::builtins {

namespace {

namespace rc = boost::regex_constants;

struct RegexOptions {
  rc::syntax_option_type syntax = rc::normal;
  rc::match_flag_type match = rc::match_default;
};

// Only the letters I, S and G count, anywhere in the text and in either case.
RegexOptions parseOptions(const std::string& text) {
  const std::string upper = toUpperAscii(text);
  RegexOptions o;
  if (upper.find('I') != std::string::npos) o.syntax |= rc::icase;
  if (upper.find('S') != std::string::npos) o.match |= rc::match_not_eol;
  if (upper.find('G') != std::string::npos) o.match |= rc::match_any;
  return o;
}

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Escapes whose meaning is the same for bytes and for UTF-16 code units on
// ASCII text: classes, anchors, control letters, back-references, and any
// escaped punctuation. Escapes that can name other code points (\x, \0, \c,
// \N, ...), Unicode-aware classes (\h, \v, \R, \X) and collating elements
// ([. .] and [= =]) send the pattern to the UTF-16 matcher.
bool samePatternOnBytes(std::string_view pattern) {
  static constexpr std::string_view kKeptLetters = "dDwWsSbBAzZGntrfa";
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '[' && i + 1 < pattern.size() && (pattern[i + 1] == '.' || pattern[i + 1] == '='))
      return false;
    if (c != '\\') continue;
    if (++i == pattern.size()) return false;
    const char e = pattern[i];
    const bool letter = (e >= 'a' && e <= 'z') || (e >= 'A' && e <= 'Z');
    if (letter && kKeptLetters.find(e) == std::string_view::npos) return false;
    if (e == '0') return false;
  }
  return true;
}

// wchar_t is 16 bits on Windows and 32 on Linux; either way each element holds
// one UTF-16 code unit, so positions count code units on both.
std::wstring toMatcherText(std::string_view utf8) {
  if (isAscii(utf8)) return std::wstring(utf8.begin(), utf8.end());
  const std::u16string units = utf8ToWide(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string fromMatcherText(const std::wstring& text) {
  std::u16string units;
  units.reserve(text.size());
  for (const wchar_t c : text) units.push_back(static_cast<char16_t>(c));
  return wideToUtf8(units);
}

RegexCache& cacheOf(ScriptContext& ctx) {
  if (!ctx.regexCache) ctx.regexCache = std::make_unique<RegexCache>();
  return *ctx.regexCache;
}

// The pattern ends at its first NUL, as the matcher's C-string interface had
// it; patterns are compiled once per run.
template <typename Char>
const boost::basic_regex<Char>& compile(PatternCache<Char>& cache, std::basic_string<Char> pattern,
                                        rc::syntax_option_type syntax) {
  if (const std::size_t end = pattern.find(Char(0)); end != pattern.npos) pattern.resize(end);
  return cache.compiled(pattern, syntax);
}

// A replacement made only of plain characters, $n (up to nine digits), $& and
// $$, applied piece by piece: the same text Boost's Perl formatter makes of
// it, without that formatter reading every $n through a locale's stream.
// Anything else ('\', other '$' forms) goes to Boost's formatter.
template <typename Char>
class PlainFormat {
 public:
  static std::optional<PlainFormat> parse(const std::basic_string<Char>& format) {
    PlainFormat plain;
    std::basic_string<Char> literal;
    for (std::size_t i = 0; i < format.size(); ++i) {
      const Char c = format[i];
      if (c == Char('\\')) return std::nullopt;
      if (c != Char('$')) {
        literal += c;
        continue;
      }
      if (i + 1 == format.size()) return std::nullopt;
      const Char next = format[i + 1];
      if (next == Char('$')) {
        literal += c;
        ++i;
        continue;
      }
      int group = 0;
      if (next == Char('&')) {
        ++i;
      } else {
        std::size_t digits = 0;
        for (; i + 1 + digits < format.size(); ++digits) {
          const Char d = format[i + 1 + digits];
          if (d < Char('0') || d > Char('9')) break;
          group = group * 10 + static_cast<int>(d - Char('0'));
          if (digits == 9) return std::nullopt;
        }
        if (digits == 0) return std::nullopt;
        i += digits;
      }
      plain.pieces_.push_back({std::move(literal), group});
      literal.clear();
    }
    plain.pieces_.push_back({std::move(literal), -1});
    return plain;
  }

  template <typename Match, typename Out>
  Out operator()(const Match& match, Out out, rc::match_flag_type) const {
    for (const Piece& piece : pieces_) {
      out = std::copy(piece.literal.begin(), piece.literal.end(), out);
      if (piece.group >= 0) {
        // An unmatched or missing group is empty, as in Boost's formatter.
        const auto& sub = match[piece.group];
        out = std::copy(sub.first, sub.second, out);
      }
    }
    return out;
  }

 private:
  struct Piece {
    std::basic_string<Char> literal;
    int group;  // the group after the literal, or -1
  };
  std::vector<Piece> pieces_;
};

// The text with every match replaced; the format as Boost reads it.
template <typename Char>
std::basic_string<Char> replaceAll(const std::basic_string<Char>& text,
                                   const boost::basic_regex<Char>& re,
                                   const std::basic_string<Char>& format,
                                   rc::match_flag_type flags) {
  std::basic_string<Char> replaced;
  replaced.reserve(text.size());
  auto out = std::back_inserter(replaced);
  if (const auto plain = PlainFormat<Char>::parse(format)) {
    // By reference: Boost takes a formatter by value at every match.
    boost::regex_replace(out, text.begin(), text.end(), re, std::cref(*plain), flags);
  } else {
    boost::regex_replace(out, text.begin(), text.end(), re, format, flags);
  }
  return replaced;
}

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// UTF-8 bytes of code units [first, last) converted on their own: a surrogate
// without its partner inside the range becomes U+FFFD (three bytes).
std::size_t utf8Length(const std::wstring& s, std::size_t first, std::size_t last) {
  std::size_t bytes = 0;
  for (std::size_t i = first; i < last; ++i) {
    const auto c = static_cast<std::uint32_t>(static_cast<char32_t>(s[i]));
    if (isHighSurrogate(s[i]) && i + 1 < last && isLowSurrogate(s[i + 1])) {
      bytes += 4;
      ++i;
    } else {
      bytes += c < 0x80 ? 1 : (c < 0x800 ? 2 : 3);
    }
  }
  return bytes;
}

// UTF-8 length of the text's first k code units, for k that never decrease:
// it walks each unit once however many matches are asked about.
class Utf8Prefix {
 public:
  explicit Utf8Prefix(const std::wstring& text) : text_(text) {}

  std::size_t bytesBefore(std::size_t k) {
    // The walk stops before a pair that k would cut, so that the pair is still
    // counted whole when a later k takes all of it.
    while (unit_ < k) {
      const std::size_t step = isHighSurrogate(text_[unit_]) && unit_ + 1 < text_.size() &&
                                       isLowSurrogate(text_[unit_ + 1])
                                   ? 2
                                   : 1;
      if (unit_ + step > k) break;
      bytes_ += utf8Length(text_, unit_, unit_ + step);
      unit_ += step;
    }
    return bytes_ + utf8Length(text_, unit_, k);
  }

 private:
  const std::wstring& text_;
  std::size_t unit_ = 0;
  std::size_t bytes_ = 0;
};

// The array that receives positions: item 0 set to 0 before the search, so an
// array without matches says 0; items an earlier search left beyond it stay.
Value& firstItemZero(ScriptContext& ctx, const std::string& name) {
  Value& array = ctx.variables.at(name);
  array.element(0) = Value::integer(0);
  array.strValue = name;
  return array;
}

Value integer(std::size_t v) { return Value::integer(static_cast<std::int32_t>(v)); }

// Where the matches of a search go: the two arrays, or nowhere.
struct SearchTargets {
  Value* starts = nullptr;
  Value* lengths = nullptr;
  void record(std::size_t count, std::size_t start, std::size_t length) const {
    if (!starts) return;
    starts->element(count) = integer(start);
    lengths->element(count) = integer(length);
  }
};

// Counts the matches; on ASCII text byte positions are the positions.
std::size_t searchBytes(const std::string& s, const boost::regex& re, rc::match_flag_type flags,
                        const SearchTargets& targets) {
  std::size_t count = 0;
  const boost::sregex_iterator end;
  for (boost::sregex_iterator it(s.begin(), s.end(), re, flags); it != end; ++it, ++count)
    targets.record(count, static_cast<std::size_t>(it->position()),
                   static_cast<std::size_t>(it->length()));
  return count;
}

std::size_t searchUnits(const std::wstring& s, const boost::wregex& re, rc::match_flag_type flags,
                        const SearchTargets& targets) {
  std::size_t count = 0;
  Utf8Prefix prefix(s);
  const boost::wsregex_iterator end;
  for (boost::wsregex_iterator it(s.begin(), s.end(), re, flags); it != end; ++it, ++count) {
    if (!targets.starts) continue;
    const auto position = static_cast<std::size_t>(it->position());
    const auto length = static_cast<std::size_t>(it->length());
    targets.record(count, prefix.bytesBefore(position), utf8Length(s, position, position + length));
  }
  return count;
}

}  // namespace

Value regexMatch(BuiltinCall& call) {
  try {
    const std::string s = call.text(0);
    const std::string pattern = call.text(1);
    const RegexOptions o = parseOptions(call.count() == 3 ? call.text(2) : std::string());
    // Whole-text matching always asks only whether some match exists.
    const rc::match_flag_type flags = rc::match_any | (o.match & rc::match_not_eol);
    bool matched = false;
    if (isAscii(s) && isAscii(pattern) && samePatternOnBytes(pattern)) {
      const boost::regex& re = compile(cacheOf(call.ctx).ascii, pattern, o.syntax);
      matched = boost::regex_match(s.begin(), s.end(), re, flags);
    } else {
      const std::wstring units = toMatcherText(s);
      const boost::wregex& re = compile(cacheOf(call.ctx).utf16, toMatcherText(pattern), o.syntax);
      matched = boost::regex_match(units.begin(), units.end(), re, flags);
    }
    return Value::integer(matched ? 1 : 0);
  } catch (...) {
    return Value::integer(-1);
  }
}

Value regexReplace(BuiltinCall& call) {
  try {
    const std::string s = call.text(0);
    const std::string pattern = call.text(1);
    const RegexOptions o = parseOptions(call.count() == 4 ? call.text(3) : std::string());
    const std::string format = call.text(2);
    if (isAscii(s) && isAscii(pattern) && samePatternOnBytes(pattern) && isAscii(format) &&
        PlainFormat<char>::parse(format)) {
      const boost::regex& re = compile(cacheOf(call.ctx).ascii, pattern, o.syntax);
      return Value::string(replaceAll(s, re, format, o.match));
    }
    const boost::wregex& re = compile(cacheOf(call.ctx).utf16, toMatcherText(pattern), o.syntax);
    return Value::string(
        fromMatcherText(replaceAll(toMatcherText(s), re, toMatcherText(format), o.match)));
  } catch (...) {
    return Value::string({});
  }
}

Value regexSearch(BuiltinCall& call) {
  // Arguments by count: s, re [, opt] [, starts, lengths].
  const std::size_t n = call.count();
  const bool named = n >= 4;
  const std::string options = (n == 3 || n == 5) ? call.text(2) : std::string();
  std::string startsName;
  std::string lengthsName;
  if (named) {
    bool valid = false;
    startsName = arrayNameArgument(call, n - 2, "Regex_Search()", valid);
    if (valid) lengthsName = arrayNameArgument(call, n - 1, "Regex_Search()", valid);
    if (!valid) return Value::integer(-1);
  }
  try {
    const std::string s = call.text(0);
    const std::string pattern = call.text(1);
    const RegexOptions o = parseOptions(options);
    if (isAscii(s) && isAscii(pattern) && samePatternOnBytes(pattern)) {
      const boost::regex& re = compile(cacheOf(call.ctx).ascii, pattern, o.syntax);
      SearchTargets targets;
      if (named)
        targets = {&firstItemZero(call.ctx, startsName), &firstItemZero(call.ctx, lengthsName)};
      return integer(searchBytes(s, re, o.match, targets));
    }
    const std::wstring units = toMatcherText(s);
    const boost::wregex& re = compile(cacheOf(call.ctx).utf16, toMatcherText(pattern), o.syntax);
    SearchTargets targets;
    if (named)
      targets = {&firstItemZero(call.ctx, startsName), &firstItemZero(call.ctx, lengthsName)};
    return integer(searchUnits(units, re, o.match, targets));
  } catch (...) {
    return Value::integer(-1);
  }
}

}  // namespace kivora::script::builtins
