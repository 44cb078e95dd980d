// The pre-order walk, and its jumps to a row and past a subtree.
#include "model/TreeWalker.h"

#include "model/NodeList.h"
#include "model/TreeNode.h"

TreeWalker::TreeWalker(const NodeList &list, std::size_t skip) : list_(&list)
{
    if (skip == 0) {
        return;
    }
    if (skip <= list.TotalCount()) {
        Place(skip - 1);
    } else {
        End();
    }
}

TreeWalker::~TreeWalker() = default;

void TreeWalker::Place(std::size_t row)
{
    topPosition_ = list_->PositionHolding(row);
    top_ = list_->ElementAt(topPosition_);
    ended_ = false;
    nested_.reset();
    if (row == 0) {
        current_ = top_;
        return;
    }
    nested_ = std::make_unique<TreeWalker>(top_->Children());
    nested_->Place(row - 1);
    current_ = nested_->current_;
}

TreeNode *TreeWalker::NextNode()
{
    return Step(false);
}

// Each level walks its own list; the deepest level whose walker has no nested one returned the
// current node, so skipping its subtree means not descending there.
TreeNode *TreeWalker::Step(bool skipBelowCurrent)
{
    if (ended_) {
        return nullptr;
    }
    TreeNode *result = nullptr;
    if (top_ != nullptr) {
        if (nested_ == nullptr && !skipBelowCurrent && top_->Children().Count() > 0) {
            nested_ = std::make_unique<TreeWalker>(top_->Children());
        }
        if (nested_ != nullptr) {
            result = nested_->Step(skipBelowCurrent);
        }
        if (result == nullptr) {
            nested_.reset();
            top_ = list_->ElementAt(++topPosition_);
            result = top_;
        }
    } else {
        topPosition_ = 0;
        top_ = list_->ElementAt(0);
        result = top_;
    }
    ended_ = result == nullptr;
    current_ = result;
    return result;
}

DisplayItem *TreeWalker::NextItem()
{
    TreeNode *node = NextNode();
    return node != nullptr ? node->Item() : nullptr;
}

TreeNode *TreeWalker::NextNodeOutsideSubtree()
{
    return Step(true);
}

DisplayItem *TreeWalker::NextItemOutsideSubtree()
{
    TreeNode *node = NextNodeOutsideSubtree();
    return node != nullptr ? node->Item() : nullptr;
}

void TreeWalker::End()
{
    nested_.reset();
    top_ = nullptr;
    current_ = nullptr;
    ended_ = true;
}
