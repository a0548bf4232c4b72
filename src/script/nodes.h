#pragma once
// The syntax tree of KX-Script, as the parser builds it: what each construct
// of the script holds, and nothing about running it. The compiler
// (compiler.h) turns it into the form that runs.

#include "script/node_ptr.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kivora::script {

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

// A jump to a label on its way to the block that holds the label.
struct GotoException {
  std::string label;
};

class Node {
 public:
  Node(int kind, int line) : kind(kind), line(line) {}
  virtual ~Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

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
  void releaseChildren(NodeFreeList& out) noexcept override;

  std::vector<NodePtr> statements;
};

class AssignNode final : public Node {
 public:
  AssignNode(int line, std::string target, NodePtr value, int op)
      : Node(kAssignNode, line), target(std::move(target)), value(std::move(value)), op(op) {}
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(value); }

  const std::string target;
  NodePtr value;
  const int op;
};

class IfNode final : public Node {
 public:
  IfNode(int line, NodePtr condition, NodePtr thenBlock, NodePtr elsePart)
      : Node(kIfNode, line),
        condition(std::move(condition)),
        thenBlock(std::move(thenBlock)),
        elsePart(std::move(elsePart)) {}
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
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr init, condition, step, body;
};

class ExitNode final : public Node {
 public:
  ExitNode(int line, NodePtr code) : Node(kExitNode, line), code(std::move(code)) {}
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(code); }

  NodePtr code;
};

// break (kBreakNode) or continue (kContinueNode).
class FlowNode final : public Node {
 public:
  FlowNode(int line, int kind) : Node(kind, line) {}
};

class IntNode final : public Node {
 public:
  IntNode(int line, std::int32_t value) : Node(kIntNode, line), value(value) {}
  const std::int32_t value;
};

class StringNode final : public Node {
 public:
  StringNode(int line, std::string text) : Node(kStringNode, line), text(std::move(text)) {}
  const std::string text;
};

class VarNode final : public Node {
 public:
  VarNode(int line, std::string name) : Node(kVarNode, line), name(std::move(name)) {}
  const std::string name;
};

class CondNode final : public Node {
 public:
  CondNode(int line, NodePtr condition, NodePtr thenValue, NodePtr elseValue)
      : Node(kCondNode, line),
        condition(std::move(condition)),
        thenValue(std::move(thenValue)),
        elseValue(std::move(elseValue)) {}
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr condition, thenValue, elseValue;
};

class FuncCallNode final : public Node {
 public:
  FuncCallNode(int line, std::string name, std::vector<NodePtr> arguments)
      : Node(kFuncCallNode, line), name(std::move(name)), arguments(std::move(arguments)) {}
  void releaseChildren(NodeFreeList& out) noexcept override;

  const std::string name;
  std::vector<NodePtr> arguments;
};

class CBCallNode final : public Node {
 public:
  CBCallNode(int line, std::string name, std::vector<NodePtr> arguments)
      : Node(kCBCallNode, line), name(std::move(name)), arguments(std::move(arguments)) {}
  void releaseChildren(NodeFreeList& out) noexcept override;

  const std::string name;
  std::vector<NodePtr> arguments;
};

// kind is the operator code.
class BinaryNode final : public Node {
 public:
  BinaryNode(int line, int op, NodePtr left, NodePtr right)
      : Node(op, line), left(std::move(left)), right(std::move(right)) {}
  void releaseChildren(NodeFreeList& out) noexcept override;

  NodePtr left, right;
};

// kind is the operator code: kOpSub (minus), kOpBitNot or kOpNot.
class UnaryNode final : public Node {
 public:
  UnaryNode(int line, int op, NodePtr operand) : Node(op, line), operand(std::move(operand)) {}
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(operand); }

  NodePtr operand;
};

class ArrayAccessNode final : public Node {
 public:
  ArrayAccessNode(int line, std::string name, NodePtr index)
      : Node(kArrayAccessNode, line), name(std::move(name)), index(std::move(index)) {}
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(index); }

  const std::string name;
  NodePtr index;
};

class ArrayAssignNode final : public Node {
 public:
  ArrayAssignNode(int line, std::string name, NodePtr index, NodePtr value)
      : Node(kArrayAssignNode, line),
        name(std::move(name)),
        index(std::move(index)),
        value(std::move(value)) {}
  void releaseChildren(NodeFreeList& out) noexcept override;

  const std::string name;
  NodePtr index, value;
};

class ReturnNode final : public Node {
 public:
  ReturnNode(int line, NodePtr value) : Node(kReturnNode, line), value(std::move(value)) {}
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(value); }

  NodePtr value;  // null: return without a value
};

// What a function definition or an omitted for part leaves behind: int 0.
class DummyNode final : public Node {
 public:
  explicit DummyNode(int line) : Node(kDummyNode, line) {}
};

// An omitted for condition: always true. Its kind is DummyNode's; it is told
// apart by its class.
class TrueNode final : public Node {
 public:
  explicit TrueNode(int line) : Node(kTrueNode, line) {}
};

class LabelNode final : public Node {
 public:
  LabelNode(int line, std::string name) : Node(kLabelNode, line), name(std::move(name)) {}
  const std::string name;  // with its leading ':'
};

class GotoNode final : public Node {
 public:
  GotoNode(int line, std::string label) : Node(kGotoNode, line), label(std::move(label)) {}
  GotoNode(int line, NodePtr target) : Node(kGotoNode, line), target(std::move(target)) {}
  void releaseChildren(NodeFreeList& out) noexcept override { out.take(target); }

  const std::string label;
  NodePtr target;  // a computed target; the label is unused then
};

// A function defined with func: entered into the function table at parse time.
struct UserFunction {
  std::string name;
  std::vector<std::string> parameters;
  Owned<BlockNode> body;
};

}  // namespace kivora::script
