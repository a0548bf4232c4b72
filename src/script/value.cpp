#include "script/value.h"

#include "platform/unicode.h"

#include <charconv>
#include <limits>

namespace kivora::script {

Value Value::integer(std::int32_t v) {
  Value r;
  r.intValue = v;
  return r;
}

Value Value::string(std::string s) {
  Value r;
  r.isString = 1;
  r.strValue = std::move(s);
  return r;
}

std::string Value::toString() const {
  if (isString || isArray) return strValue;
  return std::to_string(intValue);
}

Value& Value::element(std::size_t i) {
  if (!isArray) {
    isArray = 1;
    elements.clear();
  }
  if (elements.size() <= i) elements.resize(i + 1);
  return elements[i];
}

std::string_view textOf(const Value& v, IntegerText& digits) {
  if (v.isString || v.isArray) return v.strValue;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), v.intValue).ptr;
  return {digits.data(), static_cast<std::size_t>(end - digits.data())};
}

std::int32_t atolSaturated(std::string_view text) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::size_t i = 0;
  // The blanks C's isspace accepts in the C locale.
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kMax + 1) magnitude = kMax + 1;  // stays saturated, never overflows
  }
  const std::int64_t v = negative ? -magnitude : magnitude;
  if (v > kMax) return static_cast<std::int32_t>(kMax);
  if (v < kMin) return static_cast<std::int32_t>(kMin);
  return static_cast<std::int32_t>(v);
}

std::string toUpperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

std::string toLowerAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

namespace {
bool isNameStart(char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }
}  // namespace

bool isValidVariableName(std::string_view s) {
  if (s.empty() || !isNameStart(s[0])) return false;
  for (char c : s.substr(1))
    if (!isNameChar(c)) return false;
  return true;
}

Value defaultValueFor(std::string_view name) {
  if (!name.empty() && name.back() == '$') return Value::string({});
  return Value{};
}

std::u16string utf8ToWide(std::string_view s) { return utf8ToUtf16(s); }
std::string wideToUtf8(std::u16string_view w) { return utf16ToUtf8(w); }

}  // namespace kivora::script
