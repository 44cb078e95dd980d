// Tree nodes: children, sorted insertion and line patterns.
#include "model/TreeNode.h"

#include <algorithm>
#include <cassert>
#include <cctype>

#include "model/DisplayItem.h"

namespace
{
std::size_t liveNodes = 0;
} // namespace

TreeNode::TreeNode(std::unique_ptr<DisplayItem> item, NodeList &owningList)
    : item_(std::move(item)), list_(&owningList), children_(this)
{
    if (item_) {
        item_->node_ = this;
    }
    ++liveNodes;
}

TreeNode::~TreeNode()
{
    assert(pins_ == 0 && "a NodeRef outlived the forest it points into");
    --liveNodes;
}

TreeNode *TreeNode::AddChild(std::unique_ptr<DisplayItem> item)
{
    return children_.AppendItem(std::move(item));
}

static_assert(sizeof(TreeNode) <= 72, "a loaded row should stay small");

std::string TreeNode::LinePattern() const
{
    // Only first and last matter, so no position is needed (a large list need not be indexed for
    // its rows to be drawn).
    std::string pattern;
    for (const TreeNode *level = this; level != nullptr; level = level->Parent()) {
        const NodeList &list = *level->list_;
        const bool last = list.Count() > 0 && list.ElementAt(list.Count() - 1) == level;
        char letter = last ? 'L' : list.ElementAt(0) == level ? 'F' : 'I';
        if (level->Parent() != nullptr) {
            letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
        }
        pattern.push_back(letter);
    }
    std::reverse(pattern.begin(), pattern.end());
    return pattern;
}

std::size_t TreeNode::LiveCount()
{
    return liveNodes;
}
