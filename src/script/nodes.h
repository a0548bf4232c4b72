#pragma once
// The syntax tree of KX-Script. Each node computes a Value with evaluate();
// loops, blocks and calls cooperate through ScriptState::flowState (break,
// continue, stop, and a return on its way to its call); goto travels as
// GotoException.

#include "script/node_ptr.h"
#include "script/value.h"
#include "script/variable_slot.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kivora::script {

class ScriptContext;
class UserFunction;

// Node kinds; binary and unary nodes carry their operator code instead.
enum NodeKind : int {
  kBlockNode = 0,
  kAssignNode = 1,
  kIfNode = 2,
  kWhileNode = 3,
  kDoWhileNode = 4,
  kForNode = 5,
  kExitNode = 6,
  kBreakNode = 7,
  kContinueNode = 8,
  kIntNode = 9,
  kStringNode = 10,
  kVarNode = 11,
  kCondNode = 12,
  kFuncCallNode = 13,
  kCBCallNode = 14,
  kArrayAccessNode = 51,
  kArrayAssignNode = 52,
  kReturnNode = 54,
  kDummyNode = 55,
  kTrueNode = 55,
  kLabelNode = 56,
  kGotoNode = 57,
};

// Operator codes shared by BinaryNode, UnaryNode and AssignNode.
enum OperatorCode : int {
  kOpAdd = 15,
  kOpSub = 16,  // also unary minus
  kOpMul = 17,
  kOpDiv = 18,
  kOpMod = 19,
  kOpPow = 20,
  kOpBitOr = 21,
  kOpBitAnd = 22,
  kOpBitXor = 23,
  kOpBitNot = 24,
  kOpShl = 25,
  kOpShr = 26,
  kOpEq = 27,
  kOpNe = 28,
  kOpStrictEq = 29,
  kOpStrictNe = 30,
  kOpLt = 31,
  kOpGt = 32,
  kOpLe = 33,
  kOpGe = 34,
  kOpAnd = 35,
  kOpOr = 36,
  kOpNot = 37,
  // Assignment forms.
  kAssignPlain = 1,
  kAssignAdd = 38,
  kAssignSub = 39,
  kAssignMul = 40,
  kAssignDiv = 41,
  kAssignMod = 42,
  kAssignShr = 43,
  kAssignShl = 44,
  kAssignOr = 45,
  kAssignXor = 46,
  kAssignAnd = 47,
  kAssignPow = 48,
  kAssignPostInc = 49,
  kAssignPostDec = 50,
};

struct GotoException {
  std::string label;
};

// Room for an operand's value when it cannot be read in place (see Node::view).
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

class Node {
 public:
  Node(int kind, int line) : kind(kind), line(line) {}
  virtual ~Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  virtual Value evaluate(ScriptContext& ctx) = 0;
  // Evaluation as a statement: a statement's value is never looked at (a
  // block's value is not used by anything around it), so nodes whose value
  // would be a copy skip making it.
  virtual void execute(ScriptContext& ctx) { (void)evaluate(ctx); }
  // evaluate(ctx).toInt() and evaluate(ctx).isTrue(), without the value where
  // the node can do without it.
  virtual std::int32_t evaluateInteger(ScriptContext& ctx) { return evaluate(ctx).toInt(); }
  virtual bool evaluateCondition(ScriptContext& ctx) { return evaluate(ctx).isTrue(); }
  // The value to be read at once, before anything else is evaluated: a
  // variable's own storage (or a literal's) rather than a copy, else the value
  // evaluated into scratch.
  virtual const Value& view(ScriptContext& ctx, Scratch& scratch) {
    return scratch.emplace(evaluate(ctx));
  }
  // view, or just the integer when the node has one without making a value.
  virtual Operand asOperand(ScriptContext& ctx, Scratch& scratch) {
    return {&view(ctx, scratch), 0};
  }
  // True when evaluating the node cannot change any variable (no assignment,
  // no call, no array read, which grows arrays), so a variable read before it
  // still holds the same value after it.
  virtual bool leavesVariablesAlone() { return false; }
  // True when the value is an integer whatever the variables hold.
  virtual bool alwaysInteger() { return false; }
  // Hands the owned children to the free list (see NodeDeleter).
  virtual void releaseChildren(NodeFreeList&) noexcept {}

  const int kind;
  const int line;

 private:
  friend class NodeFreeList;
  Node* nextToFree_ = nullptr;
};

class BlockNode final : public Node {
 public:
  explicit BlockNode(int line) : Node(kBlockNode, line) {}
  void append(NodePtr statement) { statements.push_back(std::move(statement)); }
  // The value is always int 0: nothing uses a block's value.
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  std::vector<NodePtr> statements;

 private:
  void buildLabelIndex();
  std::map<std::string, std::size_t> labels_;
  bool indexed_ = false;
};

class AssignNode final : public Node {
 public:
  AssignNode(int line, std::string target, NodePtr value, int op)
      : Node(kAssignNode, line), target(std::move(target)), value(std::move(value)), op(op) {}
  Value evaluate(ScriptContext& ctx) override;
  void execute(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(value); }

  const std::string target;
  NodePtr value;
  const int op;

 private:
  // Every form but the postfix ones: the variable after the assignment (its
  // value is the expression's), or null after a failure, which leaves it alone.
  Value* assign(ScriptContext& ctx);
  Value* appendText(ScriptContext& ctx, Value* current);
  Value read(ScriptContext& ctx);
  std::int32_t readInteger(ScriptContext& ctx);
  VariableSlot slot_;
  ConstantSlot constant_;
};

class IfNode final : public Node {
 public:
  IfNode(int line, NodePtr condition, NodePtr thenBlock, NodePtr elsePart)
      : Node(kIfNode, line),
        condition(std::move(condition)),
        thenBlock(std::move(thenBlock)),
        elsePart(std::move(elsePart)) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr condition, thenBlock, elsePart;
};

class WhileNode final : public Node {
 public:
  WhileNode(int line, NodePtr condition, NodePtr body, bool endless)
      : Node(kWhileNode, line),
        condition(std::move(condition)),
        body(std::move(body)),
        endless(endless) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr condition, body;
  const bool endless;
};

class DoWhileNode final : public Node {
 public:
  DoWhileNode(int line, NodePtr body, NodePtr condition, bool continueWhile)
      : Node(kDoWhileNode, line),
        body(std::move(body)),
        condition(std::move(condition)),
        continueWhile(continueWhile) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr body, condition;
  const bool continueWhile;
};

class ForNode final : public Node {
 public:
  ForNode(int line, NodePtr init, NodePtr condition, NodePtr step, NodePtr body)
      : Node(kForNode, line),
        init(std::move(init)),
        condition(std::move(condition)),
        step(std::move(step)),
        body(std::move(body)) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr init, condition, step, body;
};

class ExitNode final : public Node {
 public:
  ExitNode(int line, NodePtr code) : Node(kExitNode, line), code(std::move(code)) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(code); }

  NodePtr code;
};

// break (kBreakNode) or continue (kContinueNode).
class FlowNode final : public Node {
 public:
  FlowNode(int line, int kind) : Node(kind, line) {}
  Value evaluate(ScriptContext& ctx) override;
};

class IntNode final : public Node {
 public:
  IntNode(int line, std::int32_t value)
      : Node(kIntNode, line), value(value), value_(Value::integer(value)) {}
  Value evaluate(ScriptContext& ctx) override;
  const Value& view(ScriptContext&, Scratch&) override { return value_; }
  std::int32_t evaluateInteger(ScriptContext&) override { return value; }
  bool evaluateCondition(ScriptContext&) override { return value != 0; }
  Operand asOperand(ScriptContext&, Scratch&) override { return {nullptr, value}; }
  bool leavesVariablesAlone() override { return true; }
  bool alwaysInteger() override { return true; }
  const std::int32_t value;

 private:
  const Value value_;
};

class StringNode final : public Node {
 public:
  StringNode(int line, std::string text)
      : Node(kStringNode, line), text(text), value_(Value::string(std::move(text))) {}
  Value evaluate(ScriptContext& ctx) override;
  const Value& view(ScriptContext&, Scratch&) override { return value_; }
  bool leavesVariablesAlone() override { return true; }
  const std::string text;

 private:
  const Value value_;
};

class VarNode final : public Node {
 public:
  VarNode(int line, std::string name) : Node(kVarNode, line), name(std::move(name)) {}
  Value evaluate(ScriptContext& ctx) override;
  const Value& view(ScriptContext& ctx, Scratch& scratch) override;
  std::int32_t evaluateInteger(ScriptContext& ctx) override;
  bool evaluateCondition(ScriptContext& ctx) override;
  bool leavesVariablesAlone() override { return true; }
  // The variable's own value, or null when the name holds no variable.
  Value* storage(ScriptContext& ctx);
  const std::string name;

 private:
  VariableSlot slot_;
  ConstantSlot constant_;
};

class CondNode final : public Node {
 public:
  CondNode(int line, NodePtr condition, NodePtr thenValue, NodePtr elseValue)
      : Node(kCondNode, line),
        condition(std::move(condition)),
        thenValue(std::move(thenValue)),
        elseValue(std::move(elseValue)) {}
  Value evaluate(ScriptContext& ctx) override;
  std::int32_t evaluateInteger(ScriptContext& ctx) override;
  bool leavesVariablesAlone() override;
  bool alwaysInteger() override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr condition, thenValue, elseValue;

 private:
  std::int8_t alone_ = -1;  // leavesVariablesAlone, once known
};

class FuncCallNode final : public Node {
 public:
  FuncCallNode(int line, std::string name, std::vector<NodePtr> arguments)
      : Node(kFuncCallNode, line), name(std::move(name)), arguments(std::move(arguments)) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  const std::string name;
  std::vector<NodePtr> arguments;

 private:
  Value callUserFunction(ScriptContext& ctx, UserFunction& function);
  Value callBuiltin(ScriptContext& ctx);
  // What the name stands for, looked up once per function table.
  void resolve(ScriptContext& ctx);
  std::uint64_t resolvedFor_ = 0;  // ScriptContext::functionsStamp of the lookup
  UserFunction* function_ = nullptr;
  const struct BuiltinEntry* builtin_ = nullptr;  // takes this many arguments
  // The first argument a builtin reading only its arguments may be lent
  // (see withLentArguments), once known.
  std::int32_t lendFrom_ = -1;
};

class CBCallNode final : public Node {
 public:
  CBCallNode(int line, std::string name, std::vector<NodePtr> arguments)
      : Node(kCBCallNode, line), name(std::move(name)), arguments(std::move(arguments)) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  const std::string name;
  std::vector<NodePtr> arguments;
};

class BinaryNode final : public Node {
 public:
  BinaryNode(int line, int op, NodePtr left, NodePtr right)
      : Node(op, line), left(std::move(left)), right(std::move(right)) {}
  Value evaluate(ScriptContext& ctx) override;
  std::int32_t evaluateInteger(ScriptContext& ctx) override;
  bool evaluateCondition(ScriptContext& ctx) override;
  const Value& view(ScriptContext& ctx, Scratch& scratch) override;
  Operand asOperand(ScriptContext& ctx, Scratch& scratch) override;
  bool leavesVariablesAlone() override;
  bool alwaysInteger() override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr left, right;

 private:
  Operand leftOperand(ScriptContext& ctx, Scratch& scratch);
  Operand addOperands(ScriptContext& ctx, Scratch& scratch);
  std::int8_t alone_ = -1;       // leavesVariablesAlone, once known
  std::int8_t rightAlone_ = -1;  // right->leavesVariablesAlone, once known
  std::int8_t integer_ = -1;     // alwaysInteger, once known
};

class UnaryNode final : public Node {
 public:
  UnaryNode(int line, int op, NodePtr operand) : Node(op, line), operand(std::move(operand)) {}
  Value evaluate(ScriptContext& ctx) override;
  std::int32_t evaluateInteger(ScriptContext& ctx) override;
  bool evaluateCondition(ScriptContext& ctx) override { return evaluateInteger(ctx) != 0; }
  Operand asOperand(ScriptContext& ctx, Scratch&) override {
    return {nullptr, evaluateInteger(ctx)};
  }
  bool leavesVariablesAlone() override { return operand->leavesVariablesAlone(); }
  bool alwaysInteger() override { return true; }
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(operand); }

  NodePtr operand;
};

class ArrayAccessNode final : public Node {
 public:
  ArrayAccessNode(int line, std::string name, NodePtr index)
      : Node(kArrayAccessNode, line), name(std::move(name)), index(std::move(index)) {}
  Value evaluate(ScriptContext& ctx) override;
  const Value& view(ScriptContext& ctx, Scratch& scratch) override;
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(index); }

  const std::string name;
  NodePtr index;

 private:
  // The element read (the array grows to hold it), or null when the read
  // gives the name's default value.
  Value* element(ScriptContext& ctx);
  VariableSlot slot_;
};

class ArrayAssignNode final : public Node {
 public:
  ArrayAssignNode(int line, std::string name, NodePtr index, NodePtr value)
      : Node(kArrayAssignNode, line),
        name(std::move(name)),
        index(std::move(index)),
        value(std::move(value)) {}
  Value evaluate(ScriptContext& ctx) override;
  void execute(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override;

  const std::string name;
  NodePtr index, value;

 private:
  Value& store(ScriptContext& ctx, Value v, std::int32_t i);
  VariableSlot slot_;
};

class ReturnNode final : public Node {
 public:
  ReturnNode(int line, NodePtr value) : Node(kReturnNode, line), value(std::move(value)) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(value); }

  NodePtr value;
};

// What a function definition or an omitted for part leaves behind: int 0.
class DummyNode final : public Node {
 public:
  explicit DummyNode(int line) : Node(kDummyNode, line) {}
  Value evaluate(ScriptContext& ctx) override;
  bool leavesVariablesAlone() override { return true; }
  bool alwaysInteger() override { return true; }
};

// An omitted for condition: always true.
class TrueNode final : public Node {
 public:
  explicit TrueNode(int line) : Node(kTrueNode, line) {}
  Value evaluate(ScriptContext& ctx) override;
  bool evaluateCondition(ScriptContext&) override { return true; }
  bool leavesVariablesAlone() override { return true; }
  bool alwaysInteger() override { return true; }
};

class LabelNode final : public Node {
 public:
  LabelNode(int line, std::string name) : Node(kLabelNode, line), name(std::move(name)) {}
  Value evaluate(ScriptContext& ctx) override;
  const std::string name;  // with its leading ':'
};

class GotoNode final : public Node {
 public:
  GotoNode(int line, std::string label) : Node(kGotoNode, line), label(std::move(label)) {}
  GotoNode(int line, NodePtr target) : Node(kGotoNode, line), target(std::move(target)) {}
  Value evaluate(ScriptContext& ctx) override;
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(target); }

  const std::string label;
  NodePtr target;  // a computed target; the label is unused then
};

// A function defined with func: entered into the function table at parse time.
class UserFunction {
 public:
  std::string name;
  std::vector<std::string> parameters;
  Owned<BlockNode> body;
  // Per parameter: where its variable is, and whether an earlier parameter
  // has the same name (its value from before the call is saved only once).
  std::vector<VariableSlot> parameterSlots = std::vector<VariableSlot>(parameters.size());
  std::vector<bool> repeatsEarlier = findRepeats(parameters);

 private:
  static std::vector<bool> findRepeats(const std::vector<std::string>& names);
};

}  // namespace kivora::script
