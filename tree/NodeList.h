// An ordered list of tree nodes, the top level of a forest or the children of one node. Rows of
// the forest are reached by pre-order index in about O(depth × log siblings): every list keeps
// the sum of its nodes' subtree sizes, a lazily rebuilt prefix-sum index over them and each
// node's position.
//
// Ownership: a list owns its nodes and a node owns its item and its children. Removing nodes from
// a list (close, clear, re-root) detaches them; a detached node is destroyed at once unless a
// NodeRef still pins it or one of its descendants, in which case the list keeps it (with its
// ancestors, which stay pinned too) until the last NodeRef goes. So rows that nothing refers to
// are reclaimed at once, and a history row can go on pointing to an object of a closed container.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class DisplayItem;
class TreeNode;

class NodeList
{
  public:
    static constexpr std::size_t NoPosition = static_cast<std::size_t>(-1);
    // Compares a new item with an existing one: < 0, 0 or > 0 as strcmp.
    using Comparison = std::function<int(const DisplayItem &newItem, const DisplayItem &existing)>;

    // owner: the node whose children this list holds; null for the top level of a forest.
    explicit NodeList(TreeNode *owner = nullptr);
    NodeList(const NodeList &) = delete;
    NodeList &operator=(const NodeList &) = delete;
    ~NodeList();

    TreeNode *AppendItem(std::unique_ptr<DisplayItem> item);
    TreeNode *PrependItem(std::unique_ptr<DisplayItem> item);
    // Inserts before the current node (at the end when there is none) and makes it current.
    TreeNode *InsertItemAtCursor(std::unique_ptr<DisplayItem> item);
    TreeNode *InsertItemAt(std::size_t position, std::unique_ptr<DisplayItem> item);
    // Inserts the items where inserting them one by one, in order, at the first position whose
    // item does not compare less (equal names before existing ones) would put them, in
    // O((n + k) log k) instead of O(n × k) moves. The list must be in that order already, as a
    // list built only by sorted insertion is.
    void InsertSorted(std::vector<std::unique_ptr<DisplayItem>> items, const Comparison &compare);

    // Detach nodes (see above); false when the list was empty.
    bool RemoveLast();
    bool RemoveFirst();
    void Clear();

    // The plain number of nodes in this list.
    std::size_t Count() const { return nodes_.size(); }
    // Each moves the cursor and returns the node there, or null.
    TreeNode *First();
    TreeNode *Next();
    TreeNode *Last();
    TreeNode *Seek(std::size_t position);
    // NoPosition for a node that is not in this list.
    std::size_t PositionOf(const TreeNode &node) const;
    TreeNode *ElementAt(std::size_t position) const;

    // The number of rows: nodes of this list and all their loaded descendants. O(1).
    std::size_t TotalCount() const { return total_; }
    // The node (item) at 0-based pre-order index row of this forest, or null when row is not
    // less than TotalCount.
    TreeNode *NodeAt(std::size_t row) const;
    DisplayItem *ItemAt(std::size_t row) const;
    // The pre-order index of a node of this forest, or NoPosition.
    std::size_t RowOf(const TreeNode &node) const;

    TreeNode *Owner() const { return owner_; }

  private:
    friend class TreeNode;
    friend class NodeRef;

    TreeNode *Attach(std::size_t position, std::unique_ptr<DisplayItem> item);
    void Discard(std::unique_ptr<TreeNode> node);
    void ReleaseDetached(TreeNode &node);
    // Adds delta to this list's total and to the subtree sizes above it. changed is the node of
    // this list whose subtree changed, or null when the list itself changed shape.
    void Resized(const TreeNode *changed, std::ptrdiff_t delta);
    void Invalidate() { indexed_ = false; }
    void Reindex() const;
    std::size_t PrefixBefore(std::size_t position) const;

    TreeNode *owner_;
    std::vector<std::unique_ptr<TreeNode>> nodes_;
    std::size_t cursor_ = NoPosition;
    std::size_t total_ = 0;
    // Fenwick tree over the nodes' subtree sizes (1-based) and the nodes' positions; both are
    // rebuilt on first use after the list changed shape.
    mutable std::vector<std::size_t> prefix_;
    mutable bool indexed_ = true;
    // Detached nodes that a NodeRef still pins.
    std::unique_ptr<std::vector<std::unique_ptr<TreeNode>>> detached_;
};
