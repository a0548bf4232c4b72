// The string builtins: measuring, searching, comparing, cutting, converting
// and building texts, FORMAT, and SPLIT / JOIN between strings and arrays.
// Script strings are UTF-8 bytes; the plain builtins count bytes, the MB ones
// count characters as utf8SeqLength delimits them (invalid UTF-8 never fails).

#include "script/builtins/handlers.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kivora::script::builtins {

namespace {

using i64 = std::int64_t;

Value integer(i64 v) { return Value::integer(static_cast<std::int32_t>(v)); }

// --- characters --------------------------------------------------------------

std::size_t utf8SeqLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;  // a stray continuation byte or 0xF8-0xFF stands alone
}

// Byte offset of every character start, plus the length at the end, so that
// character k is bytes [starts[k], starts[k + 1]).
std::vector<std::size_t> characterStarts(std::string_view s) {
  std::vector<std::size_t> starts;
  std::size_t i = 0;
  while (i < s.size()) {
    starts.push_back(i);
    i = std::min(s.size(), i + utf8SeqLength(static_cast<unsigned char>(s[i])));
  }
  starts.push_back(s.size());
  return starts;
}

// The number of characters of s that start before byte k (a sequence cut by
// the end of s is one character).
std::size_t charactersBefore(std::string_view s, std::size_t k) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < k; i += utf8SeqLength(static_cast<unsigned char>(s[i]))) ++count;
  return count;
}

std::size_t characterCount(std::string_view s) { return charactersBefore(s, s.size()); }

// Characters [first, last) of s, with last not beyond the count.
std::string characters(std::string_view s, std::size_t first, std::size_t last) {
  const std::vector<std::size_t> starts = characterStarts(s);
  return std::string(s.substr(starts[first], starts[last] - starts[first]));
}

i64 find(std::string_view s, std::string_view t) {
  const std::size_t k = s.find(t);
  return k == std::string_view::npos ? -1 : static_cast<i64>(k);
}

// The byte set of an optional argument, or a single space when it is missing or empty.
std::string byteSetArgument(BuiltinCall& call, std::size_t i) {
  std::string set = call.count() > i ? call.text(i) : std::string();
  return set.empty() ? std::string(" ") : set;
}

// --- FORMAT ------------------------------------------------------------------

bool isFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '0' || c == '#'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads decimal digits from fmt at i, held at kTooLarge once beyond the C
// library's int range.
constexpr i64 kTooLarge = i64{1} << 31;
i64 readDigits(std::string_view fmt, std::size_t& i) {
  i64 v = 0;
  for (; i < fmt.size() && isDigit(fmt[i]); ++i) v = std::min(kTooLarge, v * 10 + (fmt[i] - '0'));
  return v;
}

struct Conversion {
  std::string flags;
  i64 width = -1;      // -1: none written
  i64 precision = -1;  // -1: no '.'
  char type = 0;

  bool overflows() const { return width >= kTooLarge || precision >= kTooLarge; }
  std::string cFormat() const {
    std::string f = "%" + flags;
    if (width >= 0) f += std::to_string(width);
    if (precision >= 0) f += "." + std::to_string(precision);
    return f + type;
  }
};

// Widths and lengths far beyond the 4095 bytes that are kept only decide how
// much padding or how many zeros are cut off. They are brought down to sizes
// the C library handles at once (some implementations pad on the stack, or
// take seconds for a billion spaces), keeping the padding in front of the text
// and so every byte that is kept. length is the precision of a number, or the
// length of a text.
constexpr i64 kLargeEnough = 8192;
void boundSizes(i64& width, i64& length) {
  if (length > kLargeEnough) {
    width = width > length ? width - (length - kLargeEnough) : -1;
    length = kLargeEnough;
  }
  if (width > 2 * kLargeEnough + 32) width = 2 * kLargeEnough + 32;
}

// Parses the conversion that starts at fmt[start] == '%'. Returns the index
// after its conversion byte, or npos when fmt ends inside it.
std::size_t parseConversion(std::string_view fmt, std::size_t start, Conversion& c) {
  std::size_t i = start + 1;
  while (i < fmt.size() && isFlag(fmt[i])) c.flags += fmt[i++];
  if (i < fmt.size() && isDigit(fmt[i])) c.width = readDigits(fmt, i);
  if (i < fmt.size() && fmt[i] == '.') {
    ++i;
    c.precision = readDigits(fmt, i);
  }
  if (i >= fmt.size()) return std::string_view::npos;
  c.type = fmt[i];
  return i + 1;
}

template <typename T>
void appendFormatted(std::string& out, const Conversion& c, T value) {
  char buffer[4096];
  const int n = std::snprintf(buffer, sizeof buffer, c.cFormat().c_str(), value);
  if (n > 0)
    out.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

// A width or precision beyond the int range fails in the C library: nothing
// is printed for the conversion.
void appendNumber(std::string& out, Conversion c, std::uint32_t value) {
  if (c.overflows()) return;
  i64 noPrecision = 0;
  boundSizes(c.width, c.precision >= 0 ? c.precision : noPrecision);
  if (c.type == 'd' || c.type == 'i') {
    appendFormatted(out, c, static_cast<int>(static_cast<std::int32_t>(value)));
  } else {
    appendFormatted(out, c, static_cast<unsigned>(value));
  }
}

void appendText(std::string& out, Conversion c, std::string text) {
  if (c.overflows()) return;
  // The C library sees the text up to its first NUL, and the precision is
  // applied here, so that the text's own length can be bounded.
  text.resize(std::min(text.size(), text.find('\0')));
  if (c.precision >= 0 && c.precision < static_cast<i64>(text.size()))
    text.resize(static_cast<std::size_t>(c.precision));
  c.precision = -1;
  auto length = static_cast<i64>(text.size());
  boundSizes(c.width, length);
  text.resize(static_cast<std::size_t>(length));
  appendFormatted(out, c, text.c_str());
}

// --- CR/LF and control bytes ---------------------------------------------------

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

// --- measuring, searching, comparing -------------------------------------------

Value strLen(BuiltinCall& call) {
  IntegerText digits;
  return integer(static_cast<i64>(call.textView(0, digits).size()));
}

Value mbStrLen(BuiltinCall& call) {
  return integer(static_cast<i64>(characterCount(call.text(0))));
}

Value strUpr(BuiltinCall& call) { return Value::string(toUpperAscii(call.text(0))); }

Value strLwr(BuiltinCall& call) { return Value::string(toLowerAscii(call.text(0))); }

Value strStr(BuiltinCall& call) { return integer(find(call.text(0), call.text(1))); }

Value strStrI(BuiltinCall& call) {
  return integer(find(toUpperAscii(call.text(0)), toUpperAscii(call.text(1))));
}

Value mbStrStr(BuiltinCall& call) {
  const std::string s = call.text(0);
  const i64 k = find(s, call.text(1));
  return integer(k < 0 ? -1 : static_cast<i64>(charactersBefore(s, static_cast<std::size_t>(k))));
}

Value mbStrStrI(BuiltinCall& call) {
  // Upper-casing keeps every byte where it was, so s itself gives the count.
  const std::string s = call.text(0);
  const i64 k = find(toUpperAscii(s), toUpperAscii(call.text(1)));
  return integer(k < 0 ? -1 : static_cast<i64>(charactersBefore(s, static_cast<std::size_t>(k))));
}

Value strCmp(BuiltinCall& call) {
  // C string comparison: a NUL byte ends either text.
  const std::string s = call.text(0);
  const std::string t = call.text(1);
  for (std::size_t i = 0;; ++i) {
    const auto a = static_cast<unsigned char>(i < s.size() ? s[i] : 0);
    const auto b = static_cast<unsigned char>(i < t.size() ? t[i] : 0);
    if (a != b) return integer(a < b ? -1 : 1);
    if (a == 0) return integer(0);
  }
}

Value strCmpI(BuiltinCall& call) {
  const std::string s = toLowerAscii(call.text(0));
  const std::string t = toLowerAscii(call.text(1));
  for (std::size_t i = 0;; ++i) {
    const auto a = static_cast<unsigned char>(i < s.size() ? s[i] : 0);
    const auto b = static_cast<unsigned char>(i < t.size() ? t[i] : 0);
    if (a != b || a == 0) return integer(static_cast<int>(a) - static_cast<int>(b));
  }
}

Value startsWith(BuiltinCall& call) {
  IntegerText sDigits, pDigits;
  const std::string_view s = call.textView(0, sDigits);
  const std::string_view p = call.textView(1, pDigits);
  return integer(p.size() <= s.size() && s.compare(0, p.size(), p) == 0 ? 1 : 0);
}

Value endsWith(BuiltinCall& call) {
  IntegerText sDigits, pDigits;
  const std::string_view s = call.textView(0, sDigits);
  const std::string_view p = call.textView(1, pDigits);
  return integer(p.size() <= s.size() && s.compare(s.size() - p.size(), p.size(), p) == 0 ? 1 : 0);
}

// --- cutting -------------------------------------------------------------------

Value left(BuiltinCall& call) {
  IntegerText digits;
  const std::string_view s = call.textView(0, digits);
  const i64 n = call.number(1);
  if (n < 0 || n > static_cast<i64>(s.size())) return Value::string(std::string(s));
  return Value::string(std::string(s.substr(0, static_cast<std::size_t>(n))));
}

Value right(BuiltinCall& call) {
  IntegerText digits;
  const std::string_view s = call.textView(0, digits);
  const i64 n = call.number(1);
  if (n >= static_cast<i64>(s.size())) return Value::string(std::string(s));
  // A negative count asks for a start beyond the end; that failure ends the run
  // through the runner's report of unexpected failures, as scripts have known it.
  if (n < 0) throw std::out_of_range("RIGHT: start beyond the end of the text");
  return Value::string(std::string(s.substr(s.size() - static_cast<std::size_t>(n))));
}

Value mid(BuiltinCall& call) {
  IntegerText digits;
  const std::string_view s = call.textView(0, digits);
  const i64 start = std::max<i64>(static_cast<i64>(call.number(1)) - 1, 0);
  const i64 m = call.number(2);
  if (start >= static_cast<i64>(s.size())) return Value::string({});
  const std::size_t count = m < 0 ? std::string::npos : static_cast<std::size_t>(m);
  return Value::string(std::string(s.substr(static_cast<std::size_t>(start), count)));
}

Value mbLeft(BuiltinCall& call) {
  const std::string s = call.text(0);
  const i64 n = call.number(1);
  const auto count = static_cast<i64>(characterCount(s));
  if (n <= 0) return Value::string({});
  if (n >= count) return Value::string(s);
  return Value::string(characters(s, 0, static_cast<std::size_t>(n)));
}

Value mbRight(BuiltinCall& call) {
  const std::string s = call.text(0);
  const i64 n = call.number(1);
  const auto count = static_cast<i64>(characterCount(s));
  if (n <= 0) return Value::string({});
  if (n >= count) return Value::string(s);
  return Value::string(
      characters(s, static_cast<std::size_t>(count - n), static_cast<std::size_t>(count)));
}

Value mbMid(BuiltinCall& call) {
  const std::string s = call.text(0);
  const i64 start = std::max<i64>(static_cast<i64>(call.number(1)) - 1, 0);
  const i64 m = call.number(2);
  const auto count = static_cast<i64>(characterCount(s));
  if (start >= count) return Value::string({});
  const i64 end = std::min(m < 0 ? start : start + m, count);
  return Value::string(
      characters(s, static_cast<std::size_t>(start), static_cast<std::size_t>(end)));
}

// --- conversion ----------------------------------------------------------------

Value toStr(BuiltinCall& call) { return Value::string(call.text(0)); }

Value toInt(BuiltinCall& call) { return Value::integer(call.number(0)); }

Value toStr16(BuiltinCall& call) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X",
                static_cast<unsigned>(static_cast<std::uint32_t>(call.number(0))));
  return Value::string(buffer);
}

Value toStr2(BuiltinCall& call) {
  auto v = static_cast<std::uint32_t>(call.number(0));
  if (v == 0) return Value::string("0");
  std::string digits;
  for (; v != 0; v >>= 1) digits.insert(digits.begin(), (v & 1) ? '1' : '0');
  return Value::string(digits);
}

Value getAsciiCode(BuiltinCall& call) {
  const std::string s = call.text(0);
  const i64 n = call.number(1);
  if (n < 0 || n >= static_cast<i64>(s.size())) return integer(-1);
  return integer(static_cast<signed char>(s[static_cast<std::size_t>(n)]));
}

Value chr(BuiltinCall& call) {
  const auto byte = static_cast<char>(call.number(0) & 0xFF);
  return Value::string(byte == 0 ? std::string() : std::string(1, byte));
}

// --- building ------------------------------------------------------------------

Value replace(BuiltinCall& call) {
  std::string s = call.text(0);
  const std::string from = call.text(1);
  const std::string to = call.count() > 2 ? call.text(2) : std::string();
  // An empty search text would be found again at every resume point.
  if (from.empty()) return Value::string(s);
  for (std::size_t k = s.find(from); k != std::string::npos; k = s.find(from, k + to.size()))
    s.replace(k, from.size(), to);
  return Value::string(s);
}

Value padLeft(BuiltinCall& call) {
  std::string s = call.text(0);
  const i64 n = call.number(1);
  const char pad = byteSetArgument(call, 2)[0];
  if (n >= static_cast<i64>(s.size())) s.insert(0, static_cast<std::size_t>(n) - s.size(), pad);
  return Value::string(s);
}

Value padRight(BuiltinCall& call) {
  std::string s = call.text(0);
  const i64 n = call.number(1);
  const char pad = byteSetArgument(call, 2)[0];
  if (n >= static_cast<i64>(s.size())) s.append(static_cast<std::size_t>(n) - s.size(), pad);
  return Value::string(s);
}

Value trimLeft(BuiltinCall& call) {
  const std::string s = call.text(0);
  const std::size_t first = s.find_first_not_of(byteSetArgument(call, 1));
  // Text made only of trimmed bytes comes back whole, not emptied.
  if (first == std::string::npos) return Value::string(s);
  return Value::string(s.substr(first));
}

Value trimRight(BuiltinCall& call) {
  const std::string s = call.text(0);
  const std::size_t last = s.find_last_not_of(byteSetArgument(call, 1));
  if (last == std::string::npos) return Value::string(s);
  return Value::string(s.substr(0, last + 1));
}

Value insCrLf(BuiltinCall& call) {
  const std::string s = call.text(0);
  const i64 n = call.number(1);
  const std::string t = call.text(2);
  if (n <= 0) return Value::string(s);
  const std::vector<std::size_t> starts = characterStarts(s);
  const std::size_t count = starts.size() - 1;
  std::string out;
  out.reserve(s.size() + t.size() * (count / static_cast<std::size_t>(n)));
  for (std::size_t k = 0; k < count; ++k) {
    out.append(s, starts[k], starts[k + 1] - starts[k]);
    if ((k + 1) % static_cast<std::size_t>(n) == 0 && k + 1 < count) out += t;
  }
  return Value::string(out);
}

Value lcLite(BuiltinCall& call) {
  const std::string s = call.text(0);
  const std::string t = call.text(1);
  std::string out;
  out.reserve(s.size() + s.size() / 8);
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!isLineBreak(s[i])) {
      out += s[i];
      continue;
    }
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    out += t;
  }
  return Value::string(out);
}

Value delCtrlC(BuiltinCall& call) {
  const std::string s = call.text(0);
  const std::string t = call.text(1);
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    const bool control = (b < 0x20 || b == 0x7F) && b != '\t' && b != '\n' && b != '\r';
    if (control) {
      out += t;
    } else {
      out += c;
    }
  }
  return Value::string(out);
}

Value format(BuiltinCall& call) {
  const std::string fmt = call.text(0);
  std::size_t next = 1;  // the next argument to use
  std::string out;
  std::size_t i = 0;
  while (i < fmt.size()) {
    if (fmt[i] != '%') {
      out += fmt[i++];
      continue;
    }
    if (i + 1 < fmt.size() && fmt[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    Conversion c;
    const std::size_t end = parseConversion(fmt, i, c);
    if (end == std::string::npos) {
      out.append(fmt, i);
      break;
    }
    const std::string_view written = std::string_view(fmt).substr(i, end - i);
    i = end;
    if (next >= call.count()) {
      out += written;
      continue;
    }
    switch (c.type) {
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o':
        appendNumber(out, c, static_cast<std::uint32_t>(call.number(next++)));
        break;
      case 's':
        appendText(out, c, call.text(next++));
        break;
      default:
        out += written;
        break;
    }
  }
  return Value::string(out);
}

// --- SPLIT and JOIN ------------------------------------------------------------

Value split(BuiltinCall& call) {
  bool valid = false;
  const std::string name = arrayNameArgument(call, 2, "split()", valid);
  if (!valid) return Value::integer(-1);
  const std::string s = call.text(0);
  const std::string sep = call.text(1);
  Value& array = call.ctx.variables.at(name);
  array = Value{};
  array.isArray = 1;
  array.strValue = name;
  std::size_t start = 0;
  if (!sep.empty()) {
    for (std::size_t k = s.find(sep); k != std::string::npos; k = s.find(sep, start)) {
      array.elements.push_back(Value::string(s.substr(start, k - start)));
      start = k + sep.size();
    }
  }
  array.elements.push_back(Value::string(s.substr(start)));
  return integer(static_cast<i64>(array.elements.size()));
}

Value join(BuiltinCall& call) {
  bool valid = false;
  const std::string name = arrayNameArgument(call, 0, "join()", valid);
  if (!valid) return Value::string({});
  const Value* array = call.ctx.variables.find(name);
  if (!array || !array->isArray) return Value::string({});
  const std::string sep = call.count() > 1 ? call.text(1) : std::string();
  std::string out;
  for (std::size_t k = 0; k < array->elements.size(); ++k) {
    if (k > 0) out += sep;
    out += array->elements[k].toString();
  }
  return Value::string(out);
}

}  // namespace kivora::script::builtins
