// An ordered list of tree nodes, the top level of a forest or the children of one node. Rows of
// the forest are reached by pre-order index in about O(depth × log siblings): every list keeps
// the sum of its nodes' subtree sizes, a lazily rebuilt prefix-sum index over them and each
// node's position.
//
// Ownership: a list owns its nodes and a node owns its item and its children. Removing nodes from
// a list (close, clear, re-root) detaches them. A detached node that a NodeRef still pins (or one
// of whose descendants it pins) is kept by its list, with its ancestors, until the last NodeRef
// goes. The others are reclaimed: at once, or, when the forest has a NodeReclaimer, by that
// reclaimer a slice at a time, so that closing a container of 100,000 objects does not wait for
// them to be freed.
//
// The top level of a forest tells its observers of every change of its rows: inserted and
// removed rows, check states and enabling (of one row, or of a subtree a Marked container covers
// or frees), texts and pictures. Nobody is told of changes in detached nodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/TextKey.h"

class DisplayItem;
class ForestObserver;
class NodeReclaimer;
class TreeNode;

class NodeList
{
  public:
    static constexpr std::size_t NoPosition = static_cast<std::size_t>(-1);

    // owner: the node whose children this list holds; null for the top level of a forest.
    explicit NodeList(TreeNode *owner = nullptr);
    NodeList(const NodeList &) = delete;
    NodeList &operator=(const NodeList &) = delete;
    ~NodeList();

    TreeNode *AppendItem(std::unique_ptr<DisplayItem> item);
    // Items gathered for one sorted insertion into a list: each gets its node as it arrives and is
    // keyed by its text while it is still fresh in the cache.
    class Batch
    {
      public:
        explicit Batch(NodeList &list);
        Batch(Batch &&other) noexcept;
        ~Batch(); // items never inserted go with it
        void Add(std::unique_ptr<DisplayItem> item);
        std::size_t Size() const { return nodes_.size(); }

      private:
        friend class NodeList;

        NodeList *list_;
        std::vector<TextKey> keys_;                    // indexes into nodes_
        std::vector<std::unique_ptr<TreeNode>> nodes_; // in arrival order
        std::ptrdiff_t marks_ = 0;
    };

    // Inserts the batch's items where inserting them one by one, in arrival order, with add child
    // sorted and a byte-wise comparison of their texts would put them (an equal text goes before
    // the ones already there, so among equal texts the later arrival comes first), in
    // O((n + k) log k) instead of O(n × k) moves. The list must be in that order already, as a
    // list built only by sorted insertion is, and the batch must have been made for this list.
    void InsertSorted(Batch batch);

    // Detaches the nodes (see above).
    void Clear();

    // The plain number of nodes in this list.
    std::size_t Count() const { return nodes_.size(); }
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
    // For row < TotalCount: the position of the node whose subtree holds the row; row becomes
    // the row's index within that subtree (0: the node itself).
    std::size_t PositionHolding(std::size_t &row) const;

    TreeNode *Owner() const { return owner_; }

    // For the top level of a forest: from now on nodes detached anywhere in the forest go to the
    // reclaimer (null: they are destroyed at once). The reclaimer must outlive the forest or be
    // taken back first.
    void SetReclaimer(NodeReclaimer *reclaimer);
    // For the top level of a forest: observers told of every change of its rows from now on.
    // An observer must be taken back before it goes.
    void AddObserver(ForestObserver *observer);
    void RemoveObserver(ForestObserver *observer);

  private:
    friend class TreeNode;
    friend class NodeRef;
    friend class NodeReclaimer;
    friend class DisplayItem;
    struct Extras;

    // The marked rows in this list's nodes and below them changed by delta: the owners above
    // count them (see DisplayItem::MarkedBelow).
    void MarksChanged(std::ptrdiff_t delta);
    void Discard(std::unique_ptr<TreeNode> node);
    void DiscardAll(std::vector<std::unique_ptr<TreeNode>> nodes);
    void ReleaseDetached(TreeNode &node);
    NodeReclaimer *ReclaimerOfForest() const;
    // The top level of this list's forest when it has observers and nothing on the way up is
    // detached; else null (nobody to tell).
    NodeList *ObservedTop() const;
    // The row of this list's first node.
    std::size_t FirstRow(const NodeList &top) const;
    void TellReplaced(NodeList &top, std::size_t first, std::size_t removed, std::size_t inserted);
    // A node's check state or enabling changed (and with covering, those of its descendants).
    void ChecksChanged(const TreeNode &node, bool withSubtree);
    void LooksChanged(const TreeNode &node);
    Extras &Extra() const;
    // Adds delta to this list's total and to the subtree sizes above it. changed is the node of
    // this list whose subtree changed, or null when the list itself changed shape.
    void Resized(const TreeNode *changed, std::ptrdiff_t delta);
    void Invalidate();
    bool Indexed() const;
    // Every node a leaf: row and position are the same, and no index is needed.
    bool AllLeaves() const { return total_ == nodes_.size(); }
    void Reindex() const;
    std::size_t PrefixBefore(std::size_t position) const;

    TreeNode *owner_;
    std::vector<std::unique_ptr<TreeNode>> nodes_;
    // Seldom needed, so kept apart (a loaded row carries an empty list of children): the row
    // index, detached nodes that a NodeRef pins, and the forest's reclaimer.
    mutable std::unique_ptr<Extras> extras_;
    uint32_t total_ = 0;  // rows of this list's nodes and their descendants (rows are 32-bit)
    uint32_t pinned_ = 0; // NodeRefs on nodes of this list or below them
};
