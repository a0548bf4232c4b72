// Assignments and array elements: every way a script changes a variable by
// its name. A variable is made only after the right side ran, which may read it.

#include "script/arithmetic.h"
#include "script/code_nodes.h"
#include "script/messages.h"
#include "script/nodes.h"

#include <string>

namespace kivora::script {

namespace {

using namespace arithmetic;

// The variable's integer, read by the variable rule (constant, unassigned check).
i32 readInteger(ScriptContext& ctx, const Variable& place, std::string_view name,
                const std::optional<i32>& constant, int line) {
  if (place.defined) return place.value.toInt();
  return ctx.readMissing(name, constant ? &*constant : nullptr, line).toInt();
}

bool endsWithDollar(std::string_view name) { return !name.empty() && name.back() == '$'; }

// v becomes the plain text it holds, as an assignment of that text would
// leave it: no array part, no integer.
void keepOnlyText(Value& v) noexcept {
  v.isString = 1;
  v.isArray = 0;
  v.intValue = 0;
  if (!v.elements.empty()) std::vector<Value>().swap(v.elements);
}

// --- elements ----------------------------------------------------------------

class ElementRead final : public Expression {
 public:
  ElementRead(int line, Variable& place, std::string_view name, Expression* index)
      : Expression(line, {}), place_(place), name_(name), index_(index) {}

  Value value(ScriptContext& ctx) override {
    if (const Value* e = element(ctx)) return *e;
    return defaultValueFor(name_);
  }
  // The default value reads as 0 and false, text or not.
  i32 integer(ScriptContext& ctx) override {
    const Value* e = element(ctx);
    return e ? e->toInt() : 0;
  }
  bool truth(ScriptContext& ctx) override {
    const Value* e = element(ctx);
    return e && e->isTrue();
  }
  const Value& view(ScriptContext& ctx, Scratch& scratch) override {
    if (const Value* e = element(ctx)) return *e;
    return scratch.emplace(defaultValueFor(name_));
  }

 private:
  // The element read (the array grows to hold it), or null when the read
  // gives the name's default value.
  Value* element(ScriptContext& ctx) {
    const i32 i = index_->integer(ctx);
    if (i < 0) {
      ctx.fail(kErrInvalidIndex, line, messages::invalidIndex(ctx.japanese(), name_, i, line));
      return nullptr;
    }
    if (!place_.defined) return nullptr;
    return &place_.value.element(static_cast<std::size_t>(i));
  }

  Variable& place_;
  const std::string_view name_;
  Expression* const index_;
};

class ElementWrite final : public Expression {
 public:
  ElementWrite(int line, Variable& place, std::string_view name, Expression* index,
               Expression* value)
      : Expression(line, {}), place_(place), name_(name), index_(index), value_(value) {}

  Value value(ScriptContext& ctx) override { return store(ctx); }
  void run(ScriptContext& ctx) override { store(ctx); }

 private:
  // The index first, then the value; the variable becomes (or stays) an array
  // that knows its own name.
  Value& store(ScriptContext& ctx) {
    i32 i = index_->integer(ctx);
    Value v = value_->value(ctx);
    if (i < 0) {
      ctx.fail(kErrInvalidIndex, line, messages::invalidIndex(ctx.japanese(), name_, i, line));
      i = 0;
    }
    Value& var = VariableTable::define(place_);
    Value& element = var.element(static_cast<std::size_t>(i));
    element = std::move(v);
    if (var.strValue != name_) var.strValue = name_;
    return element;
  }

  Variable& place_;
  const std::string_view name_;
  Expression* const index_;
  Expression* const value_;
};

// --- assignments -------------------------------------------------------------

// What every assignment node holds: the variable and how to read it.
class AssignmentBase : public Expression {
 public:
  AssignmentBase(int line, Variable& place, std::string_view name, std::optional<i32> constant,
                 Expression* value, bool integerResult = false)
      : Expression(line, {integerResult, false}),
        target(place),
        targetName(name),
        targetConstant(constant),
        source(value) {}

 protected:
  i32 readInteger(ScriptContext& ctx) const {
    return script::readInteger(ctx, target, targetName, targetConstant, line);
  }
  Value read(ScriptContext& ctx) const {
    if (target.defined) return target.value;
    return ctx.readMissing(targetName, targetConstant ? &*targetConstant : nullptr, line);
  }
  Value& define() const { return VariableTable::define(target); }
  // The variable now holds n, or v; the place it holds it in. Whatever the
  // new content is made of is worked out before the variable is touched.
  Value& storeInteger(i32 n) const {
    Value& v = define();
    setInteger(v, n);
    return v;
  }
  Value& store(Value v) const {
    Value& slot = define();
    slot = std::move(v);
    return slot;
  }

  Variable& target;
  const std::string_view targetName;
  const std::optional<i32> targetConstant;
  Expression* const source;
};

// NAME = value: the whole value is replaced; the expression's value is the
// variable's new one.
class PlainAssignment final : public AssignmentBase {
 public:
  using AssignmentBase::AssignmentBase;
  Value value(ScriptContext& ctx) override { return assign(ctx); }
  void run(ScriptContext& ctx) override { assign(ctx); }

 private:
  Value& assign(ScriptContext& ctx) {
    if (source->traits.alwaysInteger) return storeInteger(source->integer(ctx));
    // A plain integer (a call's result, say) is stored without a Value made
    // for it; a value read in place is copied, one in scratch moved.
    Scratch scratch;
    const Operand o = source->operand(ctx, scratch);
    if (!o.value || o.value->isPlainInteger())
      return storeInteger(o.value ? o.value->intValue : o.integer);
    return store(scratch && o.value == &*scratch ? std::move(*scratch) : Value(*o.value));
  }
};

// NAME = NAME + tail with a tail that cannot change NAME: a text variable gets
// the tail appended where it is instead of being copied whole. Anything else
// goes the ordinary way.
class AppendAssignment final : public AssignmentBase {
 public:
  AppendAssignment(int line, Variable& place, std::string_view name, std::optional<i32> constant,
                   Expression* sum, Expression* tail)
      : AssignmentBase(line, place, name, constant, sum), tail_(tail) {}
  Value value(ScriptContext& ctx) override { return assign(ctx); }
  void run(ScriptContext& ctx) override { assign(ctx); }

 private:
  Value& assign(ScriptContext& ctx) {
    if (target.defined && target.value.isString) {
      Value& v = target.value;
      Scratch scratch;
      const Operand tail = tail_->operand(ctx, scratch);
      if (tail.value == &v) {
        const std::string copy = v.strValue;
        v.strValue += copy;
      } else {
        IntegerText digits;
        v.strValue += textOf(tail, digits);
      }
      keepOnlyText(v);
      return v;
    }
    return store(source->value(ctx));
  }

  Expression* const tail_;
};

// += : text when the variable is a text (or a missing name ending in '$'),
// else integer addition; either way a whole new value.
class AddAssignment final : public AssignmentBase {
 public:
  using AssignmentBase::AssignmentBase;
  Value value(ScriptContext& ctx) override { return assign(ctx); }
  void run(ScriptContext& ctx) override { assign(ctx); }

 private:
  Value& assign(ScriptContext& ctx) {
    const bool isText = target.defined ? target.value.isString != 0 : endsWithDollar(targetName);
    if (isText) return appendText(ctx);
    const i32 n = readInteger(ctx);
    const i32 m = source->integer(ctx);
    return storeInteger(add(n, m));
  }

  Value& appendText(ScriptContext& ctx) {
    // When the right side cannot change the variable, the text is appended in
    // place: the same result as reading the variable first, without the copies.
    if (target.defined && source->traits.leavesVariablesAlone) {
      Value& current = target.value;
      Scratch scratch;
      const Value& r = source->view(ctx, scratch);
      if (&r == &current) {
        const std::string copy = r.strValue;
        current.strValue += copy;
      } else {
        IntegerText digits;
        current.strValue += textOf(r, digits);
      }
      keepOnlyText(current);
      return current;
    }
    Value before = read(ctx);  // a text: the variable's, or "" for a missing name$
    Scratch scratch;
    const Value& r = source->view(ctx, scratch);
    IntegerText digits;
    before.strValue += textOf(r, digits);
    return store(Value::string(std::move(before.strValue)));
  }
};

// /= and %=: the right side first; dividing by 0 is reported and leaves the
// variable alone (the expression's value is then int 0).
class DivisionAssignment final : public AssignmentBase {
 public:
  DivisionAssignment(int line, Variable& place, std::string_view name, std::optional<i32> constant,
                     Expression* value, bool modulo)
      : AssignmentBase(line, place, name, constant, value, true), modulo_(modulo) {}
  Value value(ScriptContext& ctx) override {
    const Value* v = assign(ctx);
    return v ? *v : Value{};
  }
  void run(ScriptContext& ctx) override { assign(ctx); }

 private:
  Value* assign(ScriptContext& ctx) {
    const i32 d = source->integer(ctx);
    if (d == 0) {
      ctx.fail(modulo_ ? kErrModuloByZero : kErrDivisionByZero, line,
               messages::divisionByZero(ctx.japanese(), modulo_ ? "%=" : "/=", line));
      return nullptr;
    }
    const i32 n = readInteger(ctx);
    return &storeInteger(modulo_ ? remainder(n, d) : quotient(n, d));
  }

  const bool modulo_;
};

// -=, *=, <<=, >>=, |=, ^=, &=, **=: on the variable's integer, read before
// the right side runs.
template <i32 (*Apply)(i32, i32)>
class IntegerAssignment final : public AssignmentBase {
 public:
  IntegerAssignment(int line, Variable& place, std::string_view name, std::optional<i32> constant,
                    Expression* value)
      : AssignmentBase(line, place, name, constant, value, true) {}
  Value value(ScriptContext& ctx) override { return assign(ctx); }
  void run(ScriptContext& ctx) override { assign(ctx); }

 private:
  Value& assign(ScriptContext& ctx) {
    const i32 n = readInteger(ctx);
    const i32 m = source->integer(ctx);
    return storeInteger(Apply(n, m));
  }
};

// NAME++ and NAME--: the integer before the step.
class PostStep final : public AssignmentBase {
 public:
  PostStep(int line, Variable& place, std::string_view name, std::optional<i32> constant, i32 step)
      : AssignmentBase(line, place, name, constant, nullptr, true), step_(step) {}
  Value value(ScriptContext& ctx) override { return Value::integer(integer(ctx)); }
  i32 integer(ScriptContext& ctx) override {
    const i32 d = readInteger(ctx);
    setInteger(define(), add(d, step_));
    return d;
  }
  void run(ScriptContext& ctx) override { integer(ctx); }
  Operand operand(ScriptContext& ctx, Scratch&) override { return {nullptr, integer(ctx)}; }

 private:
  const i32 step_;
};

}  // namespace

Expression* makeElementRead(Program& program, int line, Variable& place, std::string_view name,
                            Expression* index) {
  return program.make<ElementRead>(line, place, name, index);
}

Expression* makeElementWrite(Program& program, int line, Variable& place, std::string_view name,
                             Expression* index, Expression* value) {
  return program.make<ElementWrite>(line, place, name, index, value);
}

Expression* makeAssignment(Program& program, int line, int op, Variable& place,
                           std::string_view name, std::optional<i32> constant, Expression* value) {
  switch (op) {
    case kAssignPlain:
      return program.make<PlainAssignment>(line, place, name, constant, value);
    case kAssignAdd:
      return program.make<AddAssignment>(line, place, name, constant, value);
    case kAssignSub:
      return program.make<IntegerAssignment<sub>>(line, place, name, constant, value);
    case kAssignMul:
      return program.make<IntegerAssignment<mul>>(line, place, name, constant, value);
    case kAssignDiv:
    case kAssignMod:
      return program.make<DivisionAssignment>(line, place, name, constant, value, op == kAssignMod);
    case kAssignShr:
      return program.make<IntegerAssignment<shiftRight>>(line, place, name, constant, value);
    case kAssignShl:
      return program.make<IntegerAssignment<shiftLeft>>(line, place, name, constant, value);
    case kAssignOr:
      return program.make<IntegerAssignment<bitOr>>(line, place, name, constant, value);
    case kAssignXor:
      return program.make<IntegerAssignment<bitXor>>(line, place, name, constant, value);
    case kAssignAnd:
      return program.make<IntegerAssignment<bitAnd>>(line, place, name, constant, value);
    case kAssignPow:
      return program.make<IntegerAssignment<power>>(line, place, name, constant, value);
    case kAssignPostInc:
      return program.make<PostStep>(line, place, name, constant, 1);
    default:  // kAssignPostDec
      return program.make<PostStep>(line, place, name, constant, -1);
  }
}

Expression* makeAppendAssignment(Program& program, int line, Variable& place, std::string_view name,
                                 std::optional<i32> constant, Expression* sum, Expression* tail) {
  return program.make<AppendAssignment>(line, place, name, constant, sum, tail);
}

}  // namespace kivora::script
