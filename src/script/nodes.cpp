#include "script/nodes.h"

namespace kivora::script {

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

}  // namespace kivora::script
