// Pins counted on a node and all its ancestors; the last unpin reclaims a detached subtree.
#include "model/NodeRef.h"

#include <utility>

NodeRef::NodeRef(TreeNode &node) : node_(&node)
{
    Pin(node_);
}

NodeRef::NodeRef(const NodeRef &other) : node_(other.node_)
{
    Pin(node_);
}

NodeRef::NodeRef(NodeRef &&other) noexcept : node_(std::exchange(other.node_, nullptr)) {}

NodeRef &NodeRef::operator=(NodeRef other) noexcept
{
    std::swap(node_, other.node_);
    return *this;
}

NodeRef::~NodeRef()
{
    Unpin(node_);
}

void NodeRef::Pin(TreeNode *node)
{
    for (TreeNode *level = node; level != nullptr; level = level->Parent()) {
        ++level->pins_;
        ++level->list_->pinned_;
    }
}

void NodeRef::Unpin(TreeNode *node)
{
    // The topmost detached node that nothing pins any more goes, with everything below it.
    TreeNode *reclaim = nullptr;
    for (TreeNode *level = node; level != nullptr; level = level->Parent()) {
        --level->list_->pinned_;
        if (--level->pins_ == 0 && level->detached_) {
            reclaim = level;
        }
    }
    if (reclaim != nullptr) {
        reclaim->list_->ReleaseDetached(*reclaim);
    }
}
