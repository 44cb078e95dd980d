// Walks a forest in pre-order: each node before its children, children in list order.
#pragma once

#include <cstddef>
#include <memory>

class DisplayItem;
class NodeList;
class TreeNode;

// A walker keeps its own place in each list on its path (a nested walker per level), so walks
// may interleave; the lists on its path must not change while it is in use.
class TreeWalker
{
  public:
    // Starts as if NextNode had been called skip times, in O(depth × log siblings) (O(depth)
    // through lists of leaves); when the walk runs out before, the walker has ended.
    explicit TreeWalker(const NodeList &list, std::size_t skip = 0);
    TreeWalker(const TreeWalker &) = delete;
    TreeWalker &operator=(const TreeWalker &) = delete;
    ~TreeWalker();

    // The next node, or null at the end (and from then on).
    TreeNode *NextNode();
    DisplayItem *NextItem();
    // The next node that is not a descendant of the node returned last, in O(depth) however
    // large the skipped subtree.
    TreeNode *NextNodeOutsideSubtree();
    DisplayItem *NextItemOutsideSubtree();

  private:
    // Puts the walker where it is right after it returned the node at this pre-order index.
    void Place(std::size_t row);
    TreeNode *Step(bool skipBelowCurrent);
    void End();

    const NodeList *list_;
    TreeNode *current_ = nullptr; // the node returned last
    TreeNode *top_ = nullptr;     // the node of this walker's list on the way to current_
    std::size_t topPosition_ = 0;
    std::unique_ptr<TreeWalker> nested_; // over top_'s children
    bool ended_ = false;
};
