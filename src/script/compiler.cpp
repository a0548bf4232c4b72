#include "script/compiler.h"

#include "script/builtins/builtin_table.h"
#include "script/constants.h"

#include <algorithm>
#include <optional>
#include <string>

namespace kivora::script {

namespace {

// Levels compiled at once; deeper parts are compiled when the run reaches them.
constexpr int kEagerDepth = 200;
// Levels of an expression that run between two stack checks.
constexpr int kCheckEvery = 16;

std::optional<std::int32_t> constantFor(const std::string& name) {
  return lookupConstant(toUpperAscii(name));
}

bool isEmptyBlock(const NodePtr& node) {
  return node->kind == kBlockNode && static_cast<const BlockNode&>(*node).statements.empty();
}

// A part of the tree compiled when the run first reaches it. Reaching it at
// all needs a deep stack, which is checked first, as running it would.
class DeferredStatement final : public Statement {
 public:
  DeferredStatement(Node& node, Compiler& compiler)
      : Statement(node.line), node_(node), compiler_(compiler) {}
  void run(ScriptContext& ctx) override {
    ctx.checkStack();
    if (!compiled_) compiled_ = compiler_.deferredStatement(node_);
    compiled_->run(ctx);
  }

 private:
  Node& node_;
  Compiler& compiler_;
  Statement* compiled_ = nullptr;
};

class DeferredExpression final : public Expression {
 public:
  DeferredExpression(Node& node, Compiler& compiler)
      : Expression(node.line, {}), node_(node), compiler_(compiler) {}
  void run(ScriptContext& ctx) override { target(ctx)->run(ctx); }
  Value value(ScriptContext& ctx) override { return target(ctx)->value(ctx); }
  std::int32_t integer(ScriptContext& ctx) override { return target(ctx)->integer(ctx); }
  bool truth(ScriptContext& ctx) override { return target(ctx)->truth(ctx); }
  const Value& view(ScriptContext& ctx, Scratch& scratch) override {
    return target(ctx)->view(ctx, scratch);
  }
  Operand operand(ScriptContext& ctx, Scratch& scratch) override {
    return target(ctx)->operand(ctx, scratch);
  }

 private:
  Expression* target(ScriptContext& ctx) {
    ctx.checkStack();
    if (!compiled_) compiled_ = compiler_.deferredExpression(node_);
    return compiled_;
  }
  Node& node_;
  Compiler& compiler_;
  Expression* compiled_ = nullptr;
};

// Counts the levels of the compilation under way.
class Level {
 public:
  explicit Level(int& depth) : depth_(depth) { ++depth_; }
  ~Level() { --depth_; }
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

 private:
  int& depth_;
};

// Compiles with a fresh count of levels, for a part reached at run time.
class FreshDepth {
 public:
  explicit FreshDepth(int& depth) : depth_(depth), saved_(depth) { depth_ = 0; }
  ~FreshDepth() { depth_ = saved_; }
  FreshDepth(const FreshDepth&) = delete;
  FreshDepth& operator=(const FreshDepth&) = delete;

 private:
  int& depth_;
  int saved_;
};

}  // namespace

Statement* Compiler::script(BlockNode& root) { return block(root); }

Statement* Compiler::functionBody(CompiledFunction& function) {
  FreshDepth fresh(depth_);
  return block(*function.source.body);
}

Statement* Compiler::deferredStatement(Node& node) {
  FreshDepth fresh(depth_);
  return statement(node);
}

Expression* Compiler::deferredExpression(Node& node) {
  FreshDepth fresh(depth_);
  return expression(node);
}

Statement* Compiler::statement(Node& node) {
  if (depth_ > kEagerDepth) return program_.make<DeferredStatement>(node, *this);
  const Level level(depth_);
  const int line = node.line;
  switch (node.kind) {
    case kBlockNode:
      return block(static_cast<BlockNode&>(node));
    case kIfNode: {
      auto& n = static_cast<IfNode&>(node);
      Expression* condition = expression(*n.condition);
      Statement* thenBlock = statement(*n.thenBlock);
      Statement* elsePart = n.elsePart ? statement(*n.elsePart) : nullptr;
      return makeIf(program_, line, condition, thenBlock, elsePart);
    }
    case kWhileNode: {
      auto& n = static_cast<WhileNode&>(node);
      Expression* condition = n.endless ? nullptr : expression(*n.condition);
      return makeWhile(program_, line, condition, statement(*n.body), n.endless,
                       isEmptyBlock(n.body));
    }
    case kDoWhileNode: {
      auto& n = static_cast<DoWhileNode&>(node);
      Statement* body = statement(*n.body);
      return makeRepeat(program_, line, body, expression(*n.condition), n.continueWhile,
                        isEmptyBlock(n.body));
    }
    case kForNode: {
      auto& n = static_cast<ForNode&>(node);
      Expression* init = expression(*n.init);
      Expression* condition = expression(*n.condition);
      Expression* step = expression(*n.step);
      return makeFor(program_, line, init, condition, step, statement(*n.body),
                     isEmptyBlock(n.body));
    }
    case kExitNode: {
      auto& n = static_cast<ExitNode&>(node);
      return makeExit(program_, line, n.code ? expression(*n.code) : nullptr);
    }
    case kBreakNode:
      return makeBreak(program_, line);
    case kContinueNode:
      return makeContinue(program_, line);
    case kReturnNode: {
      auto& n = static_cast<ReturnNode&>(node);
      return makeReturn(program_, line, n.value ? expression(*n.value) : nullptr);
    }
    case kGotoNode: {
      auto& n = static_cast<GotoNode&>(node);
      return makeGoto(program_, line, n.label, n.target ? expression(*n.target) : nullptr);
    }
    case kLabelNode:
      return program_.make<IntegerConstant>(line, 0);
    default:
      return expression(node);
  }
}

Statement* Compiler::block(BlockNode& node) {
  BlockPlan plan;
  plan.line = node.line;
  const std::size_t count = node.statements.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (node.statements[i]->kind == kLabelNode)
      plan.labels[static_cast<const LabelNode&>(*node.statements[i]).name] = i;
  }
  plan.statements.reserve(count);
  plan.jumps.assign(count, -1);
  for (std::size_t i = 0; i < count; ++i) {
    Node& s = *node.statements[i];
    plan.statements.push_back(statement(s));
    if (s.kind != kGotoNode || static_cast<const GotoNode&>(s).target) continue;
    const auto label = plan.labels.find(static_cast<const GotoNode&>(s).label);
    if (label != plan.labels.end()) plan.jumps[i] = static_cast<std::ptrdiff_t>(label->second);
  }
  return makeBlock(program_, std::move(plan));
}

Compiler::Built Compiler::built(Node& node) {
  if (depth_ > kEagerDepth) return {program_.make<DeferredExpression>(node, *this), 0};
  const Level level(depth_);
  return buildExpression(node);
}

Compiler::Built Compiler::checked(Expression* expression, int uncheckedBelow) {
  const int unchecked = uncheckedBelow + 1;
  if (unchecked < kCheckEvery) return {expression, unchecked};
  return {makeStackCheck(program_, expression), 0};
}

Compiler::Built Compiler::buildExpression(Node& node) {
  const int line = node.line;
  switch (node.kind) {
    case kIntNode:
      return {program_.make<IntegerConstant>(line, static_cast<IntNode&>(node).value), 1};
    case kStringNode:
      return {program_.make<TextConstant>(line, static_cast<StringNode&>(node).text), 1};
    case kDummyNode:  // also kTrueNode
      return {program_.make<IntegerConstant>(line, dynamic_cast<TrueNode*>(&node) ? 1 : 0), 1};
    case kVarNode: {
      const auto& n = static_cast<VarNode&>(node);
      return {program_.make<VariableRead>(line, place(n.name), n.name, constantFor(n.name)), 1};
    }
    case kAssignNode:
      return assignment(static_cast<AssignNode&>(node));
    case kArrayAccessNode: {
      auto& n = static_cast<ArrayAccessNode&>(node);
      const Built index = built(*n.index);
      return checked(makeElementRead(program_, line, place(n.name), n.name, index.expression),
                     index.unchecked);
    }
    case kArrayAssignNode: {
      auto& n = static_cast<ArrayAssignNode&>(node);
      const Built index = built(*n.index);
      const Built value = built(*n.value);
      return checked(makeElementWrite(program_, line, place(n.name), n.name, index.expression,
                                      value.expression),
                     std::max(index.unchecked, value.unchecked));
    }
    case kCondNode: {
      auto& n = static_cast<CondNode&>(node);
      const Built c = built(*n.condition);
      const Built t = built(*n.thenValue);
      const Built e = built(*n.elseValue);
      return checked(makeChoice(program_, line, c.expression, t.expression, e.expression),
                     std::max({c.unchecked, t.unchecked, e.unchecked}));
    }
    case kFuncCallNode:
      return call(static_cast<FuncCallNode&>(node));
    case kCBCallNode: {
      auto& n = static_cast<CBCallNode&>(node);
      return {makeApplicationCall(program_, line, n.name, expressions(n.arguments)), 0};
    }
    case kOpSub:
    case kOpBitNot:
    case kOpNot:
      if (auto* unary = dynamic_cast<UnaryNode*>(&node)) {
        const Built operand = built(*unary->operand);
        return checked(makeUnary(program_, line, node.kind, operand.expression), operand.unchecked);
      }
      break;
    default:
      break;
  }
  if (auto* binary = dynamic_cast<BinaryNode*>(&node)) {
    const Built left = built(*binary->left);
    const Built right = built(*binary->right);
    return checked(makeBinary(program_, line, node.kind, left.expression, right.expression),
                   std::max(left.unchecked, right.unchecked));
  }
  return {program_.make<IntegerConstant>(line, 0), 1};  // nothing else reaches an expression
}

Compiler::Built Compiler::assignment(AssignNode& node) {
  const int line = node.line;
  Variable& target = place(node.target);
  const auto constant = constantFor(node.target);
  Node& value = *node.value;
  // NAME = NAME + tail: appended in place when the tail cannot change NAME.
  if (node.op == kAssignPlain && value.kind == kOpAdd) {
    if (auto* sum = dynamic_cast<BinaryNode*>(&value);
        sum && sum->left->kind == kVarNode &&
        static_cast<const VarNode&>(*sum->left).name == node.target) {
      const Built left = built(*sum->left);
      const Built tail = built(*sum->right);
      const Built whole =
          checked(makeBinary(program_, sum->line, kOpAdd, left.expression, tail.expression),
                  std::max(left.unchecked, tail.unchecked));
      Expression* assign = tail.expression->traits.leavesVariablesAlone
                               ? makeAppendAssignment(program_, line, target, node.target, constant,
                                                      whole.expression, tail.expression)
                               : makeAssignment(program_, line, node.op, target, node.target,
                                                constant, whole.expression);
      return checked(assign, whole.unchecked);
    }
  }
  const Built v = built(value);
  return checked(
      makeAssignment(program_, line, node.op, target, node.target, constant, v.expression),
      v.unchecked);
}

Compiler::Built Compiler::call(FuncCallNode& node) {
  const int line = node.line;
  std::vector<Expression*> arguments = expressions(node.arguments);
  // User functions hide builtins of the same name.
  if (const auto f = ctx_.functions.find(node.name); f != ctx_.functions.end())
    return {
        makeUserCall(program_, line, node.name, function(f->second), *this, std::move(arguments)),
        0};
  std::string key = toUpperAscii(node.name);
  if (!key.empty() && key.back() == '$') key.pop_back();
  const std::size_t count = arguments.size();
  if (const BuiltinEntry* entry = findBuiltin(key);
      entry && entry->minArgs <= count && count <= entry->maxArgs)
    return {makeBuiltinCall(program_, line, node.name, *entry, std::move(arguments)), 0};
  return {makeUnresolvedCall(program_, line, node.name, std::move(arguments)), 0};
}

std::vector<Expression*> Compiler::expressions(std::vector<NodePtr>& nodes) {
  std::vector<Expression*> compiled;
  compiled.reserve(nodes.size());
  for (NodePtr& n : nodes) compiled.push_back(expression(*n));
  return compiled;
}

CompiledFunction& Compiler::function(const UserFunction& source) {
  auto& slot = functions_[&source];
  if (!slot) {
    auto compiled = std::make_unique<CompiledFunction>(CompiledFunction{source, {}, nullptr});
    const auto& names = source.parameters;
    for (std::size_t i = 0; i < names.size(); ++i) {
      bool repeats = false;
      for (std::size_t j = 0; j < i && !repeats; ++j) repeats = names[j] == names[i];
      compiled->parameters.push_back({&place(names[i]), names[i], !repeats});
    }
    slot = std::move(compiled);
  }
  return *slot;
}

}  // namespace kivora::script
