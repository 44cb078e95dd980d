// Frees detached tree nodes a slice at a time, so that closing a container of 100,000 objects, or
// re-rooting the tree, returns at once and the freeing waits for idle moments.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class TreeNode;

// Takes nodes that nothing refers to any more (no NodeRef pins them or anything below them, and
// no view shows them) and destroys them, their items and their subtrees, one node per step.
// Until then their items stay what they were, termination clients among them.
class NodeReclaimer
{
  public:
    NodeReclaimer() = default;
    NodeReclaimer(const NodeReclaimer &) = delete;
    NodeReclaimer &operator=(const NodeReclaimer &) = delete;
    ~NodeReclaimer(); // frees what is left

    void Take(std::unique_ptr<TreeNode> node);
    void Take(std::vector<std::unique_ptr<TreeNode>> nodes);
    // Called when nodes arrive while none were waiting: the owner schedules the slices.
    void SetWorkHdl(std::function<void()> hdl) { workHdl_ = std::move(hdl); }

    // Frees nodes for about the given time; true while some are left.
    bool ReclaimFor(std::chrono::microseconds budget);
    void ReclaimAll();
    bool HasWork() const { return !batches_.empty(); }

  private:
    bool ReclaimOne();

    // Each batch is a list of nodes taken together (the children of one closed container).
    std::vector<std::vector<std::unique_ptr<TreeNode>>> batches_;
    std::function<void()> workHdl_;
};
