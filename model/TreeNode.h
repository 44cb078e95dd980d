// One node of a forest: it owns its display item and its children, and knows its list, its
// position there and the size of its subtree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/NodeList.h"
#include "model/RowPool.h"

class DisplayItem;

class TreeNode : public PooledAllocation<TreeNode>
{
  public:
    TreeNode(std::unique_ptr<DisplayItem> item, NodeList &owningList);
    TreeNode(const TreeNode &) = delete;
    TreeNode &operator=(const TreeNode &) = delete;
    ~TreeNode();

    DisplayItem *Item() const { return item_.get(); }
    // Null for a node of the top level.
    TreeNode *Parent() const { return list_->Owner(); }
    NodeList &OwningList() const { return *list_; }
    NodeList &Children() { return children_; }
    const NodeList &Children() const { return children_; }

    TreeNode *AddChild(std::unique_ptr<DisplayItem> item);

    // 1 plus the subtree sizes of the children. O(1).
    std::size_t SubtreeSize() const { return 1 + children_.TotalCount(); }
    std::size_t Position() const { return list_->PositionOf(*this); }
    // One letter per level from the top down: "L" for a last (or only) node, else "F" for a
    // first, else "I"; the node's own letter and those of its ancestors below the top are lower
    // case. The tree view draws the connector lines from it.
    std::string LinePattern() const;
    // False once the node has been removed from its list.
    bool IsAttached() const { return !detached_; }

    // Nodes alive in the program, so that tests can tell that detached nodes are reclaimed.
    static std::size_t LiveCount();

  private:
    friend class NodeList;
    friend class NodeRef;
    friend class NodeReclaimer;

    // A loaded row costs one of these, so it is kept to 72 bytes.
    // Declared before the children so that the children go first when the node is destroyed.
    std::unique_ptr<DisplayItem> item_;
    NodeList *list_;
    NodeList children_;
    uint32_t position_ = 0;  // valid while the list is indexed
    uint32_t pins_ : 31 = 0; // NodeRefs on this node or any of its descendants
    uint32_t detached_ : 1 = 0;
};
