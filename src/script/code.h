#pragma once
// The form a script runs in. Before a run the compiler (compiler.h) turns the
// syntax tree into a tree of small objects, each of which does one thing in
// the quickest way its operands allow: every variable name is resolved to its
// place in the variable table, every call to its function, every constant
// looked up, and operators on integers never make a Value.
//
// Statements cooperate through ScriptState::flowState (break, continue, stop,
// and a return on its way to its call); goto travels as GotoException.

#include "script/context.h"
#include "script/value.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace kivora::script {

// Room for an operand's value when it cannot be read in place (see view).
using Scratch = std::optional<Value>;

// An operand of + or a comparison: an integer (value null), or a value read
// in place or held in a scratch.
struct Operand {
  const Value* value = nullptr;
  std::int32_t integer = 0;
  bool isString() const { return value && value->isString; }
  // intValue, which is what + and the comparisons use of a non-string.
  std::int32_t rawInteger() const { return value ? value->intValue : integer; }
};

// The text of an operand, for the comparisons and +.
inline std::string_view textOf(const Operand& o, IntegerText& digits) {
  if (o.value) return textOf(*o.value, digits);
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), o.integer).ptr;
  return {digits.data(), static_cast<std::size_t>(end - digits.data())};
}

// What the compiler knows of an expression before it runs.
struct Traits {
  // The value is an integer whatever the variables hold.
  bool alwaysInteger = false;
  // Running it cannot change any variable (no assignment, no call, no element
  // read, which grows arrays), so a variable read before it holds the same
  // value after it.
  bool leavesVariablesAlone = false;
};

class Statement {
 public:
  explicit Statement(int line) : line(line) {}
  virtual ~Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  virtual void run(ScriptContext& ctx) = 0;

  const int line;
};

class Expression : public Statement {
 public:
  Expression(int line, Traits traits) : Statement(line), traits(traits) {}

  // As a statement its value is not looked at, so nodes whose value would be
  // a copy skip making it.
  void run(ScriptContext& ctx) override { (void)value(ctx); }
  virtual Value value(ScriptContext& ctx) = 0;
  // value(ctx).toInt() and value(ctx).isTrue(), without the value where the
  // node can do without it.
  virtual std::int32_t integer(ScriptContext& ctx) { return value(ctx).toInt(); }
  virtual bool truth(ScriptContext& ctx) { return value(ctx).isTrue(); }
  // The value to be read at once, before anything else runs: a variable's own
  // storage (or a literal's) rather than a copy, else the value in scratch.
  virtual const Value& view(ScriptContext& ctx, Scratch& scratch) {
    return scratch.emplace(value(ctx));
  }
  // view, or just the integer when the node has one without making a value.
  virtual Operand operand(ScriptContext& ctx, Scratch& scratch) { return {&view(ctx, scratch), 0}; }

  const Traits traits;
};

// Owns every node of a compiled script. Nodes point at their children without
// owning them, so a tree of any depth is freed without recursion.
class Program {
 public:
  template <typename T, typename... Args>
  T* make(Args&&... args) {
    auto node = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = node.get();
    nodes_.push_back(std::move(node));
    return raw;
  }

 private:
  std::vector<std::unique_ptr<Statement>> nodes_;
};

}  // namespace kivora::script
