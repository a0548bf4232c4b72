#pragma once
// The one value type of KX-Script and the small conversions every part of the
// engine and every builtin uses.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kivora::script {

// An integer, a string or an array; copied deeply on every assignment, argument
// pass and return, never shared. An array keeps its own variable name in
// strValue, which is how builtins that take an array by name reach it.
struct Value {
  std::uint8_t isString = 0;
  std::uint8_t isArray = 0;
  std::int32_t intValue = 0;
  std::string strValue;
  std::vector<Value> elements;

  static Value integer(std::int32_t v);
  static Value string(std::string s);

  std::string toString() const;
  std::int32_t toInt() const;
  bool isTrue() const { return isString ? !strValue.empty() : intValue != 0; }
  // An integer and nothing else, as Value::integer makes it.
  bool isPlainInteger() const {
    return !isString && !isArray && strValue.empty() && elements.empty();
  }

  // Element i (i >= 0), turning a non-array into an empty array first and
  // growing the array with int 0 entries as needed.
  Value& element(std::size_t i);
};

// Room for any 32-bit integer in decimal.
using IntegerText = std::array<char, 12>;
// toString() without a copy: the value's own text, or the integer's digits
// written into digits (which must outlive the result).
std::string_view textOf(const Value& v, IntegerText& digits);
// v becomes the integer n, a whole new value as an assignment makes it.
inline void setInteger(Value& v, std::int32_t n) {
  if (v.isPlainInteger()) {
    v.intValue = n;
  } else {
    v = Value::integer(n);
  }
}

// Exchanges two values member by member, without a temporary value.
inline void swap(Value& a, Value& b) noexcept {
  std::swap(a.isString, b.isString);
  std::swap(a.isArray, b.isArray);
  std::swap(a.intValue, b.intValue);
  a.strValue.swap(b.strValue);
  a.elements.swap(b.elements);
}

// C atol, but values beyond the 32-bit range saturate instead of wrapping.
std::int32_t atolSaturated(std::string_view text);

inline std::int32_t Value::toInt() const { return isString ? atolSaturated(strValue) : intValue; }

std::string toUpperAscii(std::string_view s);
std::string toLowerAscii(std::string_view s);
bool isValidVariableName(std::string_view s);
// An unassigned name reads as "" when it ends in '$', as int 0 otherwise.
Value defaultValueFor(std::string_view name);

// The engine's boundary conversions; they never fail (bad sequences become
// U+FFFD), the way the CP_UTF8 Win32 conversions behave.
std::u16string utf8ToWide(std::string_view s);
std::string wideToUtf8(std::u16string_view w);

}  // namespace kivora::script
