#pragma once
// Ownership of syntax-tree nodes. Trees can be as deep as a script is long (a
// chain of a thousand additions is a thousand levels), so they are freed by a
// loop rather than by recursive destructors.

#include <memory>

namespace kivora::script {

class Node;

struct NodeDeleter {
  void operator()(Node* node) const noexcept;
};

template <typename T = Node>
using Owned = std::unique_ptr<T, NodeDeleter>;
using NodePtr = Owned<Node>;

template <typename T, typename... Args>
Owned<T> makeNode(Args&&... args) {
  return Owned<T>(new T(std::forward<Args>(args)...));
}

// Collects released nodes through their own link field, so freeing a tree
// never allocates.
class NodeFreeList {
 public:
  void take(NodePtr& child) noexcept;
  void push(Node* node) noexcept;
  Node* pop() noexcept;

 private:
  Node* head_ = nullptr;
};

}  // namespace kivora::script
