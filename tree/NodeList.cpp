// Node lists: ownership and detaching, the cursor, and the row index over subtree sizes.
#include "tree/NodeList.h"

#include <algorithm>
#include <bit>

#include "tree/DisplayItem.h"
#include "tree/TreeNode.h"

namespace
{
std::size_t LowBit(std::size_t i)
{
    return i & (~i + 1);
}
} // namespace

NodeList::NodeList(TreeNode *owner) : owner_(owner), indexed_(false) {}

NodeList::~NodeList() = default;

TreeNode *NodeList::AppendItem(std::unique_ptr<DisplayItem> item)
{
    return Attach(nodes_.size(), std::move(item));
}

TreeNode *NodeList::PrependItem(std::unique_ptr<DisplayItem> item)
{
    return Attach(0, std::move(item));
}

TreeNode *NodeList::InsertItemAtCursor(std::unique_ptr<DisplayItem> item)
{
    const std::size_t position = std::min(cursor_, nodes_.size());
    TreeNode *node = Attach(position, std::move(item));
    cursor_ = position;
    return node;
}

TreeNode *NodeList::InsertItemAt(std::size_t position, std::unique_ptr<DisplayItem> item)
{
    return Attach(std::min(position, nodes_.size()), std::move(item));
}

TreeNode *NodeList::Attach(std::size_t position, std::unique_ptr<DisplayItem> item)
{
    auto owned = std::make_unique<TreeNode>(std::move(item), *this);
    TreeNode *node = owned.get();
    nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(position), std::move(owned));
    if (cursor_ != NoPosition && cursor_ >= position) {
        ++cursor_;
    }
    if (indexed_ && position + 1 == nodes_.size()) {
        // Appending extends the index: entry i covers the elements (i - lowbit(i), i].
        const std::size_t i = nodes_.size();
        node->position_ = position;
        prefix_.push_back(node->SubtreeSize() + PrefixBefore(position) -
                          PrefixBefore(i - LowBit(i)));
    } else {
        Invalidate();
    }
    Resized(nullptr, 1);
    return node;
}

void NodeList::InsertSorted(std::vector<std::unique_ptr<DisplayItem>> items,
                            const Comparison &compare)
{
    if (items.empty()) {
        return;
    }
    // One by one, each item would go before every equal one already there: among equal names
    // the latest arrival comes first, and new items come before existing ones.
    std::reverse(items.begin(), items.end());
    std::stable_sort(items.begin(), items.end(),
                     [&compare](const auto &a, const auto &b) { return compare(*a, *b) < 0; });
    std::vector<std::unique_ptr<TreeNode>> merged;
    merged.reserve(nodes_.size() + items.size());
    auto existing = nodes_.begin();
    for (auto &item : items) {
        while (existing != nodes_.end() && compare(*item, *(*existing)->Item()) > 0) {
            merged.push_back(std::move(*existing++));
        }
        merged.push_back(std::make_unique<TreeNode>(std::move(item), *this));
    }
    std::move(existing, nodes_.end(), std::back_inserter(merged));
    nodes_ = std::move(merged);
    cursor_ = NoPosition;
    Invalidate();
    Resized(nullptr, static_cast<std::ptrdiff_t>(items.size()));
}

bool NodeList::RemoveLast()
{
    if (nodes_.empty()) {
        return false;
    }
    std::unique_ptr<TreeNode> node = std::move(nodes_.back());
    nodes_.pop_back();
    if (indexed_) {
        prefix_.pop_back(); // no other entry covers the last element alone
    }
    if (cursor_ == nodes_.size()) {
        cursor_ = NoPosition;
    }
    Resized(nullptr, -static_cast<std::ptrdiff_t>(node->SubtreeSize()));
    Discard(std::move(node));
    return true;
}

bool NodeList::RemoveFirst()
{
    if (nodes_.empty()) {
        return false;
    }
    std::unique_ptr<TreeNode> node = std::move(nodes_.front());
    nodes_.erase(nodes_.begin());
    if (cursor_ != NoPosition) {
        cursor_ = cursor_ == 0 ? NoPosition : cursor_ - 1;
    }
    Invalidate();
    Resized(nullptr, -static_cast<std::ptrdiff_t>(node->SubtreeSize()));
    Discard(std::move(node));
    return true;
}

void NodeList::Clear()
{
    if (nodes_.empty()) {
        return;
    }
    // Give the storage back too: a closed container keeps nothing of its children.
    std::vector<std::unique_ptr<TreeNode>> removed;
    removed.swap(nodes_);
    std::vector<std::size_t>().swap(prefix_);
    indexed_ = false;
    cursor_ = NoPosition;
    Resized(nullptr, -static_cast<std::ptrdiff_t>(total_));
    for (auto &node : removed) {
        Discard(std::move(node));
    }
}

void NodeList::Discard(std::unique_ptr<TreeNode> node)
{
    if (node->pins_ == 0) {
        return; // destroyed here, with its subtree
    }
    node->detached_ = true;
    if (!detached_) {
        detached_ = std::make_unique<std::vector<std::unique_ptr<TreeNode>>>();
    }
    detached_->push_back(std::move(node));
}

void NodeList::ReleaseDetached(TreeNode &node)
{
    auto it = std::find_if(detached_->begin(), detached_->end(),
                           [&node](const auto &held) { return held.get() == &node; });
    detached_->erase(it);
    if (detached_->empty()) {
        detached_.reset();
    }
}

void NodeList::Resized(const TreeNode *changed, std::ptrdiff_t delta)
{
    NodeList *list = this;
    for (;;) {
        if (changed != nullptr && list->indexed_) {
            for (std::size_t i = changed->position_ + 1; i < list->prefix_.size(); i += LowBit(i)) {
                list->prefix_[i] += static_cast<std::size_t>(delta);
            }
        }
        list->total_ += static_cast<std::size_t>(delta);
        TreeNode *owner = list->owner_;
        if (owner == nullptr || owner->detached_) {
            return; // a detached node no longer counts in its former list
        }
        changed = owner;
        list = owner->list_;
    }
}

void NodeList::Reindex() const
{
    const std::size_t n = nodes_.size();
    prefix_.assign(n + 1, 0);
    for (std::size_t i = 1; i <= n; ++i) {
        nodes_[i - 1]->position_ = i - 1;
        prefix_[i] += nodes_[i - 1]->SubtreeSize();
        if (const std::size_t parent = i + LowBit(i); parent <= n) {
            prefix_[parent] += prefix_[i];
        }
    }
    indexed_ = true;
}

std::size_t NodeList::PrefixBefore(std::size_t position) const
{
    if (!indexed_) {
        Reindex();
    }
    std::size_t sum = 0;
    for (std::size_t i = position; i > 0; i -= LowBit(i)) {
        sum += prefix_[i];
    }
    return sum;
}

TreeNode *NodeList::First()
{
    return Seek(0);
}

TreeNode *NodeList::Next()
{
    return cursor_ == NoPosition ? nullptr : Seek(cursor_ + 1);
}

TreeNode *NodeList::Last()
{
    return nodes_.empty() ? nullptr : Seek(nodes_.size() - 1);
}

TreeNode *NodeList::Seek(std::size_t position)
{
    cursor_ = position < nodes_.size() ? position : NoPosition;
    return ElementAt(cursor_);
}

std::size_t NodeList::PositionOf(const TreeNode &node) const
{
    if (node.list_ != this || node.detached_) {
        return NoPosition;
    }
    if (!indexed_) {
        Reindex();
    }
    return node.position_;
}

TreeNode *NodeList::ElementAt(std::size_t position) const
{
    return position < nodes_.size() ? nodes_[position].get() : nullptr;
}

TreeNode *NodeList::NodeAt(std::size_t row) const
{
    for (const NodeList *list = this; row < list->total_;) {
        if (!list->indexed_) {
            list->Reindex();
        }
        // The last position whose prefix sum does not exceed row holds the row.
        const std::size_t n = list->nodes_.size();
        std::size_t position = 0;
        for (std::size_t step = std::bit_floor(n); step > 0; step >>= 1) {
            if (position + step <= n && list->prefix_[position + step] <= row) {
                position += step;
                row -= list->prefix_[position];
            }
        }
        TreeNode *node = list->nodes_[position].get();
        if (row == 0) {
            return node;
        }
        row -= 1;
        list = &node->children_;
    }
    return nullptr;
}

DisplayItem *NodeList::ItemAt(std::size_t row) const
{
    TreeNode *node = NodeAt(row);
    return node != nullptr ? node->Item() : nullptr;
}

std::size_t NodeList::RowOf(const TreeNode &node) const
{
    std::size_t row = 0;
    for (const TreeNode *level = &node;;) {
        const NodeList &list = *level->list_;
        const std::size_t position = list.PositionOf(*level);
        if (position == NoPosition) {
            return NoPosition;
        }
        row += list.PrefixBefore(position);
        if (&list == this) {
            return row;
        }
        level = list.owner_;
        if (level == nullptr) {
            return NoPosition;
        }
        row += 1;
    }
}
