// The pre-order walk, and its jumps to a row and past a subtree.
#include "tree/TreeWalker.h"

#include "tree/NodeList.h"
#include "tree/TreeNode.h"

TreeWalker::TreeWalker(const NodeList &list, std::size_t skip) : list_(&list)
{
    if (skip == 0) {
        return;
    }
    if (TreeNode *last = list.NodeAt(skip - 1)) {
        Follow(*last);
    } else {
        End();
    }
}

TreeWalker::~TreeWalker() = default;

TreeNode *TreeWalker::NextNode()
{
    if (ended_) {
        return nullptr;
    }
    TreeNode *result = nullptr;
    if (top_ != nullptr) {
        if (nested_ == nullptr && top_->Children().Count() > 0) {
            nested_ = std::make_unique<TreeWalker>(top_->Children());
        }
        if (nested_ != nullptr) {
            result = nested_->NextNode();
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
    if (current_ == nullptr) {
        return NextNode();
    }
    // The descendants of the node returned last are the rows right behind it.
    const std::size_t row = list_->RowOf(*current_) + current_->SubtreeSize();
    TreeNode *next = list_->NodeAt(row);
    if (next == nullptr) {
        End();
        return nullptr;
    }
    Follow(*next);
    return next;
}

DisplayItem *TreeWalker::NextItemOutsideSubtree()
{
    TreeNode *node = NextNodeOutsideSubtree();
    return node != nullptr ? node->Item() : nullptr;
}

void TreeWalker::Follow(TreeNode &target)
{
    TreeNode *top = &target;
    while (&top->OwningList() != list_) {
        top = top->Parent();
    }
    current_ = &target;
    top_ = top;
    topPosition_ = top->Position();
    ended_ = false;
    nested_.reset();
    if (top != &target) {
        nested_ = std::make_unique<TreeWalker>(top->Children());
        nested_->Follow(target);
    }
}

void TreeWalker::End()
{
    nested_.reset();
    top_ = nullptr;
    current_ = nullptr;
    ended_ = true;
}
