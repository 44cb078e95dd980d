// Node lists: ownership and detaching, the row index over subtree sizes, and the notices to
// those who watch the forest.
#include "model/NodeList.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "model/DisplayItem.h"
#include "model/ForestObserver.h"
#include "model/NodeReclaimer.h"
#include "model/TreeNode.h"

namespace
{
std::size_t LowBit(std::size_t i)
{
    return i & (~i + 1);
}

// The marked rows that an item brings into a list, or takes away: itself and its descendants.
std::ptrdiff_t MarksOfItem(const DisplayItem &item)
{
    return (item.OwnCheckState() != Unmarked) + item.MarkedBelow();
}

std::ptrdiff_t MarksOf(const TreeNode &node)
{
    return node.Item() == nullptr ? 0 : MarksOfItem(*node.Item());
}

} // namespace

struct NodeList::Extras {
    bool indexed = false;
    // Fenwick tree over the nodes' subtree sizes (1-based); with the nodes' positions it is
    // rebuilt on first use after the list changed shape.
    std::vector<uint32_t> prefix;
    // Detached nodes that a NodeRef still pins.
    std::vector<std::unique_ptr<TreeNode>> detached;
    NodeReclaimer *reclaimer = nullptr;      // the top level of a forest only
    std::vector<ForestObserver *> observers; // likewise
};

NodeList::NodeList(TreeNode *owner) : owner_(owner) {}

NodeList::~NodeList() = default;

NodeList::Extras &NodeList::Extra() const
{
    if (!extras_) {
        extras_ = std::make_unique<Extras>();
    }
    return *extras_;
}

bool NodeList::Indexed() const
{
    return extras_ && extras_->indexed;
}

void NodeList::Invalidate()
{
    if (extras_) {
        extras_->indexed = false;
    }
}

void NodeList::SetReclaimer(NodeReclaimer *reclaimer)
{
    Extra().reclaimer = reclaimer;
}

NodeReclaimer *NodeList::ReclaimerOfForest() const
{
    const NodeList *list = this;
    while (list->owner_ != nullptr) {
        list = list->owner_->list_;
    }
    return list->extras_ ? list->extras_->reclaimer : nullptr;
}

void NodeList::AddObserver(ForestObserver *observer)
{
    Extra().observers.push_back(observer);
}

void NodeList::RemoveObserver(ForestObserver *observer)
{
    if (extras_) {
        std::erase(extras_->observers, observer);
    }
}

NodeList *NodeList::ObservedTop() const
{
    const NodeList *list = this;
    while (list->owner_ != nullptr) {
        if (list->owner_->detached_) {
            return nullptr;
        }
        list = list->owner_->list_;
    }
    const bool observed = list->extras_ && !list->extras_->observers.empty();
    return observed ? const_cast<NodeList *>(list) : nullptr;
}

std::size_t NodeList::FirstRow(const NodeList &top) const
{
    return owner_ == nullptr ? 0 : top.RowOf(*owner_) + 1;
}

void NodeList::TellReplaced(NodeList &top, std::size_t first, std::size_t removed,
                            std::size_t inserted)
{
    for (ForestObserver *observer : std::vector(top.extras_->observers)) {
        observer->RowsReplaced(first, removed, inserted);
    }
}

void NodeList::ChecksChanged(const TreeNode &node, bool withSubtree)
{
    NodeList *top = node.detached_ ? nullptr : ObservedTop();
    if (top == nullptr) {
        return;
    }
    const std::size_t row = top->RowOf(node);
    const std::size_t last = withSubtree ? row + node.SubtreeSize() - 1 : row;
    for (ForestObserver *observer : std::vector(top->extras_->observers)) {
        observer->ChecksChanged(row, last);
    }
}

void NodeList::LooksChanged(const TreeNode &node)
{
    NodeList *top = node.detached_ ? nullptr : ObservedTop();
    if (top == nullptr) {
        return;
    }
    const std::size_t row = top->RowOf(node);
    for (ForestObserver *observer : std::vector(top->extras_->observers)) {
        observer->LooksChanged(row, row);
    }
}

TreeNode *NodeList::AppendItem(std::unique_ptr<DisplayItem> item)
{
    auto owned = std::make_unique<TreeNode>(std::move(item), *this);
    TreeNode *node = owned.get();
    const std::size_t position = nodes_.size();
    if (Indexed()) {
        // Appending extends the index: entry i covers the elements (i - lowbit(i), i]. (The sums
        // are taken while the list and its total still agree.)
        const std::size_t i = position + 1;
        node->position_ = static_cast<uint32_t>(position);
        extras_->prefix.push_back(static_cast<uint32_t>(
            node->SubtreeSize() + PrefixBefore(position) - PrefixBefore(i - LowBit(i))));
    }
    nodes_.push_back(std::move(owned));
    Resized(nullptr, 1);
    MarksChanged(MarksOf(*node));
    if (NodeList *top = ObservedTop()) {
        TellReplaced(*top, top->RowOf(*node), 0, node->SubtreeSize());
    }
    return node;
}

NodeList::Batch::Batch(NodeList &list) : list_(&list) {}

NodeList::Batch::Batch(Batch &&other) noexcept = default;

NodeList::Batch::~Batch() = default;

void NodeList::Batch::Add(std::unique_ptr<DisplayItem> item)
{
    marks_ += MarksOfItem(*item);
    keys_.emplace_back(item->StoredText(), static_cast<uint32_t>(nodes_.size()));
    nodes_.push_back(std::make_unique<TreeNode>(std::move(item), *list_));
}

void NodeList::InsertSorted(Batch batch)
{
    if (batch.nodes_.empty()) {
        return;
    }
    SortTextKeys(batch.keys_, [&batch](uint32_t index) -> const std::string & {
        return batch.nodes_[index]->Item()->StoredText();
    });
    std::vector<std::unique_ptr<TreeNode>> merged;
    merged.reserve(nodes_.size() + batch.nodes_.size());
    auto existing = nodes_.begin();
    for (const TextKey &key : batch.keys_) {
        // A new item goes before the existing ones with an equal text.
        const auto text = [&]() -> const std::string & {
            return batch.nodes_[key.index]->Item()->StoredText();
        };
        while (existing != nodes_.end()) {
            const std::string &existingText = (*existing)->Item()->StoredText();
            const auto other = [&existingText]() -> const std::string & { return existingText; };
            if (TextKey::Compare(key, text, TextKey(existingText, 0), other) <= 0) {
                break;
            }
            merged.push_back(std::move(*existing++));
        }
        merged.push_back(std::move(batch.nodes_[key.index]));
    }
    std::move(existing, nodes_.end(), std::back_inserter(merged));
    const std::size_t before = total_;
    nodes_ = std::move(merged);
    Invalidate();
    Resized(nullptr, static_cast<std::ptrdiff_t>(batch.keys_.size()));
    MarksChanged(batch.marks_);
    if (NodeList *top = ObservedTop()) {
        TellReplaced(*top, FirstRow(*top), before, total_);
    }
}

void NodeList::Clear()
{
    if (nodes_.empty()) {
        return;
    }
    NodeList *top = ObservedTop();
    const std::size_t first = top != nullptr ? FirstRow(*top) : 0;
    const std::size_t rows = total_;
    // Give the storage back too: a closed container keeps nothing of its children.
    std::vector<std::unique_ptr<TreeNode>> removed;
    removed.swap(nodes_);
    if (extras_) {
        std::vector<uint32_t>().swap(extras_->prefix);
        extras_->indexed = false;
    }
    Resized(nullptr, -static_cast<std::ptrdiff_t>(total_));
    if (owner_ != nullptr && owner_->Item() != nullptr) {
        MarksChanged(-static_cast<std::ptrdiff_t>(owner_->Item()->MarkedBelow()));
    }
    DiscardAll(std::move(removed));
    if (top != nullptr) {
        TellReplaced(*top, first, rows, 0);
    }
}

void NodeList::MarksChanged(std::ptrdiff_t delta)
{
    if (delta == 0) {
        return;
    }
    for (TreeNode *owner = owner_; owner != nullptr; owner = owner->Parent()) {
        if (DisplayItem *item = owner->Item()) {
            item->markedBelow_ = static_cast<uint32_t>(item->markedBelow_ + delta);
        }
        if (owner->detached_) {
            return; // a detached node no longer counts in its former list
        }
    }
}

void NodeList::DiscardAll(std::vector<std::unique_ptr<TreeNode>> nodes)
{
    if (pinned_ > 0) {
        // Some node here or below is pinned: sort them out one by one.
        for (auto &node : nodes) {
            Discard(std::move(node));
        }
    } else if (NodeReclaimer *reclaimer = ReclaimerOfForest()) {
        reclaimer->Take(std::move(nodes));
    }
    // Otherwise they are destroyed here, with their subtrees.
}

void NodeList::Discard(std::unique_ptr<TreeNode> node)
{
    if (node->pins_ == 0) {
        if (NodeReclaimer *reclaimer = ReclaimerOfForest()) {
            reclaimer->Take(std::move(node));
        }
        return; // otherwise destroyed here, with its subtree
    }
    node->detached_ = true;
    Extra().detached.push_back(std::move(node));
}

void NodeList::ReleaseDetached(TreeNode &node)
{
    std::vector<std::unique_ptr<TreeNode>> &detached = extras_->detached;
    auto it = std::find_if(detached.begin(), detached.end(),
                           [&node](const auto &held) { return held.get() == &node; });
    std::unique_ptr<TreeNode> released = std::move(*it);
    detached.erase(it);
    if (NodeReclaimer *reclaimer = ReclaimerOfForest()) {
        reclaimer->Take(std::move(released));
    }
}

void NodeList::Resized(const TreeNode *changed, std::ptrdiff_t delta)
{
    NodeList *list = this;
    for (;;) {
        if (changed != nullptr && list->Indexed()) {
            std::vector<uint32_t> &prefix = list->extras_->prefix;
            for (std::size_t i = changed->position_ + 1; i < prefix.size(); i += LowBit(i)) {
                prefix[i] = static_cast<uint32_t>(prefix[i] + delta);
            }
        }
        list->total_ = static_cast<uint32_t>(list->total_ + delta);
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
    Extras &extras = Extra();
    const std::size_t n = nodes_.size();
    extras.prefix.assign(n + 1, 0);
    for (std::size_t i = 1; i <= n; ++i) {
        nodes_[i - 1]->position_ = static_cast<uint32_t>(i - 1);
        extras.prefix[i] += static_cast<uint32_t>(nodes_[i - 1]->SubtreeSize());
        if (const std::size_t parent = i + LowBit(i); parent <= n) {
            extras.prefix[parent] += extras.prefix[i];
        }
    }
    extras.indexed = true;
}

std::size_t NodeList::PrefixBefore(std::size_t position) const
{
    if (AllLeaves()) {
        return position;
    }
    if (!Indexed()) {
        Reindex();
    }
    std::size_t sum = 0;
    for (std::size_t i = position; i > 0; i -= LowBit(i)) {
        sum += extras_->prefix[i];
    }
    return sum;
}

std::size_t NodeList::PositionOf(const TreeNode &node) const
{
    if (node.list_ != this || node.detached_) {
        return NoPosition;
    }
    if (!Indexed()) {
        Reindex();
    }
    return node.position_;
}

TreeNode *NodeList::ElementAt(std::size_t position) const
{
    return position < nodes_.size() ? nodes_[position].get() : nullptr;
}

std::size_t NodeList::PositionHolding(std::size_t &row) const
{
    if (AllLeaves()) {
        const std::size_t position = row;
        row = 0;
        return position;
    }
    if (!Indexed()) {
        Reindex();
    }
    // The last position whose prefix sum does not exceed row holds the row.
    const std::vector<uint32_t> &prefix = extras_->prefix;
    const std::size_t n = nodes_.size();
    std::size_t position = 0;
    for (std::size_t step = std::bit_floor(n); step > 0; step >>= 1) {
        if (position + step <= n && prefix[position + step] <= row) {
            position += step;
            row -= prefix[position];
        }
    }
    return position;
}

TreeNode *NodeList::NodeAt(std::size_t row) const
{
    for (const NodeList *list = this; row < list->total_;) {
        TreeNode *node = list->nodes_[list->PositionHolding(row)].get();
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
