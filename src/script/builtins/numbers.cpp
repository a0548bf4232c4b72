// ABS, MAX, MIN, SQRT, CLAMP, RAND, SRAND, TYPEOF and DEFINE.

#include "script/builtins/handlers.h"
#include "script/builtins/system_interface.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kivora::script::builtins {

namespace {

constexpr std::int32_t kMinInteger = std::numeric_limits<std::int32_t>::min();

}  // namespace

Value abs(BuiltinCall& call) {
  const std::int32_t n = call.number(0);
  // -MININTEGER wraps back to MININTEGER.
  return Value::integer(n >= 0 ? n : static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(n)));
}

Value max(BuiltinCall& call) {
  std::int32_t best = call.number(0);
  for (std::size_t i = 1; i < call.count(); ++i) {
    const std::int32_t n = call.number(i);
    if (n > best) best = n;
  }
  return Value::integer(best);
}

Value min(BuiltinCall& call) {
  std::int32_t best = call.number(0);
  for (std::size_t i = 1; i < call.count(); ++i) {
    const std::int32_t n = call.number(i);
    if (n < best) best = n;
  }
  return Value::integer(best);
}

Value sqrt(BuiltinCall& call) {
  const std::int32_t n = call.number(0);
  // The square root of a negative number is not a number; its integer form is MININTEGER.
  if (n < 0) return Value::integer(kMinInteger);
  return Value::integer(static_cast<std::int32_t>(std::sqrt(static_cast<double>(n))));
}

Value clamp(BuiltinCall& call) {
  const std::int32_t v = call.number(0), low = call.number(1), high = call.number(2);
  if (v < low) return Value::integer(low);
  if (v > high) return Value::integer(high);
  return Value::integer(v);
}

// The C runtime's generator, so seeded scripts draw the numbers they always drew.
Value rand(BuiltinCall& call) {
  std::uint32_t& state = call.ctx.randomState;
  state = state * 214013u + 2531011u;
  return Value::integer(static_cast<std::int32_t>((state >> 16) & 0x7FFF));
}

Value srand(BuiltinCall& call) {
  const std::uint32_t seed =
      call.count() > 0 ? static_cast<std::uint32_t>(call.number(0)) : call.ctx.system.tickCount();
  call.ctx.randomState = seed;
  return Value::integer(static_cast<std::int32_t>(seed));
}

Value typeOf(BuiltinCall& call) {
  const std::string name = toUpperAscii(call.text(0));
  if (!isValidVariableName(name)) return Value::string("invalid");
  const Value* variable = call.ctx.variables.find(name);
  if (!variable) return Value::string("undefined");
  if (variable->isArray) return Value::string("array");
  if (variable->isString) return Value::string("string");
  return Value::string("int");
}

Value define(BuiltinCall& call) {
  const std::string item = toUpperAscii(call.text(0));
  const bool on = call.number(1) != 0;
  ScriptState& state = call.ctx.state;
  if (item == "MUSTVARDEF") {
    state.mustVarDef = on;
  } else if (item == "KEEPVAR") {
    state.keepVar = on;
  } else if (item == "RSC_LANG") {
    state.japaneseMessages = on;
  } else {
    return Value::integer(0);
  }
  return Value::integer(1);
}

}  // namespace kivora::script::builtins
