// Keeps a tree node, and with it its item and ancestors, alive while something outside the tree
// refers to it: a history row refers to its object after the object's container was closed.
#pragma once

#include "model/TreeNode.h"

// Pinning costs O(depth). A detached node is reclaimed when its last NodeRef goes. A NodeRef must
// not outlive the forest it points into (its top-level list).
class NodeRef
{
  public:
    NodeRef() = default;
    explicit NodeRef(TreeNode &node);
    NodeRef(const NodeRef &other);
    NodeRef(NodeRef &&other) noexcept;
    NodeRef &operator=(NodeRef other) noexcept;
    ~NodeRef();

    TreeNode *Node() const { return node_; }
    DisplayItem *Item() const { return node_ != nullptr ? node_->Item() : nullptr; }

  private:
    static void Pin(TreeNode *node);
    static void Unpin(TreeNode *node);

    TreeNode *node_ = nullptr;
};
