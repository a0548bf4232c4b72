#pragma once
// The compiled nodes the compiler makes, by family: literals and variable
// reads here (operators look at them to pick their fastest form), and the
// makers of every other node, each in its own file.

#include "script/code.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivora::script {

struct BuiltinEntry;

// --- literals and variable reads ----------------------------------------------

// An integer literal; also what a function definition, an omitted for part and
// a label leave in the tree (int 0), and an omitted for condition (int 1).
class IntegerConstant final : public Expression {
 public:
  IntegerConstant(int line, std::int32_t number)
      : Expression(line, {true, true}), number(number), value_(Value::integer(number)) {}
  void run(ScriptContext&) override {}
  Value value(ScriptContext&) override { return value_; }
  std::int32_t integer(ScriptContext&) override { return number; }
  bool truth(ScriptContext&) override { return number != 0; }
  const Value& view(ScriptContext&, Scratch&) override { return value_; }
  Operand operand(ScriptContext&, Scratch&) override { return {nullptr, number}; }

  const std::int32_t number;

 private:
  const Value value_;
};

class TextConstant final : public Expression {
 public:
  TextConstant(int line, std::string text)
      : Expression(line, {false, true}), value_(Value::string(std::move(text))) {}
  void run(ScriptContext&) override {}
  Value value(ScriptContext&) override { return value_; }
  const Value& view(ScriptContext&, Scratch&) override { return value_; }

 private:
  const Value value_;
};

// A variable read: the variable, else the constant of that name, else the
// unassigned rule (which reads never create a variable).
class VariableRead final : public Expression {
 public:
  VariableRead(int line, Variable& place, std::string_view name,
               std::optional<std::int32_t> constant)
      : Expression(line, {false, true}), place(place), name(name), constant_(constant) {}

  Value value(ScriptContext& ctx) override { return place.defined ? place.value : missing(ctx); }
  std::int32_t integer(ScriptContext& ctx) override {
    if (place.defined) return place.value.toInt();
    return constant_ ? *constant_ : missing(ctx).toInt();
  }
  bool truth(ScriptContext& ctx) override {
    if (place.defined) return place.value.isTrue();
    return constant_ ? *constant_ != 0 : missing(ctx).isTrue();
  }
  const Value& view(ScriptContext& ctx, Scratch& scratch) override {
    if (place.defined) return place.value;
    return scratch.emplace(missing(ctx));
  }
  Value missing(ScriptContext& ctx) const {
    return ctx.readMissing(name, constant_ ? &*constant_ : nullptr, line);
  }

  Variable& place;
  const std::string_view name;

 private:
  const std::optional<std::int32_t> constant_;
};

// --- variables changed by name, array elements (assignments.cpp) ----------------

// NAME[index]: the element (the array grows to hold it), or the name's
// default value for a missing variable or a negative index (reported).
Expression* makeElementRead(Program& program, int line, Variable& place, std::string_view name,
                            Expression* index);
// NAME[index] = value.
Expression* makeElementWrite(Program& program, int line, Variable& place, std::string_view name,
                             Expression* index, Expression* value);
// NAME op= value, NAME = value, NAME++, NAME-- (op is an OperatorCode's
// assignment form).
Expression* makeAssignment(Program& program, int line, int op, Variable& place,
                           std::string_view name, std::optional<std::int32_t> constant,
                           Expression* value);

// NAME = NAME + tail, where tail cannot change NAME: appends in place to a text.
Expression* makeAppendAssignment(Program& program, int line, Variable& place, std::string_view name,
                                 std::optional<std::int32_t> constant, Expression* sum,
                                 Expression* tail);

// --- operators (operators.cpp) -----------------------------------------------

Expression* makeBinary(Program& program, int line, int op, Expression* left, Expression* right);
Expression* makeUnary(Program& program, int line, int op, Expression* operand);
// condition ? thenValue : elseValue
Expression* makeChoice(Program& program, int line, Expression* condition, Expression* thenValue,
                       Expression* elseValue);
// The same expression, checking the stack first: the compiler puts one into
// every so many levels of a deep expression.
Expression* makeStackCheck(Program& program, Expression* inner);

// --- statements (statements.cpp) ---------------------------------------------

struct BlockPlan {
  int line = 0;
  std::vector<Statement*> statements;
  // Each label's position; a later label of the same name replaces an earlier one.
  std::map<std::string, std::size_t, std::less<>> labels;
  // Per statement: the position of the label a goto statement names when the
  // label is in this block, or -1.
  std::vector<std::ptrdiff_t> jumps;
};
Statement* makeBlock(Program& program, BlockPlan plan);
Statement* makeIf(Program& program, int line, Expression* condition, Statement* thenBlock,
                  Statement* elsePart);
// A loop whose body holds no statement asks the host for a stop after each turn.
Statement* makeWhile(Program& program, int line, Expression* condition, Statement* body,
                     bool endless, bool emptyBody);
Statement* makeRepeat(Program& program, int line, Statement* body, Expression* condition,
                      bool continueWhile, bool emptyBody);
Statement* makeFor(Program& program, int line, Expression* init, Expression* condition,
                   Expression* step, Statement* body, bool emptyBody);
Statement* makeExit(Program& program, int line, Expression* code);
Statement* makeBreak(Program& program, int line);
Statement* makeContinue(Program& program, int line);
Statement* makeReturn(Program& program, int line, Expression* value);
Statement* makeGoto(Program& program, int line, std::string label, Expression* target);

// --- calls (calls.cpp) -------------------------------------------------------

class Compiler;

// A parameter of a compiled function.
struct Parameter {
  Variable* place;
  std::string_view name;
  // False when an earlier parameter has the same name: its value from before
  // the call is saved only once.
  bool saved;
};

// A user function as the calls of one run see it.
struct CompiledFunction {
  const UserFunction& source;
  std::vector<Parameter> parameters;
  Statement* body = nullptr;  // compiled at the first call
};

Expression* makeUserCall(Program& program, int line, std::string_view name,
                         CompiledFunction& function, Compiler& compiler,
                         std::vector<Expression*> arguments);
Expression* makeBuiltinCall(Program& program, int line, std::string_view name,
                            const BuiltinEntry& entry, std::vector<Expression*> arguments);
// A name that is neither a user function nor a builtin taking that many
// arguments: ASSERT, or the unknown-function report.
Expression* makeUnresolvedCall(Program& program, int line, std::string_view name,
                               std::vector<Expression*> arguments);
Expression* makeApplicationCall(Program& program, int line, std::string_view name,
                                std::vector<Expression*> arguments);

}  // namespace kivora::script
