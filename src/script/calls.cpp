// Function calls: user functions, builtins through the table, and CB. calls
// handed to the host.

#include "script/builtins/builtin_call.h"
#include "script/builtins/builtin_table.h"
#include "script/context.h"
#include "script/messages.h"
#include "script/nodes.h"

#include <utility>
#include <vector>

namespace kivora::script {

namespace {

std::vector<Value> evaluateAll(ScriptContext& ctx, std::vector<NodePtr>& nodes) {
  std::vector<Value> values;
  values.reserve(nodes.size());
  for (NodePtr& n : nodes) values.push_back(n->evaluate(ctx));
  return values;
}

// Parameters are the only locals: their values before the call, restored after.
using SavedParameters = std::vector<std::pair<std::string, Value>>;

void restore(ScriptContext& ctx, SavedParameters& saved) {
  for (auto& [name, value] : saved) ctx.variables.at(name) = std::move(value);
}

}  // namespace

Value FuncCallNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (ctx.state.callDepth > kMaxCallDepth) {
    ctx.fail(kErrTooManyCalls, line, messages::tooManyCalls(ctx.japanese(), name, arguments.size(), line));
    return defaultValueFor(name);
  }
  const auto function = ctx.functions.find(name);
  if (function != ctx.functions.end()) return callUserFunction(ctx, function->second);
  const std::vector<Value> values = evaluateAll(ctx, arguments);
  return dispatchBuiltin(ctx, name, values, line);
}

Value FuncCallNode::callUserFunction(ScriptContext& ctx, const UserFunction& function) {
  const std::size_t bound = std::min(arguments.size(), function.parameters.size());
  SavedParameters saved;
  saved.reserve(bound);
  for (std::size_t i = 0; i < bound; ++i) {
    const std::string& parameter = function.parameters[i];
    // A name listed twice keeps its value from before the call.
    bool seen = false;
    for (const auto& entry : saved) seen = seen || entry.first == parameter;
    if (!seen) {
      const Value* current = ctx.variables.find(parameter);
      saved.emplace_back(parameter, current ? *current : defaultValueFor(parameter));
    }
    // Bound one by one, so a later argument sees the earlier parameters.
    Value argument = arguments[i]->evaluate(ctx);
    ctx.variables.at(parameter) = std::move(argument);
  }
  Value result;
  ++ctx.state.callDepth;
  try {
    function.body->evaluate(ctx);
  } catch (ReturnException& returned) {
    result = std::move(returned.value);
  } catch (const GotoException&) {
    --ctx.state.callDepth;
    restore(ctx, saved);
    throw;
  }
  --ctx.state.callDepth;
  restore(ctx, saved);
  return result;
}

Value CBCallNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (!ctx.host.applicationFunction) {
    ctx.fail(kErrUnknownFunction, line,
             messages::unknownApplicationFunction(ctx.japanese(), name, arguments.size(), line));
    return Value{};
  }
  const std::vector<Value> values = evaluateAll(ctx, arguments);
  std::vector<HostValue> hostValues(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    hostValues[i].isString = values[i].isString;
    hostValues[i].intValue = values[i].intValue;
    if (values[i].isString) hostValues[i].text = utf8ToWide(values[i].strValue);
  }
  const std::u16string wideName = utf8ToWide(name);
  HostValue result;
  AppCallInfo info;
  info.name = wideName.c_str();
  info.arguments = hostValues.empty() ? nullptr : hostValues.data();
  info.count = static_cast<std::int32_t>(hostValues.size());
  info.result = &result;
  info.engineArguments = values.empty() ? nullptr : values.data();
  ctx.host.applicationFunction(&info);
  if (result.isString) return Value::string(wideToUtf8(result.text));
  return Value::integer(result.intValue);
}

Value dispatchBuiltin(ScriptContext& ctx, std::string_view name, std::span<const Value> args, int line) {
  std::string key = toUpperAscii(name);
  if (!key.empty() && key.back() == '$') key.pop_back();
  const std::size_t count = args.size();
  if (const BuiltinEntry* entry = findBuiltin(key); entry && entry->minArgs <= count && count <= entry->maxArgs) {
    BuiltinCall call{ctx, name, line, args};
    return entry->handler(call);
  }
  if (key == "ASSERT" && count == 2) {
    if (args[0].toInt() == 0) ctx.fail(kErrAssert, line, args[1].toString());
    return defaultValueFor(name);
  }
  ctx.fail(kErrUnknownFunction, line, messages::unknownFunction(ctx.japanese(), name, count, line));
  return defaultValueFor(name);
}

std::string arrayNameArgument(BuiltinCall& call, std::size_t i, std::string_view functionName, bool& valid) {
  std::string arrayName = toUpperAscii(call.text(i));
  valid = isValidVariableName(arrayName);
  if (!valid) call.ctx.fail(kErrInvalidArrayName, -1, messages::invalidArrayName(call.ctx.japanese(), functionName));
  return arrayName;
}

}  // namespace kivora::script
