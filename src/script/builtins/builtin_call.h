#pragma once
// What a builtin handler gets: the engine it runs in, the evaluated arguments
// (already checked against the table's counts), and the call's name and line
// for reports.

#include "script/context.h"
#include "script/value.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kivora::script {

// The arguments, each a value of its own or, for a builtin that reads only
// its arguments, possibly a variable's own value lent for the call.
using Arguments = std::span<const Value* const>;

struct BuiltinCall {
  ScriptContext& ctx;
  std::string_view name;  // as written: upper-cased, with its '$' if any
  int line;
  Arguments args;

  std::size_t count() const { return args.size(); }
  const Value& arg(std::size_t i) const { return *args[i]; }
  std::string text(std::size_t i) const { return args[i]->toString(); }
  // text(i) without a copy; digits must outlive the view.
  std::string_view textView(std::size_t i, IntegerText& digits) const {
    return textOf(*args[i], digits);
  }
  std::int32_t number(std::size_t i) const { return args[i]->toInt(); }
};

using BuiltinHandler = Value (*)(BuiltinCall& call);

// The array-name argument rule: the argument's text upper-cased; when it is not
// a valid variable name, the invalid-array-name error naming functionName
// ("split()", "SortArray()", ...) is reported and the result is empty.
std::string arrayNameArgument(BuiltinCall& call, std::size_t i, std::string_view functionName,
                              bool& valid);

// Dispatch: finds the builtin (a trailing '$' does not change which one), checks
// the argument count, handles ASSERT, and reports unknown names and bad counts.
Value dispatchBuiltin(ScriptContext& ctx, std::string_view name, Arguments args, int line);

}  // namespace kivora::script
