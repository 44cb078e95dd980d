// Frees detached nodes one at a time: a node's children are taken out and queued before the node
// itself goes, so that no step frees a whole subtree at once.
#include "model/NodeReclaimer.h"

#include "model/DisplayItem.h"
#include "model/TreeNode.h"

namespace
{
// Between two looks at the clock.
constexpr int kStepsPerCheck = 256;
} // namespace

NodeReclaimer::~NodeReclaimer()
{
    ReclaimAll();
}

void NodeReclaimer::Take(std::unique_ptr<TreeNode> node)
{
    std::vector<std::unique_ptr<TreeNode>> batch;
    batch.push_back(std::move(node));
    Take(std::move(batch));
}

void NodeReclaimer::Take(std::vector<std::unique_ptr<TreeNode>> nodes)
{
    if (nodes.empty()) {
        return;
    }
    const bool wasIdle = batches_.empty();
    batches_.push_back(std::move(nodes));
    if (wasIdle && workHdl_) {
        workHdl_();
    }
}

bool NodeReclaimer::ReclaimOne()
{
    while (!batches_.empty() && batches_.back().empty()) {
        batches_.pop_back();
    }
    if (batches_.empty()) {
        return false;
    }
    std::unique_ptr<TreeNode> node = std::move(batches_.back().back());
    batches_.back().pop_back();
    if (!node->children_.nodes_.empty()) {
        std::vector<std::unique_ptr<TreeNode>> children;
        children.swap(node->children_.nodes_);
        batches_.push_back(std::move(children));
    }
    node.reset();
    return true;
}

bool NodeReclaimer::ReclaimFor(std::chrono::microseconds budget)
{
    const auto end = std::chrono::steady_clock::now() + budget;
    for (;;) {
        for (int i = 0; i < kStepsPerCheck; ++i) {
            if (!ReclaimOne()) {
                return false;
            }
        }
        if (std::chrono::steady_clock::now() >= end) {
            return HasWork();
        }
    }
}

void NodeReclaimer::ReclaimAll()
{
    while (ReclaimOne()) {
    }
}
