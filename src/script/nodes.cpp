#include "script/nodes.h"

#include "script/context.h"
#include "script/messages.h"

#include <charconv>
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

}  // namespace

// --- leaves ------------------------------------------------------------------

Value IntNode::evaluate(ScriptContext&) { return value_; }
Value StringNode::evaluate(ScriptContext&) { return value_; }
Value DummyNode::evaluate(ScriptContext&) { return Value{}; }
Value TrueNode::evaluate(ScriptContext&) { return Value::integer(1); }
Value LabelNode::evaluate(ScriptContext&) { return Value{}; }
Value VarNode::evaluate(ScriptContext& ctx) {
  return ctx.readVariable(name, line, slot_, constant_);
}

Value* VarNode::storage(ScriptContext& ctx) { return ctx.variables.find(name, slot_); }

const Value& VarNode::view(ScriptContext& ctx, Scratch& scratch) {
  if (const Value* v = ctx.variables.find(name, slot_)) return *v;
  return scratch.emplace(ctx.readMissingVariable(name, line, constant_));
}

i32 VarNode::evaluateInteger(ScriptContext& ctx) {
  if (const Value* v = ctx.variables.find(name, slot_)) return v->toInt();
  return ctx.readMissingVariable(name, line, constant_).toInt();
}

bool VarNode::evaluateCondition(ScriptContext& ctx) {
  if (const Value* v = ctx.variables.find(name, slot_)) return v->isTrue();
  return ctx.readMissingVariable(name, line, constant_).isTrue();
}

Value* ArrayAccessNode::element(ScriptContext& ctx) {
  ctx.checkStack();
  const i32 i = index->evaluateInteger(ctx);
  if (i < 0) {
    ctx.fail(kErrInvalidIndex, line, messages::invalidIndex(ctx.japanese(), name, i, line));
    return nullptr;
  }
  if (Value* var = ctx.variables.find(name, slot_))
    return &var->element(static_cast<std::size_t>(i));
  return nullptr;
}

Value ArrayAccessNode::evaluate(ScriptContext& ctx) {
  if (const Value* e = element(ctx)) return *e;
  return defaultValueFor(name);
}

const Value& ArrayAccessNode::view(ScriptContext& ctx, Scratch& scratch) {
  if (const Value* e = element(ctx)) return *e;
  return scratch.emplace(defaultValueFor(name));
}

Value& ArrayAssignNode::store(ScriptContext& ctx, Value v, i32 i) {
  if (i < 0) {
    ctx.fail(kErrInvalidIndex, line, messages::invalidIndex(ctx.japanese(), name, i, line));
    i = 0;
  }
  Value& var = ctx.variables.at(name, slot_);
  Value& element = var.element(static_cast<std::size_t>(i));
  element = std::move(v);
  if (var.strValue != name) var.strValue = name;
  return element;
}

Value ArrayAssignNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const i32 i = index->evaluateInteger(ctx);
  return store(ctx, value->evaluate(ctx), i);
}

void ArrayAssignNode::execute(ScriptContext& ctx) {
  ctx.checkStack();
  const i32 i = index->evaluateInteger(ctx);
  store(ctx, value->evaluate(ctx), i);
}

// --- operators ---------------------------------------------------------------
//
// Every operator but + gives an integer, so those are computed as integers
// (evaluateInteger); + and the comparisons look at their operands' types, and
// take them as Operands: an integer, or a value read in place where that is
// safe. Operands are evaluated left first, as always.

bool BinaryNode::leavesVariablesAlone() {
  if (alone_ < 0) alone_ = left->leavesVariablesAlone() && right->leavesVariablesAlone();
  return alone_ != 0;
}

bool BinaryNode::alwaysInteger() {
  // int + anything is an int; only a string on the left makes + join texts.
  if (integer_ < 0) integer_ = kind != kOpAdd || left->alwaysInteger();
  return integer_ != 0;
}

bool CondNode::leavesVariablesAlone() {
  if (alone_ < 0)
    alone_ = condition->leavesVariablesAlone() && thenValue->leavesVariablesAlone() &&
             elseValue->leavesVariablesAlone();
  return alone_ != 0;
}

bool CondNode::alwaysInteger() { return thenValue->alwaysInteger() && elseValue->alwaysInteger(); }

namespace {

// The text of an operand, for the comparisons and +.
std::string_view textOf(const Operand& o, IntegerText& digits) {
  if (o.value) return textOf(*o.value, digits);
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), o.integer).ptr;
  return {digits.data(), static_cast<std::size_t>(end - digits.data())};
}

// ==, !=, <, ... : a string on either side makes it a byte-wise text comparison.
int compare(const Operand& l, const Operand& r) {
  if (l.isString() || r.isString()) {
    IntegerText lDigits, rDigits;
    const int c = textOf(l, lDigits).compare(textOf(r, rDigits));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  const i32 a = l.rawInteger(), b = r.rawInteger();
  return a < b ? -1 : (a > b ? 1 : 0);
}

bool strictlyEqual(const Operand& l, const Operand& r) {
  if (l.isString() != r.isString()) return false;
  if (l.isString()) return l.value->strValue == r.value->strValue;
  return l.rawInteger() == r.rawInteger();
}

}  // namespace

// The left operand, read in place only when evaluating the right one cannot
// change it; otherwise it is the copy the language's rule asks for (an
// integer is a copy already).
Operand BinaryNode::leftOperand(ScriptContext& ctx, Scratch& scratch) {
  Operand l = left->asOperand(ctx, scratch);
  if (rightAlone_ < 0) rightAlone_ = right->leavesVariablesAlone();
  if (l.value && !rightAlone_ && !(scratch && l.value == &*scratch))
    l.value = &scratch.emplace(*l.value);
  return l;
}

// +: an integer unless the left operand is a string; then the joined text,
// which is left in scratch.
Operand BinaryNode::addOperands(ScriptContext& ctx, Scratch& scratch) {
  ctx.checkStack();
  Scratch leftScratch, rightScratch;
  const Operand l = leftOperand(ctx, leftScratch);
  const Operand r = right->asOperand(ctx, rightScratch);
  if (!l.isString()) {
    const i32 a = l.rawInteger();
    return {nullptr,
            r.isString() ? add(atolSaturated(r.value->strValue), a) : add(a, r.rawInteger())};
  }
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
  return {&scratch.emplace(Value::string(std::move(text))), 0};
}

Operand BinaryNode::asOperand(ScriptContext& ctx, Scratch& scratch) {
  if (alwaysInteger()) return {nullptr, evaluateInteger(ctx)};
  return addOperands(ctx, scratch);
}

const Value& BinaryNode::view(ScriptContext& ctx, Scratch& scratch) {
  const Operand o = asOperand(ctx, scratch);
  return o.value ? *o.value : scratch.emplace(Value::integer(o.integer));
}

Value BinaryNode::evaluate(ScriptContext& ctx) {
  if (alwaysInteger()) return Value::integer(evaluateInteger(ctx));
  Scratch scratch;
  const Operand o = addOperands(ctx, scratch);
  return o.value ? std::move(*scratch) : Value::integer(o.integer);
}

bool BinaryNode::evaluateCondition(ScriptContext& ctx) {
  if (alwaysInteger()) return evaluateInteger(ctx) != 0;
  Scratch scratch;
  const Operand o = addOperands(ctx, scratch);
  return o.value ? o.value->isTrue() : o.integer != 0;
}

i32 BinaryNode::evaluateInteger(ScriptContext& ctx) {
  ctx.checkStack();
  switch (kind) {
    case kOpAnd:
      if (left->evaluateInteger(ctx) == 0) return 0;
      return right->evaluateInteger(ctx) != 0 ? 1 : 0;
    case kOpOr:
      if (left->evaluateInteger(ctx) != 0) return 1;
      return right->evaluateInteger(ctx) != 0 ? 1 : 0;
    case kOpAdd: {
      Scratch scratch;
      const Operand o = addOperands(ctx, scratch);
      return o.value ? o.value->toInt() : o.integer;
    }
    case kOpEq:
    case kOpNe:
    case kOpStrictEq:
    case kOpStrictNe:
    case kOpLt:
    case kOpGt:
    case kOpLe:
    case kOpGe: {
      Scratch leftScratch, rightScratch;
      const Operand l = leftOperand(ctx, leftScratch);
      const Operand r = right->asOperand(ctx, rightScratch);
      switch (kind) {
        case kOpEq:
          return compare(l, r) == 0;
        case kOpNe:
          return compare(l, r) != 0;
        case kOpStrictEq:
          return strictlyEqual(l, r);
        case kOpStrictNe:
          return !strictlyEqual(l, r);
        case kOpLt:
          return compare(l, r) < 0;
        case kOpGt:
          return compare(l, r) > 0;
        case kOpLe:
          return compare(l, r) <= 0;
        default:
          return compare(l, r) >= 0;
      }
    }
    default:
      break;
  }
  // The rest convert both operands to integers; a converted operand no
  // longer depends on its variable, so the left one is converted at once.
  const i32 l = left->evaluateInteger(ctx);
  const i32 r = right->evaluateInteger(ctx);
  switch (kind) {
    case kOpSub:
      return sub(l, r);
    case kOpMul:
      return mul(l, r);
    case kOpDiv:
      if (r == 0) {
        ctx.fail(kErrDivisionByZero, line, messages::divisionByZero(ctx.japanese(), "/", line));
        return 0;
      }
      return quotient(l, r);
    case kOpMod:
      if (r == 0) {
        ctx.fail(kErrModuloByZero, line, messages::divisionByZero(ctx.japanese(), "%", line));
        return 0;
      }
      return remainder(l, r);
    case kOpPow:
      return power(l, r);
    case kOpBitOr:
      return l | r;
    case kOpBitAnd:
      return l & r;
    case kOpBitXor:
      return l ^ r;
    case kOpShl:
      return shiftLeft(l, r);
    case kOpShr:
      return shiftRight(l, r);
    default:
      return 0;
  }
}

Value UnaryNode::evaluate(ScriptContext& ctx) { return Value::integer(evaluateInteger(ctx)); }

i32 UnaryNode::evaluateInteger(ScriptContext& ctx) {
  ctx.checkStack();
  const i32 c = operand->evaluateInteger(ctx);
  switch (kind) {
    case kOpSub:
      return neg(c);
    case kOpBitNot:
      return ~c;
    case kOpNot:
      return c == 0 ? 1 : 0;
    default:
      return 0;
  }
}

Value AssignNode::read(ScriptContext& ctx) {
  return ctx.readVariable(target, line, slot_, constant_);
}

i32 AssignNode::readInteger(ScriptContext& ctx) {
  if (const Value* v = ctx.variables.find(target, slot_)) return v->toInt();
  return ctx.readMissingVariable(target, line, constant_).toInt();
}

Value* AssignNode::assign(ScriptContext& ctx) {
  switch (op) {
    case kAssignPlain: {
      // The variable is made only after the right side ran, which may read it.
      if (value->alwaysInteger()) {
        const i32 n = value->evaluateInteger(ctx);
        Value& slot = ctx.variables.at(target, slot_);
        setInteger(slot, n);
        return &slot;
      }
      Value v = value->evaluate(ctx);
      Value& slot = ctx.variables.at(target, slot_);
      slot = std::move(v);
      return &slot;
    }
    case kAssignDiv:
    case kAssignMod: {
      const i32 d = value->evaluateInteger(ctx);
      if (d == 0) {
        const bool div = op == kAssignDiv;
        ctx.fail(div ? kErrDivisionByZero : kErrModuloByZero, line,
                 messages::divisionByZero(ctx.japanese(), div ? "/=" : "%=", line));
        return nullptr;
      }
      const i32 n = readInteger(ctx);
      Value& slot = ctx.variables.at(target, slot_);
      setInteger(slot, op == kAssignDiv ? quotient(n, d) : remainder(n, d));
      return &slot;
    }
    default:
      break;
  }
  if (op == kAssignAdd) {
    Value* current = ctx.variables.find(target, slot_);
    const bool isString = current ? current->isString : !target.empty() && target.back() == '$';
    if (isString) return appendText(ctx, current);
  }
  // Everything else works on the variable's integer, read before the right side runs.
  const i32 n = readInteger(ctx);
  const i32 m = value->evaluateInteger(ctx);
  i32 result = 0;
  switch (op) {
    case kAssignAdd:
      result = add(n, m);
      break;
    case kAssignSub:
      result = sub(n, m);
      break;
    case kAssignMul:
      result = mul(n, m);
      break;
    case kAssignShr:
      result = shiftRight(n, m);
      break;
    case kAssignShl:
      result = shiftLeft(n, m);
      break;
    case kAssignOr:
      result = n | m;
      break;
    case kAssignXor:
      result = n ^ m;
      break;
    case kAssignAnd:
      result = n & m;
      break;
    case kAssignPow:
      result = power(n, m);
      break;
    default:
      return nullptr;
  }
  Value& slot = ctx.variables.at(target, slot_);
  setInteger(slot, result);
  return &slot;
}

// += on text: the variable becomes the text of both sides, a whole new string
// as any assignment makes it (a variable that was also an array is one no more).
Value* AssignNode::appendText(ScriptContext& ctx, Value* current) {
  // When the right side cannot change the variable, the text is appended in
  // place: the same result as reading the variable first, without the copies.
  if (current && value->leavesVariablesAlone()) {
    Scratch scratch;
    const Value& r = value->view(ctx, scratch);
    if (&r == current) {
      const std::string copy = r.strValue;
      current->strValue += copy;
    } else {
      IntegerText digits;
      current->strValue += textOf(r, digits);
    }
    *current = Value::string(std::move(current->strValue));
    return current;
  }
  Value before = read(ctx);  // a text: the variable's, or "" for a missing name$
  Scratch scratch;
  const Value& r = value->view(ctx, scratch);
  IntegerText digits;
  before.strValue += textOf(r, digits);
  Value& slot = ctx.variables.at(target, slot_);
  slot = Value::string(std::move(before.strValue));
  return &slot;
}

Value AssignNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (op == kAssignPostInc || op == kAssignPostDec) {
    const i32 d = readInteger(ctx);
    setInteger(ctx.variables.at(target, slot_), op == kAssignPostInc ? add(d, 1) : sub(d, 1));
    return Value::integer(d);
  }
  const Value* assigned = assign(ctx);
  return assigned ? *assigned : Value{};
}

void AssignNode::execute(ScriptContext& ctx) {
  ctx.checkStack();
  if (op == kAssignPostInc || op == kAssignPostDec) {
    const i32 d = readInteger(ctx);
    setInteger(ctx.variables.at(target, slot_), op == kAssignPostInc ? add(d, 1) : sub(d, 1));
    return;
  }
  assign(ctx);
}

Value CondNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  return condition->evaluateCondition(ctx) ? thenValue->evaluate(ctx) : elseValue->evaluate(ctx);
}

i32 CondNode::evaluateInteger(ScriptContext& ctx) {
  ctx.checkStack();
  return condition->evaluateCondition(ctx) ? thenValue->evaluateInteger(ctx)
                                           : elseValue->evaluateInteger(ctx);
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
    if (statements[i]->kind == kLabelNode)
      labels_[static_cast<LabelNode&>(*statements[i]).name] = i;
  indexed_ = true;
}

Value BlockNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (!indexed_) buildLabelIndex();
  std::size_t i = 0;
  while (i < statements.size()) {
    Node& statement = *statements[i];
    try {
      statement.execute(ctx);
    } catch (const GotoException& jump) {
      const auto target = labels_.find(jump.label);
      if (target == labels_.end()) throw;
      // A jump is a statement too: a loop made only of gotos can be stopped.
      if (hostStopsRun(ctx, statement.line)) break;
      i = target->second + 1;
      continue;
    }
    // A statement left by a return did not complete: no statement callback.
    if (ctx.state.flowState == kFlowReturn) break;
    if (hostStopsRun(ctx, statement.line)) break;
    if (ctx.state.flowState != kFlowRunning) break;
    ++i;
  }
  return Value{};
}

Value IfNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (condition->evaluateCondition(ctx)) return thenBlock->evaluate(ctx);
  return elsePart ? elsePart->evaluate(ctx) : Value{};
}

namespace {

// What a loop does after its body, by the flow state the body left.
enum class AfterBody { kLeave, kGoOn };

AfterBody consumeFlow(ScriptState& state) {
  switch (state.flowState) {
    case kFlowBreak:
      state.flowState = kFlowRunning;
      return AfterBody::kLeave;
    case kFlowContinue:
      state.flowState = kFlowRunning;
      return AfterBody::kGoOn;
    case kFlowStop:
    case kFlowReturn:
      return AfterBody::kLeave;
    default:
      return AfterBody::kGoOn;
  }
}

}  // namespace

Value WhileNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const bool askHost = emptyBody(body);
  Value result;
  for (;;) {
    if (!endless && !condition->evaluateCondition(ctx)) break;
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
    if (condition->evaluateCondition(ctx) != continueWhile) break;
  }
  return result;
}

Value ForNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  const bool askHost = emptyBody(body);
  init->evaluate(ctx);
  Value result;
  for (;;) {
    if (!condition->evaluateCondition(ctx)) break;
    result = body->evaluate(ctx);
    if (consumeFlow(ctx.state) == AfterBody::kLeave) break;
    if (askHost && hostStopsRun(ctx, line)) break;
    step->execute(ctx);
  }
  return result;
}

Value ExitNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  // The code is computed before the stop is set, so a function called for it
  // runs to its end.
  const i32 exitCode = code ? code->evaluateInteger(ctx) : 0;
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
  ctx.startReturn(value ? value->evaluate(ctx) : Value{});
  return Value{};
}

Value GotoNode::evaluate(ScriptContext& ctx) {
  ctx.checkStack();
  if (target) throw GotoException{toUpperAscii(target->evaluate(ctx).toString())};
  throw GotoException{label};
}

std::vector<bool> UserFunction::findRepeats(const std::vector<std::string>& names) {
  std::vector<bool> repeats(names.size(), false);
  for (std::size_t i = 0; i < names.size(); ++i)
    for (std::size_t j = 0; j < i && !repeats[i]; ++j) repeats[i] = names[j] == names[i];
  return repeats;
}

}  // namespace kivora::script
