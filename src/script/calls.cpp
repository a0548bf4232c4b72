// Function calls: user functions, builtins through the table, and CB. calls
// handed to the host. Parameters are the only locals: their values from
// before a call wait in ScriptContext::savedParameters and go back when the
// call ends, so a call allocates nothing once the run is warm.

#include "script/builtins/builtin_call.h"
#include "script/builtins/builtin_table.h"
#include "script/code_nodes.h"
#include "script/compiler.h"
#include "script/messages.h"
#include "script/nodes.h"

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace kivora::script {

namespace {

// More nested calls than the limit are refused: reported, and no argument runs.
bool refuseTooDeep(ScriptContext& ctx, std::string_view name, std::size_t count, int line) {
  if (ctx.state.callDepth <= kMaxCallDepth) return false;
  ctx.fail(kErrTooManyCalls, line, messages::tooManyCalls(ctx.japanese(), name, count, line));
  return true;
}

// The argument values of a builtin call: up to four in place, more on the heap.
class ArgumentList {
 public:
  explicit ArgumentList(std::size_t count) : count_(count) {
    if (count > kLocal) {
      spillValues_ = std::make_unique<Scratch[]>(count);
      spillPointers_ = std::make_unique<const Value*[]>(count);
    }
  }
  Scratch& scratch(std::size_t i) { return spillValues_ ? spillValues_[i] : local_[i]; }
  const Value*& pointer(std::size_t i) { return spillPointers_ ? spillPointers_[i] : pointers_[i]; }
  Arguments arguments() const {
    return {spillPointers_ ? spillPointers_.get() : pointers_.data(), count_};
  }

 private:
  static constexpr std::size_t kLocal = 4;
  std::array<Scratch, kLocal> local_;
  std::array<const Value*, kLocal> pointers_{};
  std::unique_ptr<Scratch[]> spillValues_;
  std::unique_ptr<const Value*[]> spillPointers_;
  std::size_t count_;
};

// --- user functions ----------------------------------------------------------

class UserCall final : public Expression {
 public:
  UserCall(int line, std::string_view name, CompiledFunction& function, Compiler& compiler,
           std::vector<Expression*> arguments)
      : Expression(line, {}),
        name_(name),
        function_(function),
        compiler_(compiler),
        arguments_(std::move(arguments)),
        bound_(std::min(arguments_.size(), function.parameters.size())) {}

  void run(ScriptContext& ctx) override {
    if (invoke(ctx) == Outcome::kReturned) (void)ctx.takeReturn();
  }
  Value value(ScriptContext& ctx) override {
    switch (invoke(ctx)) {
      case Outcome::kReturned:
        return ctx.takeReturn();
      case Outcome::kRefused:
        return defaultValueFor(name_);
      default:
        return Value{};
    }
  }
  // The default value of a refused call reads as 0 and false, text or not.
  std::int32_t integer(ScriptContext& ctx) override {
    if (invoke(ctx) != Outcome::kReturned) return 0;
    const std::int32_t n = ctx.returnedValue().toInt();
    ctx.endReturn();
    return n;
  }
  bool truth(ScriptContext& ctx) override {
    if (invoke(ctx) != Outcome::kReturned) return false;
    const bool t = ctx.returnedValue().isTrue();
    ctx.endReturn();
    return t;
  }
  Operand operand(ScriptContext& ctx, Scratch& scratch) override {
    switch (invoke(ctx)) {
      case Outcome::kReturned: {
        const Value& r = ctx.returnedValue();
        if (r.isString || r.isArray) return {&scratch.emplace(ctx.takeReturn()), 0};
        const std::int32_t n = r.intValue;
        ctx.endReturn();
        return {nullptr, n};
      }
      case Outcome::kRefused:
        return {&scratch.emplace(defaultValueFor(name_)), 0};
      default:
        return {nullptr, 0};
    }
  }

 private:
  // kReturned: a return gave the call its value, waiting in the context for
  // the caller to take.
  enum class Outcome { kEnded, kReturned, kRefused };

  Outcome invoke(ScriptContext& ctx) {
    ctx.checkStack();
    if (ctx.state.callDepth > kMaxCallDepth) {
      refuse(ctx);
      return Outcome::kRefused;
    }
    if (!function_.body) function_.body = compiler_.functionBody(function_);
    const std::size_t base = ctx.savedCount;
    bind(ctx);
    ++ctx.state.callDepth;
    try {
      function_.body->run(ctx);
    } catch (const GotoException&) {
      // A goto may leave the function for a label of its caller.
      --ctx.state.callDepth;
      restore(ctx, base);
      throw;
    }
    --ctx.state.callDepth;
    // The body's value is not the call's: only a return gives one.
    const bool returned = ctx.state.flowState == kFlowReturn;
    restore(ctx, base);
    return returned ? Outcome::kReturned : Outcome::kEnded;
  }

  [[gnu::cold]] void refuse(ScriptContext& ctx) const {
    ctx.fail(kErrTooManyCalls, line,
             messages::tooManyCalls(ctx.japanese(), name_, arguments_.size(), line));
  }

  // Binds the parameters one by one, so a later argument sees the earlier
  // parameters; each one's value from before the call is saved first (a name
  // listed twice keeps the value it had before the call). An argument that
  // may change the parameter's variable runs after the value it had is saved;
  // any other runs first, and the value is then moved out rather than copied.
  [[gnu::always_inline]] void bind(ScriptContext& ctx) {
    for (std::size_t i = 0; i < bound_; ++i) {
      const Parameter& parameter = function_.parameters[i];
      Variable& place = *parameter.place;
      Expression& argument = *arguments_[i];
      const bool saveFirst = parameter.saved && !argument.traits.leavesVariablesAlone;
      if (saveFirst) save(ctx, parameter, false);
      if (argument.traits.alwaysInteger) {
        const std::int32_t n = argument.integer(ctx);
        if (parameter.saved && !saveFirst) save(ctx, parameter, true);
        setInteger(VariableTable::define(place), n);
        continue;
      }
      Scratch scratch;
      const Operand o = argument.operand(ctx, scratch);
      if (!o.value || o.value->isPlainInteger()) {
        const std::int32_t n = o.value ? o.value->intValue : o.integer;
        if (parameter.saved && !saveFirst) save(ctx, parameter, true);
        setInteger(VariableTable::define(place), n);
        continue;
      }
      Value v = scratch && o.value == &*scratch ? std::move(*scratch) : Value(*o.value);
      if (parameter.saved && !saveFirst) save(ctx, parameter, true);
      VariableTable::define(place) = std::move(v);
    }
  }

  // Saves the parameter's value (the default value when it has none) in the
  // next entry of the saved list; byMove leaves the parameter's value behind
  // as anything, to be replaced at once.
  [[gnu::always_inline]] static void save(ScriptContext& ctx, const Parameter& parameter,
                                          bool byMove) {
    std::vector<SavedParameter>& list = ctx.savedParameters;
    if (ctx.savedCount == list.size()) list.emplace_back();
    SavedParameter& saved = list[ctx.savedCount++];
    Variable& place = *parameter.place;
    if (!place.defined) {
      saved.plainInteger = parameter.name.empty() || parameter.name.back() != '$';
      saved.integer = 0;
      if (!saved.plainInteger) saved.value = defaultValueFor(parameter.name);
    } else if (place.value.isPlainInteger()) {
      saved.plainInteger = true;
      saved.integer = place.value.intValue;
    } else {
      saved.plainInteger = false;
      if (byMove) {
        swap(saved.value, place.value);
      } else {
        saved.value = place.value;
      }
    }
  }

  // Puts every saved value back (a parameter that did not exist before the
  // call exists afterwards with its default value). What a parameter held
  // during the call may stay in the saved list for a later call to reuse,
  // unless it holds memory worth giving back.
  [[gnu::always_inline]] void restore(ScriptContext& ctx, std::size_t base) noexcept {
    SavedParameter* saved = ctx.savedParameters.data() + base;
    for (std::size_t i = 0; i < bound_; ++i) {
      const Parameter& parameter = function_.parameters[i];
      if (!parameter.saved) continue;
      Value& value = VariableTable::define(*parameter.place);
      if (saved->plainInteger) {
        setInteger(value, saved->integer);
      } else {
        swap(value, saved->value);
        if (!saved->value.elements.empty() || saved->value.strValue.capacity() > kKeptText)
          saved->value = Value{};
      }
      ++saved;
    }
    ctx.savedCount = base;
  }

  // Texts up to this long stay in the saved list when a call ends.
  static constexpr std::size_t kKeptText = 64;

  const std::string_view name_;
  CompiledFunction& function_;
  Compiler& compiler_;
  const std::vector<Expression*> arguments_;
  const std::size_t bound_;  // arguments beyond the parameters are never evaluated
};

// --- builtins ----------------------------------------------------------------

class BuiltinCallNode final : public Expression {
 public:
  BuiltinCallNode(int line, std::string_view name, const BuiltinEntry& entry,
                  std::vector<Expression*> arguments)
      : Expression(line, {}),
        name_(name),
        entry_(entry),
        arguments_(std::move(arguments)),
        lendFrom_(lendFrom(entry, arguments_)) {}

  Value value(ScriptContext& ctx) override {
    ctx.checkStack();
    if (refuseTooDeep(ctx, name_, arguments_.size(), line)) return defaultValueFor(name_);
    ArgumentList list(arguments_.size());
    for (std::size_t i = 0; i < arguments_.size(); ++i) {
      Scratch& scratch = list.scratch(i);
      list.pointer(i) = i >= lendFrom_ ? &arguments_[i]->view(ctx, scratch)
                                       : &scratch.emplace(arguments_[i]->value(ctx));
    }
    BuiltinCall call{ctx, name_, line, list.arguments()};
    return entry_.handler(call);
  }

 private:
  // The first argument a builtin that reads only its arguments may read where
  // it is: from there on no argument can change a variable, so a variable
  // still holds, at the call, what a copy would have taken. Others get copies.
  static std::size_t lendFrom(const BuiltinEntry& entry, const std::vector<Expression*>& args) {
    if (!entry.readsOnlyArguments) return args.size();
    std::size_t from = args.empty() ? 0 : args.size() - 1;
    while (from > 0 && args[from]->traits.leavesVariablesAlone) --from;
    return from;
  }

  const std::string_view name_;
  const BuiltinEntry& entry_;
  const std::vector<Expression*> arguments_;
  const std::size_t lendFrom_;
};

// Neither a user function nor a builtin taking that many arguments.
class UnresolvedCall final : public Expression {
 public:
  UnresolvedCall(int line, std::string_view name, std::vector<Expression*> arguments)
      : Expression(line, {}), name_(name), arguments_(std::move(arguments)) {}

  Value value(ScriptContext& ctx) override {
    ctx.checkStack();
    if (refuseTooDeep(ctx, name_, arguments_.size(), line)) return defaultValueFor(name_);
    ArgumentList list(arguments_.size());
    for (std::size_t i = 0; i < arguments_.size(); ++i)
      list.pointer(i) = &list.scratch(i).emplace(arguments_[i]->value(ctx));
    return dispatchBuiltin(ctx, name_, list.arguments(), line);
  }

 private:
  const std::string_view name_;
  const std::vector<Expression*> arguments_;
};

// --- CB. calls ---------------------------------------------------------------

class ApplicationCall final : public Expression {
 public:
  ApplicationCall(int line, std::string_view name, std::vector<Expression*> arguments)
      : Expression(line, {}), name_(name), arguments_(std::move(arguments)) {}

  Value value(ScriptContext& ctx) override {
    ctx.checkStack();
    if (!ctx.host.applicationFunction) {
      ctx.fail(
          kErrUnknownFunction, line,
          messages::unknownApplicationFunction(ctx.japanese(), name_, arguments_.size(), line));
      return Value{};
    }
    std::vector<Value> values;
    values.reserve(arguments_.size());
    for (Expression* argument : arguments_) values.push_back(argument->value(ctx));
    std::vector<HostValue> hostValues(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      hostValues[i].isString = values[i].isString;
      hostValues[i].intValue = values[i].intValue;
      if (values[i].isString) hostValues[i].text = utf8ToWide(values[i].strValue);
    }
    const std::u16string wideName = utf8ToWide(name_);
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

 private:
  const std::string_view name_;
  const std::vector<Expression*> arguments_;
};

}  // namespace

Expression* makeUserCall(Program& program, int line, std::string_view name,
                         CompiledFunction& function, Compiler& compiler,
                         std::vector<Expression*> arguments) {
  return program.make<UserCall>(line, name, function, compiler, std::move(arguments));
}

Expression* makeBuiltinCall(Program& program, int line, std::string_view name,
                            const BuiltinEntry& entry, std::vector<Expression*> arguments) {
  return program.make<BuiltinCallNode>(line, name, entry, std::move(arguments));
}

Expression* makeUnresolvedCall(Program& program, int line, std::string_view name,
                               std::vector<Expression*> arguments) {
  return program.make<UnresolvedCall>(line, name, std::move(arguments));
}

Expression* makeApplicationCall(Program& program, int line, std::string_view name,
                                std::vector<Expression*> arguments) {
  return program.make<ApplicationCall>(line, name, std::move(arguments));
}

Value dispatchBuiltin(ScriptContext& ctx, std::string_view name, Arguments args, int line) {
  std::string key = toUpperAscii(name);
  if (!key.empty() && key.back() == '$') key.pop_back();
  const std::size_t count = args.size();
  if (const BuiltinEntry* entry = findBuiltin(key);
      entry && entry->minArgs <= count && count <= entry->maxArgs) {
    BuiltinCall call{ctx, name, line, args};
    return entry->handler(call);
  }
  if (key == "ASSERT" && count == 2) {
    if (args[0]->toInt() == 0) ctx.fail(kErrAssert, line, args[1]->toString());
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
