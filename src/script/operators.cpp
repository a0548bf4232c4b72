// Operators. Every operator but + gives an integer, so those are computed as
// integers; + and the comparisons look at their operands' types and take them
// as Operands: an integer, or a value read in place where that is safe.
// Operands are evaluated left first, always.
//
// The common operators come in forms for the operands the compiler saw: a
// variable or an integer literal is read directly rather than through a
// virtual call.

#include "script/arithmetic.h"
#include "script/code_nodes.h"
#include "script/messages.h"
#include "script/nodes.h"

#include <string>

namespace kivora::script {

namespace {

using namespace arithmetic;

// --- how an operator reads its operands --------------------------------------

struct AnyReader {
  Expression* e;
  i32 integer(ScriptContext& ctx) const { return e->integer(ctx); }
  Operand operand(ScriptContext& ctx, Scratch& scratch) const { return e->operand(ctx, scratch); }
};

struct VariableReader {
  VariableRead* v;
  [[gnu::always_inline]] i32 integer(ScriptContext& ctx) const { return v->integer(ctx); }
  [[gnu::always_inline]] Operand operand(ScriptContext& ctx, Scratch& scratch) const {
    if (v->place.defined) return {&v->place.value, 0};
    return {&scratch.emplace(v->missing(ctx)), 0};
  }
};

struct IntegerReader {
  i32 number;
  i32 integer(ScriptContext&) const { return number; }
  Operand operand(ScriptContext&, Scratch&) const { return {nullptr, number}; }
};

// Calls make(leftReader, rightReader) with the readers that fit the operands;
// only the common operators (Specialize) get a form for each pair.
template <bool Specialize, typename Make>
Expression* withReaders(Expression* left, Expression* right, Make make) {
  if constexpr (Specialize) {
    auto* leftVariable = dynamic_cast<VariableRead*>(left);
    auto* rightVariable = dynamic_cast<VariableRead*>(right);
    auto* rightNumber = dynamic_cast<IntegerConstant*>(right);
    if (leftVariable) {
      if (rightVariable) return make(VariableReader{leftVariable}, VariableReader{rightVariable});
      if (rightNumber)
        return make(VariableReader{leftVariable}, IntegerReader{rightNumber->number});
      return make(VariableReader{leftVariable}, AnyReader{right});
    }
    if (rightVariable) return make(AnyReader{left}, VariableReader{rightVariable});
    if (rightNumber) return make(AnyReader{left}, IntegerReader{rightNumber->number});
  }
  return make(AnyReader{left}, AnyReader{right});
}

Traits binaryTraits(int op, const Expression* left, const Expression* right) {
  return {op != kOpAdd || left->traits.alwaysInteger,
          left->traits.leavesVariablesAlone && right->traits.leavesVariablesAlone};
}

// What every operator with an integer result shares; Derived::compute gives
// the integer (called directly, not through the virtual integer()).
template <typename Derived>
class IntegerResult : public Expression {
 public:
  using Expression::Expression;
  Value value(ScriptContext& ctx) override { return Value::integer(self().compute(ctx)); }
  i32 integer(ScriptContext& ctx) final { return self().compute(ctx); }
  bool truth(ScriptContext& ctx) final { return self().compute(ctx) != 0; }
  const Value& view(ScriptContext& ctx, Scratch& scratch) final {
    return scratch.emplace(Value::integer(self().compute(ctx)));
  }
  Operand operand(ScriptContext& ctx, Scratch&) final { return {nullptr, self().compute(ctx)}; }

 private:
  Derived& self() { return static_cast<Derived&>(*this); }
};

// --- integer operators -------------------------------------------------------

template <i32 (*Apply)(i32, i32), typename L, typename R>
class IntegerOperator final : public IntegerResult<IntegerOperator<Apply, L, R>> {
 public:
  IntegerOperator(int line, Traits traits, L left, R right)
      : IntegerResult<IntegerOperator>(line, traits), left_(left), right_(right) {}
  i32 compute(ScriptContext& ctx) {
    const i32 a = left_.integer(ctx);
    return Apply(a, right_.integer(ctx));
  }

 private:
  const L left_;
  const R right_;
};

template <i32 (*Apply)(i32, i32), bool Specialize = false>
Expression* makeInteger(Program& program, int line, Traits traits, Expression* left,
                        Expression* right) {
  return withReaders<Specialize>(left, right, [&](auto l, auto r) -> Expression* {
    return program.make<IntegerOperator<Apply, decltype(l), decltype(r)>>(line, traits, l, r);
  });
}

// / and %: dividing by 0 is reported and gives 0.
template <bool Modulo, typename L, typename R>
class Division final : public IntegerResult<Division<Modulo, L, R>> {
 public:
  Division(int line, Traits traits, L left, R right)
      : IntegerResult<Division>(line, traits), left_(left), right_(right) {}
  i32 compute(ScriptContext& ctx) {
    const i32 a = left_.integer(ctx);
    const i32 b = right_.integer(ctx);
    if (b == 0) {
      ctx.fail(Modulo ? kErrModuloByZero : kErrDivisionByZero, this->line,
               messages::divisionByZero(ctx.japanese(), Modulo ? "%" : "/", this->line));
      return 0;
    }
    return Modulo ? remainder(a, b) : quotient(a, b);
  }

 private:
  const L left_;
  const R right_;
};

template <bool Modulo>
Expression* makeDivision(Program& program, int line, Traits traits, Expression* left,
                         Expression* right) {
  return withReaders<true>(left, right, [&](auto l, auto r) -> Expression* {
    return program.make<Division<Modulo, decltype(l), decltype(r)>>(line, traits, l, r);
  });
}

// && and ||: the integer forms of both sides; the right one only when the
// left does not decide.
template <bool And>
class Logical final : public IntegerResult<Logical<And>> {
 public:
  Logical(int line, Traits traits, Expression* left, Expression* right)
      : IntegerResult<Logical>(line, traits), left_(left), right_(right) {}
  i32 compute(ScriptContext& ctx) {
    if ((left_->integer(ctx) != 0) != And) return And ? 0 : 1;
    return right_->integer(ctx) != 0 ? 1 : 0;
  }

 private:
  Expression* const left_;
  Expression* const right_;
};

// --- operands read in place --------------------------------------------------

// The left operand, read in place only when reading the right one cannot
// change it; otherwise it is the copy the language's rule asks for (an
// integer is a copy already).
template <typename L>
[[gnu::always_inline]] inline Operand leftOperand(const L& reader, bool copy, ScriptContext& ctx,
                                                  Scratch& scratch) {
  Operand l = reader.operand(ctx, scratch);
  if (copy && l.value && !(scratch && l.value == &*scratch)) l.value = &scratch.emplace(*l.value);
  return l;
}

// ==, !=, <, ... : a string on either side makes it a byte-wise text
// comparison, else the integers are compared.
int compareTexts(const Operand& l, const Operand& r) {
  IntegerText lDigits;
  IntegerText rDigits;
  const int c = textOf(l, lDigits).compare(textOf(r, rDigits));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

template <bool (*Holds)(int)>
struct Ordering {
  static bool integers(i32 a, i32 b) { return Holds(a < b ? -1 : (a > b ? 1 : 0)); }
  static bool texts(const Operand& l, const Operand& r) { return Holds(compareTexts(l, r)); }
};

// === and !==: a string and a non-string are never equal.
template <bool Equal>
struct Strictly {
  static bool integers(i32 a, i32 b) { return (a == b) == Equal; }
  static bool texts(const Operand& l, const Operand& r) {
    const bool same = l.isString() == r.isString() && l.value->strValue == r.value->strValue;
    return same == Equal;
  }
};

bool isZero(int c) { return c == 0; }
bool isNotZero(int c) { return c != 0; }
bool isNegative(int c) { return c < 0; }
bool isPositive(int c) { return c > 0; }
bool isNotPositive(int c) { return c <= 0; }
bool isNotNegative(int c) { return c >= 0; }

template <typename Test, typename L, typename R>
class Comparison final : public IntegerResult<Comparison<Test, L, R>> {
 public:
  Comparison(int line, Traits traits, L left, R right, bool copyLeft)
      : IntegerResult<Comparison>(line, traits), left_(left), right_(right), copyLeft_(copyLeft) {}
  i32 compute(ScriptContext& ctx) {
    Scratch leftScratch;
    Scratch rightScratch;
    const Operand l = leftOperand(left_, copyLeft_, ctx, leftScratch);
    const Operand r = right_.operand(ctx, rightScratch);
    if (!l.isString() && !r.isString()) return Test::integers(l.rawInteger(), r.rawInteger());
    return Test::texts(l, r) ? 1 : 0;
  }

 private:
  const L left_;
  const R right_;
  const bool copyLeft_;
};

template <typename Test, bool Specialize = true>
Expression* makeComparison(Program& program, int line, Traits traits, Expression* left,
                           Expression* right) {
  const bool copyLeft = !right->traits.leavesVariablesAlone;
  return withReaders<Specialize>(left, right, [&](auto l, auto r) -> Expression* {
    return program.make<Comparison<Test, decltype(l), decltype(r)>>(line, traits, l, r, copyLeft);
  });
}

// +: an integer unless the left operand is a string; then the joined text.
// With a non-string on the left the sum is the left integer plus the right
// operand's integer (its atol when it is a string), so the right operand
// is then read as an integer. (With a left operand that is always an integer,
// + is IntegerOperator<add>.)
template <typename L, typename R>
class Addition final : public Expression {
 public:
  Addition(int line, Traits traits, L left, R right, bool copyLeft)
      : Expression(line, traits), left_(left), right_(right), copyLeft_(copyLeft) {}

  Value value(ScriptContext& ctx) override {
    Scratch scratch;
    const Operand o = sum(ctx, scratch);
    return o.value ? std::move(*scratch) : Value::integer(o.integer);
  }
  i32 integer(ScriptContext& ctx) override {
    Scratch scratch;
    const Operand o = sum(ctx, scratch);
    return o.value ? o.value->toInt() : o.integer;
  }
  bool truth(ScriptContext& ctx) override {
    Scratch scratch;
    const Operand o = sum(ctx, scratch);
    return o.value ? o.value->isTrue() : o.integer != 0;
  }
  const Value& view(ScriptContext& ctx, Scratch& scratch) override {
    const Operand o = sum(ctx, scratch);
    return o.value ? *o.value : scratch.emplace(Value::integer(o.integer));
  }
  Operand operand(ScriptContext& ctx, Scratch& scratch) override { return sum(ctx, scratch); }

 private:
  // The sum; a joined text is left in out.
  Operand sum(ScriptContext& ctx, Scratch& out) {
    Scratch leftScratch;
    const Operand l = left_.operand(ctx, leftScratch);
    if (!l.isString()) {
      const i32 a = l.rawInteger();
      return {nullptr, add(a, right_.integer(ctx))};
    }
    return join(ctx, l, leftScratch, out);
  }

  // The left operand's text followed by the right one's.
  Operand join(ScriptContext& ctx, Operand l, Scratch& leftScratch, Scratch& out) {
    // The left text is copied when reading the right operand could change it.
    const bool temporary = leftScratch && l.value == &*leftScratch;
    if (copyLeft_ && !temporary) l.value = &leftScratch.emplace(*l.value);
    Scratch rightScratch;
    const Operand r = right_.operand(ctx, rightScratch);
    IntegerText digits;
    const std::string_view tail = textOf(r, digits);
    std::string text;
    if (leftScratch && l.value == &*leftScratch) {
      text = std::move(leftScratch->strValue);  // a temporary: its text is taken over
    } else {
      text.reserve(l.value->strValue.size() + tail.size());
      text = l.value->strValue;
    }
    text += tail;
    return {&out.emplace(Value::string(std::move(text))), 0};
  }

  const L left_;
  const R right_;
  const bool copyLeft_;
};

Expression* makeAddition(Program& program, int line, Traits traits, Expression* left,
                         Expression* right) {
  if (left->traits.alwaysInteger) return makeInteger<add, true>(program, line, traits, left, right);
  const bool copyLeft = !right->traits.leavesVariablesAlone;
  return withReaders<true>(left, right, [&](auto l, auto r) -> Expression* {
    return program.make<Addition<decltype(l), decltype(r)>>(line, traits, l, r, copyLeft);
  });
}

// --- unary operators, ?: and the stack check ---------------------------------

template <i32 (*Apply)(i32)>
class UnaryOperator final : public IntegerResult<UnaryOperator<Apply>> {
 public:
  UnaryOperator(int line, Expression* operand)
      : IntegerResult<UnaryOperator>(line, {true, operand->traits.leavesVariablesAlone}),
        operand_(operand) {}
  i32 compute(ScriptContext& ctx) { return Apply(operand_->integer(ctx)); }

 private:
  Expression* const operand_;
};

i32 bitNot(i32 c) { return ~c; }
i32 logicalNot(i32 c) { return c == 0 ? 1 : 0; }

class Choice final : public Expression {
 public:
  Choice(int line, Expression* condition, Expression* thenValue, Expression* elseValue)
      : Expression(line, {thenValue->traits.alwaysInteger && elseValue->traits.alwaysInteger,
                          condition->traits.leavesVariablesAlone &&
                              thenValue->traits.leavesVariablesAlone &&
                              elseValue->traits.leavesVariablesAlone}),
        condition_(condition),
        then_(thenValue),
        else_(elseValue) {}
  Value value(ScriptContext& ctx) override { return pick(ctx)->value(ctx); }
  i32 integer(ScriptContext& ctx) override { return pick(ctx)->integer(ctx); }

 private:
  Expression* pick(ScriptContext& ctx) { return condition_->truth(ctx) ? then_ : else_; }
  Expression* const condition_;
  Expression* const then_;
  Expression* const else_;
};

class StackCheck final : public Expression {
 public:
  explicit StackCheck(Expression* inner) : Expression(inner->line, inner->traits), inner_(inner) {}
  void run(ScriptContext& ctx) override {
    ctx.checkStack();
    inner_->run(ctx);
  }
  Value value(ScriptContext& ctx) override {
    ctx.checkStack();
    return inner_->value(ctx);
  }
  i32 integer(ScriptContext& ctx) override {
    ctx.checkStack();
    return inner_->integer(ctx);
  }
  bool truth(ScriptContext& ctx) override {
    ctx.checkStack();
    return inner_->truth(ctx);
  }
  const Value& view(ScriptContext& ctx, Scratch& scratch) override {
    ctx.checkStack();
    return inner_->view(ctx, scratch);
  }
  Operand operand(ScriptContext& ctx, Scratch& scratch) override {
    ctx.checkStack();
    return inner_->operand(ctx, scratch);
  }

 private:
  Expression* const inner_;
};

}  // namespace

Expression* makeBinary(Program& program, int line, int op, Expression* left, Expression* right) {
  const Traits traits = binaryTraits(op, left, right);
  switch (op) {
    case kOpAnd:
      return program.make<Logical<true>>(line, traits, left, right);
    case kOpOr:
      return program.make<Logical<false>>(line, traits, left, right);
    case kOpAdd:
      return makeAddition(program, line, traits, left, right);
    case kOpSub:
      return makeInteger<sub, true>(program, line, traits, left, right);
    case kOpMul:
      return makeInteger<mul, true>(program, line, traits, left, right);
    case kOpDiv:
      return makeDivision<false>(program, line, traits, left, right);
    case kOpMod:
      return makeDivision<true>(program, line, traits, left, right);
    case kOpPow:
      return makeInteger<power>(program, line, traits, left, right);
    case kOpBitOr:
      return makeInteger<bitOr>(program, line, traits, left, right);
    case kOpBitAnd:
      return makeInteger<bitAnd, true>(program, line, traits, left, right);
    case kOpBitXor:
      return makeInteger<bitXor>(program, line, traits, left, right);
    case kOpShl:
      return makeInteger<shiftLeft>(program, line, traits, left, right);
    case kOpShr:
      return makeInteger<shiftRight>(program, line, traits, left, right);
    case kOpEq:
      return makeComparison<Ordering<isZero>>(program, line, traits, left, right);
    case kOpNe:
      return makeComparison<Ordering<isNotZero>>(program, line, traits, left, right);
    case kOpStrictEq:
      return makeComparison<Strictly<true>, false>(program, line, traits, left, right);
    case kOpStrictNe:
      return makeComparison<Strictly<false>, false>(program, line, traits, left, right);
    case kOpLt:
      return makeComparison<Ordering<isNegative>>(program, line, traits, left, right);
    case kOpGt:
      return makeComparison<Ordering<isPositive>>(program, line, traits, left, right);
    case kOpLe:
      return makeComparison<Ordering<isNotPositive>>(program, line, traits, left, right);
    case kOpGe:
      return makeComparison<Ordering<isNotNegative>>(program, line, traits, left, right);
    default:  // no other operator reaches the tree
      return program.make<IntegerConstant>(line, 0);
  }
}

Expression* makeUnary(Program& program, int line, int op, Expression* operand) {
  switch (op) {
    case kOpSub:
      return program.make<UnaryOperator<neg>>(line, operand);
    case kOpBitNot:
      return program.make<UnaryOperator<bitNot>>(line, operand);
    default:  // kOpNot
      return program.make<UnaryOperator<logicalNot>>(line, operand);
  }
}

Expression* makeChoice(Program& program, int line, Expression* condition, Expression* thenValue,
                       Expression* elseValue) {
  return program.make<Choice>(line, condition, thenValue, elseValue);
}

Expression* makeStackCheck(Program& program, Expression* inner) {
  return program.make<StackCheck>(inner);
}

}  // namespace kivora::script
