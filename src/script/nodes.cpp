#include "script/nodes.h"

#include "script/context.h"
#include "script/messages.h"

#include <limits>

namespace kivora::script {

// --- ownership ---------------------------------------------------------------

void NodeFreeList::push(Node* node) noexcept {
  node->nextToFree_ = head_;
  head_ = node;
}

void NodeFreeList::take(NodePtr& child) noexcept {
  if (Node* n = child.release()) push(n);
}

Node* NodeFreeList::pop() noexcept {
  Node* n = head_;
  if (n) head_ = n->nextToFree_;
  return n;
}

void NodeDeleter::operator()(Node* node) const noexcept {
  NodeFreeList pending;
  pending.push(node);
  while (Node* n = pending.pop()) {
    n->releaseChildren(pending);
    delete n;
  }
}

void BlockNode::releaseChildren(NodeFreeList& out) noexcept {
  for (NodePtr& s : statements) out.take(s);
}
void IfNode::releaseChildren(NodeFreeList& out) noexcept {
  out.take(condition);
  out.take(thenBlock);
  out.take(elsePart);
}
void WhileNode::releaseChildren(NodeFreeList& out) noexcept {
  out.take(condition);
  out.take(body);
}
void DoWhileNode::releaseChildren(NodeFreeList& out) noexcept {
  out.take(body);
  out.take(condition);
}
void ForNode::releaseChildren(NodeFreeList& out) noexcept {
  out.take(init);
  out.take(condition);
  out.take(step);
  out.take(body);
}
void CondNode::releaseChildren(NodeFreeList& out) noexcept {
  out.take(condition);
  out.take(thenValue);
  out.take(elseValue);
}
void FuncCallNode::releaseChildren(NodeFreeList& out) noexcept {
  for (NodePtr& a : arguments) out.take(a);
}
void CBCallNode::releaseChildren(NodeFreeList& out) noexcept {
  for (NodePtr& a : arguments) out.take(a);
}
void BinaryNode::releaseChildren(NodeFreeList& out) noexcept {
  out.take(left);
  out.take(right);
}
void ArrayAssignNode::releaseChildren(NodeFreeList& out) noexcept {
  out.take(index);
  out.take(value);
}

// --- 32-bit arithmetic that wraps instead of faulting ------------------------

namespace {

using u32 = std::uint32_t;
using i32 = std::int32_t;

i32 wrap(u32 v) { return static_cast<i32>(v); }
i32 add(i32 a, i32 b) { return wrap(u32(a) + u32(b)); }
i32 sub(i32 a, i32 b) { return wrap(u32(a) - u32(b)); }
i32 mul(i32 a, i32 b) { return wrap(u32(a) * u32(b)); }
i32 neg(i32 a) { return wrap(0u - u32(a)); }
// MININTEGER / -1 has no 32-bit quotient; the wrapped one keeps overflow silent.
i32 quotient(i32 a, i32 b) { return b == -1 ? neg(a) : a / b; }
i32 remainder(i32 a, i32 b) { return b == -1 ? 0 : a % b; }
i32 shiftLeft(i32 a, i32 n) { return wrap(u32(a) << (n & 31)); }
i32 shiftRight(i32 a, i32 n) { return a >> (n & 31); }

// a multiplied by itself n times starting from 1; squaring gives the same
// wrapped product without looping two billion times.
i32 power(i32 a, i32 n) {
  if (n <= 0) return 1;
  u32 result = 1, base = u32(a);
  for (u32 e = u32(n); e != 0; e >>= 1) {
    if (e & 1) result *= base;
    base *= base;
  }
  return wrap(result);
}

Value boolean(bool b) { return Value::integer(b ? 1 : 0); }

// ==, !=, <, ... : a string on either side makes it a byte-wise text comparison.
int compare(const Value& l, const Value& r) {
  if (l.isString || r.isString) {
    const int c = l.toString().compare(r.toString());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return l.intValue < r.intValue ? -1 : (l.intValue > r.intValue ? 1 : 0);
}

bool strictlyEqual(const Value& l, const Value& r) {
  if (l.isString != r.isString) return false;
  if (l.isString) return l.strValue == r.strValue;
  return l.intValue == r.intValue;
}

}  // namespace

// --- leaves ------------------------------------------------------------------

Value IntNode::evaluate(ScriptContext&) { return Value::integer(value); }
Value StringNode::evaluate(ScriptContext&) { return Value::string(text); }
Value DummyNode::evaluate(ScriptContext&) { return Value{}; }
Value TrueNode::evaluate(ScriptContext&) { return Value::integer(1); }
Value LabelNode::evaluate(ScriptContext&) { return Value{}; }
Value VarNode::evaluate(ScriptContext& ctx) { return ctx.readVariable(name, line); }

Value ArrayAccessNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const i32 i = index->evaluate(ctx).toInt();
  if (i < 0) {
    ctx.fail(kErrInvalidIndex, line, messages::invalidIndex(ctx.japanese(), name, i, line));
    return defaultValueFor(name);
  }
  if (Value* var = ctx.variables.find(name)) return var->element(static_cast<std::size_t>(i));
  return defaultValueFor(name);
}

Value ArrayAssignNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  i32 i = index->evaluate(ctx).toInt();
  Value v = value->evaluate(ctx);
  if (i < 0) {
    ctx.fail(kErrInvalidIndex, line, messages::invalidIndex(ctx.japanese(), name, i, line));
    i = 0;
  }
  Value& var = ctx.variables.at(name);
  var.element(static_cast<std::size_t>(i)) = v;
  var.strValue = name;
  return v;
}

// --- operators ---------------------------------------------------------------

Value BinaryNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const Value l = left->evaluate(ctx);
  if (kind == kOpAnd) {
    if (l.toInt() == 0) return Value::integer(0);
    return boolean(right->evaluate(ctx).toInt() != 0);
  }
  if (kind == kOpOr) {
    if (l.toInt() != 0) return Value::integer(1);
    return boolean(right->evaluate(ctx).toInt() != 0);
  }
  const Value r = right->evaluate(ctx);
  switch (kind) {
    case kOpAdd:
      if (l.isString) return Value::string(l.toString() + r.toString());
      if (r.isString) return Value::integer(add(atolSaturated(r.strValue), l.intValue));
      return Value::integer(add(l.intValue, r.intValue));
    case kOpSub: return Value::integer(sub(l.toInt(), r.toInt()));
    case kOpMul: return Value::integer(mul(l.toInt(), r.toInt()));
    case kOpDiv: {
      const i32 d = r.toInt();
      if (d == 0) {
        ctx.fail(kErrDivisionByZero, line, messages::divisionByZero(ctx.japanese(), "/", line));
        return Value{};
      }
      return Value::integer(quotient(l.toInt(), d));
    }
    case kOpMod: {
      const i32 d = r.toInt();
      if (d == 0) {
        ctx.fail(kErrModuloByZero, line, messages::divisionByZero(ctx.japanese(), "%", line));
        return Value{};
      }
      return Value::integer(remainder(l.toInt(), d));
    }
    case kOpPow: return Value::integer(power(l.toInt(), r.toInt()));
    case kOpBitOr: return Value::integer(l.toInt() | r.toInt());
    case kOpBitAnd: return Value::integer(l.toInt() & r.toInt());
    case kOpBitXor: return Value::integer(l.toInt() ^ r.toInt());
    case kOpShl: return Value::integer(shiftLeft(l.toInt(), r.toInt()));
    case kOpShr: return Value::integer(shiftRight(l.toInt(), r.toInt()));
    case kOpEq: return boolean(compare(l, r) == 0);
    case kOpNe: return boolean(compare(l, r) != 0);
    case kOpStrictEq: return boolean(strictlyEqual(l, r));
    case kOpStrictNe: return boolean(!strictlyEqual(l, r));
    case kOpLt: return boolean(compare(l, r) < 0);
    case kOpGt: return boolean(compare(l, r) > 0);
    case kOpLe: return boolean(compare(l, r) <= 0);
    case kOpGe: return boolean(compare(l, r) >= 0);
    default: return Value{};
  }
}

Value UnaryNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const i32 c = operand->evaluate(ctx).toInt();
  switch (kind) {
    case kOpSub: return Value::integer(neg(c));
    case kOpBitNot: return Value::integer(~c);
    case kOpNot: return boolean(c == 0);
    default: return Value{};
  }
}

Value AssignNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  switch (op) {
    case kAssignPlain: {
      Value v = value->evaluate(ctx);
      Value& slot = ctx.variables.at(target);
      slot = std::move(v);
      return slot;
    }
    case kAssignPostInc:
    case kAssignPostDec: {
      const i32 d = ctx.readVariable(target, line).toInt();
      ctx.variables.at(target) = Value::integer(op == kAssignPostInc ? add(d, 1) : sub(d, 1));
      return Value::integer(d);
    }
    case kAssignDiv:
    case kAssignMod: {
      const i32 d = value->evaluate(ctx).toInt();
      if (d == 0) {
        const bool div = op == kAssignDiv;
        ctx.fail(div ? kErrDivisionByZero : kErrModuloByZero, line,
                 messages::divisionByZero(ctx.japanese(), div ? "/=" : "%=", line));
        return Value{};
      }
      const i32 n = ctx.readVariable(target, line).toInt();
      Value& slot = ctx.variables.at(target);
      slot = Value::integer(op == kAssignDiv ? quotient(n, d) : remainder(n, d));
      return slot;
    }
    default: break;
  }
  const Value current = ctx.readVariable(target, line);
  const Value r = value->evaluate(ctx);
  Value result;
  if (op == kAssignAdd && current.isString) {
    result = Value::string(current.toString() + r.toString());
  } else {
    const i32 n = current.toInt(), m = r.toInt();
    switch (op) {
      case kAssignAdd: result = Value::integer(add(n, m)); break;
      case kAssignSub: result = Value::integer(sub(n, m)); break;
      case kAssignMul: result = Value::integer(mul(n, m)); break;
      case kAssignShr: result = Value::integer(shiftRight(n, m)); break;
      case kAssignShl: result = Value::integer(shiftLeft(n, m)); break;
      case kAssignOr: result = Value::integer(n | m); break;
      case kAssignXor: result = Value::integer(n ^ m); break;
      case kAssignAnd: result = Value::integer(n & m); break;
      case kAssignPow: result = Value::integer(power(n, m)); break;
      default: return Value{};
    }
  }
  Value& slot = ctx.variables.at(target);
  slot = std::move(result);
  return slot;
}

Value CondNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  return condition->evaluate(ctx).isTrue() ? thenValue->evaluate(ctx) : elseValue->evaluate(ctx);
}

// --- statements --------------------------------------------------------------

namespace {

// The host's statement callback; when it asks for a stop, the run stops after
// the current statement.
bool hostStopsRun(ScriptContext& ctx, int line) {
  if (!ctx.host.statementCallback || ctx.host.statementCallback(line) != 1) return false;
  ctx.state.flowState = kFlowStop;
  return true;
}

// A loop whose body holds no statement never reaches the statement callback
// through its body, so such a loop asks the host itself after every turn.
bool emptyBody(const NodePtr& body) {
  return body->kind == kBlockNode && static_cast<const BlockNode&>(*body).statements.empty();
}

}  // namespace

void BlockNode::buildLabelIndex() {
  for (std::size_t i = 0; i < statements.size(); ++i)
    if (statements[i]->kind == kLabelNode) labels_[static_cast<LabelNode&>(*statements[i]).name] = i;
  indexed_ = true;
}

Value BlockNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (!indexed_) buildLabelIndex();
  Value result;
  std::size_t i = 0;
  while (i < statements.size()) {
    Node& statement = *statements[i];
    try {
      result = statement.evaluate(ctx);
    } catch (const GotoException& jump) {
      const auto target = labels_.find(jump.label);
      if (target == labels_.end()) throw;
      // A jump is a statement too: a loop made only of gotos can be stopped.
      if (hostStopsRun(ctx, statement.line)) break;
      i = target->second + 1;
      continue;
    }
    if (hostStopsRun(ctx, statement.line)) break;
    if (ctx.state.flowState != kFlowRunning) break;
    ++i;
  }
  return result;
}

Value IfNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (condition->evaluate(ctx).isTrue()) return thenBlock->evaluate(ctx);
  return elsePart ? elsePart->evaluate(ctx) : Value{};
}

namespace {

// What a loop does after its body, by the flow state the body left.
enum class AfterBody { kLeave, kGoOn };

AfterBody consumeFlow(ScriptState& state) {
  switch (state.flowState) {
    case kFlowBreak: state.flowState = kFlowRunning; return AfterBody::kLeave;
    case kFlowContinue: state.flowState = kFlowRunning; return AfterBody::kGoOn;
    case kFlowStop: return AfterBody::kLeave;
    default: return AfterBody::kGoOn;
  }
}

}  // namespace

Value WhileNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const bool askHost = emptyBody(body);
  Value result;
  for (;;) {
    if (!endless && !condition->evaluate(ctx).isTrue()) break;
    result = body->evaluate(ctx);
    if (consumeFlow(ctx.state) == AfterBody::kLeave) break;
    if (askHost && hostStopsRun(ctx, line)) break;
  }
  return result;
}

Value DoWhileNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const bool askHost = emptyBody(body);
  Value result;
  for (;;) {
    result = body->evaluate(ctx);
    if (consumeFlow(ctx.state) == AfterBody::kLeave) break;
    if (askHost && hostStopsRun(ctx, line)) break;
    if (condition->evaluate(ctx).isTrue() != continueWhile) break;
  }
  return result;
}

Value ForNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const bool askHost = emptyBody(body);
  init->evaluate(ctx);
  Value result;
  for (;;) {
    if (!condition->evaluate(ctx).isTrue()) break;
    result = body->evaluate(ctx);
    if (consumeFlow(ctx.state) == AfterBody::kLeave) break;
    if (askHost && hostStopsRun(ctx, line)) break;
    step->evaluate(ctx);
  }
  return result;
}

Value ExitNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  // The code is computed before the stop is set, so a function called for it
  // runs to its end.
  const i32 exitCode = code ? code->evaluate(ctx).toInt() : 0;
  ctx.state.flowState = kFlowStop;
  ctx.state.exitCode = exitCode;
  return Value::integer(exitCode);
}

Value FlowNode::evaluate(ScriptContext& ctx) {
  ctx.state.flowState = kind == kBreakNode ? kFlowBreak : kFlowContinue;
  return Value{};
}

Value ReturnNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  throw ReturnException{value ? value->evaluate(ctx) : Value{}};
}

Value GotoNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (target) throw GotoException{toUpperAscii(target->evaluate(ctx).toString())};
  throw GotoException{label};
}

}  // namespace kivora::script
