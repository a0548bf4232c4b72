// Function calls: user functions, builtins through the table, and CB. calls
// handed to the host.

#include "script/builtins/builtin_call.h"
#include "script/builtins/builtin_table.h"
#include "script/context.h"
#include "script/messages.h"
#include "script/nodes.h"

#include <new>
#include <span>
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

// Up to N items of T on the stack, more on the heap; constructed one by one
// as they come, so unused room costs nothing.
template <typename T, std::size_t N>
class ShortList {
 public:
  explicit ShortList(std::size_t capacity) {
    if (capacity > N) spill_.reserve(capacity);
  }
  ~ShortList() {
    if (onHeap()) return;
    for (std::size_t i = count_; i > 0; --i) local()[i - 1].~T();
  }
  ShortList(const ShortList&) = delete;
  ShortList& operator=(const ShortList&) = delete;

  void push(T item) {
    if (onHeap()) {
      spill_.push_back(std::move(item));
    } else {
      new (local() + count_) T(std::move(item));
    }
    ++count_;
  }
  T* data() { return onHeap() ? spill_.data() : local(); }
  std::size_t size() const { return count_; }

 private:
  bool onHeap() const { return spill_.capacity() != 0; }
  T* local() { return std::launder(reinterpret_cast<T*>(storage_)); }
  alignas(T) unsigned char storage_[N * sizeof(T)];
  std::vector<T> spill_;
  std::size_t count_ = 0;
};

// Calls with few arguments keep them on the stack; only longer lists allocate.
inline constexpr std::size_t kLocalArguments = 4;

template <typename Use>
Value withArguments(ScriptContext& ctx, std::vector<NodePtr>& nodes, Use use) {
  ShortList<Value, kLocalArguments> values(nodes.size());
  for (NodePtr& n : nodes) values.push(n->evaluate(ctx));
  return use(std::span<const Value>(values.data(), values.size()));
}

// Variables lent to a builtin that reads only its arguments: each variable's
// value sits in the argument list for the call and goes back when it ends,
// however it ends, so MID(s, ...) on a long text copies nothing.
class LentArguments {
 public:
  explicit LentArguments(std::size_t capacity) : lent_(capacity) {}
  ~LentArguments() { giveBack(); }
  LentArguments(const LentArguments&) = delete;
  LentArguments& operator=(const LentArguments&) = delete;

  // The argument that holds variable's value while it is lent, else null (an
  // argument list naming a variable twice copies it from there the second time).
  const Value* holder(const Value* variable) {
    for (std::size_t i = 0; i < lent_.size(); ++i)
      if (lent_.data()[i].variable == variable) return lent_.data()[i].argument;
    return nullptr;
  }
  void lend(Value& variable, Value& argument) noexcept {
    std::swap(variable, argument);
    lent_.push({&variable, &argument});
  }

 private:
  void giveBack() noexcept {
    for (std::size_t i = 0; i < lent_.size(); ++i)
      std::swap(*lent_.data()[i].variable, *lent_.data()[i].argument);
  }
  struct Loan {
    Value* variable;
    Value* argument;
  };
  ShortList<Loan, kLocalArguments> lent_;
};

// The same for a builtin that reads only its arguments. A variable named as an
// argument is lent rather than copied when no later argument can change it (so
// it still holds, at the call, what a copy would have taken).
template <typename Use>
Value withLentArguments(ScriptContext& ctx, std::vector<NodePtr>& nodes, std::size_t lendFrom,
                        Use use) {
  const std::size_t count = nodes.size();
  ShortList<Value, kLocalArguments> values(count);
  ShortList<Value*, kLocalArguments> variables(count);
  for (std::size_t i = 0; i < count; ++i) {
    Value* variable = nullptr;
    if (i >= lendFrom && nodes[i]->kind == kVarNode)
      variable = static_cast<VarNode&>(*nodes[i]).storage(ctx);
    values.push(variable ? Value{} : nodes[i]->evaluate(ctx));
    variables.push(variable);
  }
  // The list is complete, so the arguments no longer move.
  LentArguments lent(count);
  for (std::size_t i = 0; i < count; ++i) {
    Value* variable = variables.data()[i];
    if (!variable) continue;
    if (const Value* held = lent.holder(variable)) {
      values.data()[i] = *held;
    } else {
      lent.lend(*variable, values.data()[i]);
    }
  }
  return use(std::span<const Value>(values.data(), values.size()));
}

// A parameter's value from before the call, put back when the call ends.
struct SavedParameter {
  std::size_t index = 0;  // in the function's parameter list
  Value value;
};

// Parameters are the only locals: their values before the call, restored after.
void restore(ScriptContext& ctx, UserFunction& function,
             ShortList<SavedParameter, kLocalArguments>& saved) {
  SavedParameter* entries = saved.data();
  for (std::size_t i = 0; i < saved.size(); ++i) {
    const std::size_t p = entries[i].index;
    ctx.variables.at(function.parameters[p], function.parameterSlots[p]) =
        std::move(entries[i].value);
  }
}

}  // namespace

void FuncCallNode::resolve(ScriptContext& ctx) {
  resolvedFor_ = ctx.functionsStamp;
  const auto function = ctx.functions.find(name);
  function_ = function != ctx.functions.end() ? &function->second : nullptr;
  builtin_ = nullptr;
  if (function_) return;
  std::string key = toUpperAscii(name);
  if (!key.empty() && key.back() == '$') key.pop_back();
  const BuiltinEntry* entry = findBuiltin(key);
  // A builtin called with a count it does not take goes through dispatchBuiltin,
  // which reports it.
  if (entry && entry->minArgs <= arguments.size() && arguments.size() <= entry->maxArgs)
    builtin_ = entry;
}

Value FuncCallNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (ctx.state.callDepth > kMaxCallDepth) {
    ctx.fail(kErrTooManyCalls, line,
             messages::tooManyCalls(ctx.japanese(), name, arguments.size(), line));
    return defaultValueFor(name);
  }
  if (resolvedFor_ != ctx.functionsStamp) resolve(ctx);
  if (function_) return callUserFunction(ctx, *function_);
  return callBuiltin(ctx);
}

Value FuncCallNode::callBuiltin(ScriptContext& ctx) {
  if (builtin_ && builtin_->readsOnlyArguments) {
    if (lendFrom_ < 0) {
      // The first argument after which every argument leaves variables alone.
      std::size_t from = arguments.empty() ? 0 : arguments.size() - 1;
      while (from > 0 && arguments[from]->leavesVariablesAlone()) --from;
      lendFrom_ = static_cast<std::int32_t>(from);
    }
    return withLentArguments(ctx, arguments, static_cast<std::size_t>(lendFrom_),
                             [&](std::span<const Value> values) {
                               BuiltinCall call{ctx, name, line, values};
                               return builtin_->handler(call);
                             });
  }
  return withArguments(ctx, arguments, [&](std::span<const Value> values) {
    if (!builtin_) return dispatchBuiltin(ctx, name, values, line);
    BuiltinCall call{ctx, name, line, values};
    return builtin_->handler(call);
  });
}

Value FuncCallNode::callUserFunction(ScriptContext& ctx, UserFunction& function) {
  const std::size_t bound = std::min(arguments.size(), function.parameters.size());
  ShortList<SavedParameter, kLocalArguments> saved(bound);
  for (std::size_t i = 0; i < bound; ++i) {
    const std::string& parameter = function.parameters[i];
    // A name listed twice keeps its value from before the call.
    if (!function.repeatsEarlier[i]) {
      const Value* current = ctx.variables.find(parameter, function.parameterSlots[i]);
      saved.push({i, current ? *current : defaultValueFor(parameter)});
    }
    // Bound one by one, so a later argument sees the earlier parameters.
    Value argument = arguments[i]->evaluate(ctx);
    ctx.variables.at(parameter, function.parameterSlots[i]) = std::move(argument);
  }
  ++ctx.state.callDepth;
  try {
    function.body->evaluate(ctx);
  } catch (const GotoException&) {
    --ctx.state.callDepth;
    restore(ctx, function, saved);
    throw;
  }
  --ctx.state.callDepth;
  // The body's value is not the call's: only a return gives one.
  Value result = ctx.state.flowState == kFlowReturn ? ctx.takeReturn() : Value{};
  restore(ctx, function, saved);
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

Value dispatchBuiltin(ScriptContext& ctx, std::string_view name, std::span<const Value> args,
                      int line) {
  std::string key = toUpperAscii(name);
  if (!key.empty() && key.back() == '$') key.pop_back();
  const std::size_t count = args.size();
  if (const BuiltinEntry* entry = findBuiltin(key);
      entry && entry->minArgs <= count && count <= entry->maxArgs) {
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

std::string arrayNameArgument(BuiltinCall& call, std::size_t i, std::string_view functionName,
                              bool& valid) {
  std::string arrayName = toUpperAscii(call.text(i));
  valid = isValidVariableName(arrayName);
  if (!valid)
    call.ctx.fail(kErrInvalidArrayName, -1,
                  messages::invalidArrayName(call.ctx.japanese(), functionName));
  return arrayName;
}

}  // namespace kivora::script
