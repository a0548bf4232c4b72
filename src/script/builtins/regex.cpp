// The regular-expression builtins on Boost.Regex, over the UTF-16 form of the
// texts. Every failure inside them (a bad pattern, a pattern or text beyond
// the matcher's complexity and memory limits, exhausted memory) becomes the
// builtin's plain failure result and the script goes on; the matcher's own
// limits are what keep a pathological pattern from running for ever.

#include "script/builtins/handlers.h"

#include <boost/regex.hpp>

#include <string>
#include <string_view>

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

// The pattern ends at its first NUL, as the matcher's C-string interface had it.
boost::wregex compile(const std::wstring& pattern, rc::syntax_option_type syntax) {
  const std::size_t end = pattern.find(L'\0');
  const wchar_t* first = pattern.data();
  return boost::wregex(first, first + (end == std::wstring::npos ? pattern.size() : end), syntax);
}

// wchar_t is 16 bits on Windows and 32 on Linux; either way each element holds
// one UTF-16 code unit, so positions count code units on both.
std::wstring toMatcherText(const std::string& utf8) {
  const std::u16string units = utf8ToWide(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string fromMatcherText(const std::wstring& text) {
  std::u16string units;
  units.reserve(text.size());
  for (const wchar_t c : text) units.push_back(static_cast<char16_t>(c));
  return wideToUtf8(units);
}

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// UTF-8 bytes of code units [first, last) converted on their own: a surrogate
// without its partner inside the range becomes U+FFFD (three bytes).
std::size_t utf8Length(const std::wstring& s, std::size_t first, std::size_t last) {
  std::size_t bytes = 0;
  for (std::size_t i = first; i < last; ++i) {
    const auto c = static_cast<std::uint32_t>(s[i]);
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

}  // namespace

Value regexMatch(BuiltinCall& call) {
  try {
    const std::wstring s = toMatcherText(call.text(0));
    const RegexOptions o = parseOptions(call.count() == 3 ? call.text(2) : std::string());
    const boost::wregex re = compile(toMatcherText(call.text(1)), o.syntax);
    // Whole-text matching always asks only whether some match exists.
    const rc::match_flag_type flags = rc::match_any | (o.match & rc::match_not_eol);
    return Value::integer(boost::regex_match(s.begin(), s.end(), re, flags) ? 1 : 0);
  } catch (...) {
    return Value::integer(-1);
  }
}

Value regexReplace(BuiltinCall& call) {
  try {
    const std::wstring s = toMatcherText(call.text(0));
    const RegexOptions o = parseOptions(call.count() == 4 ? call.text(3) : std::string());
    const boost::wregex re = compile(toMatcherText(call.text(1)), o.syntax);
    const std::wstring format = toMatcherText(call.text(2));
    return Value::string(fromMatcherText(boost::regex_replace(s, re, format, o.match)));
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
  std::size_t count = 0;
  try {
    const std::wstring s = toMatcherText(call.text(0));
    const RegexOptions o = parseOptions(options);
    const boost::wregex re = compile(toMatcherText(call.text(1)), o.syntax);
    Value* starts = nullptr;
    Value* lengths = nullptr;
    if (named) {
      starts = &firstItemZero(call.ctx, startsName);
      lengths = &firstItemZero(call.ctx, lengthsName);
    }
    Utf8Prefix prefix(s);
    const boost::wsregex_iterator end;
    for (boost::wsregex_iterator it(s.begin(), s.end(), re, o.match); it != end; ++it, ++count) {
      if (!named) continue;
      const auto position = static_cast<std::size_t>(it->position());
      const auto length = static_cast<std::size_t>(it->length());
      starts->element(count) = integer(prefix.bytesBefore(position));
      lengths->element(count) = integer(utf8Length(s, position, position + length));
    }
  } catch (...) {
    return Value::integer(-1);
  }
  return integer(count);
}

}  // namespace kivora::script::builtins
