// The row base class: its mark counts in the forest.
#include "model/DisplayItem.h"

#include "model/TreeNode.h"

namespace
{
std::size_t liveItems = 0;
} // namespace

DisplayItem::DisplayItem(std::string text, uint16_t kind)
    : text_(std::move(text)), kind_(static_cast<uint8_t>(kind))
{
    ++liveItems;
}

void DisplayItem::SetCheckState(CheckState state)
{
    const CheckState old = OwnCheckState();
    if (state == old) {
        return;
    }
    checkState_ = static_cast<uint8_t>(state);
    const bool marked = state != Unmarked;
    if (node_ == nullptr || !node_->IsAttached()) {
        return; // a detached row no longer counts in its former list, nor is it shown
    }
    if (marked != (old != Unmarked)) {
        node_->OwningList().MarksChanged(marked ? 1 : -1);
    }
    // Marked begins or ends covering the loaded descendants: they read differently too.
    node_->OwningList().ChecksChanged(*node_, (old == Marked) != (state == Marked));
}

void DisplayItem::SetEnabled(bool enabled)
{
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (node_ != nullptr && node_->IsAttached()) {
        node_->OwningList().ChecksChanged(*node_, false);
    }
}

void DisplayItem::TellLooksChanged()
{
    if (node_ != nullptr && node_->IsAttached()) {
        node_->OwningList().LooksChanged(*node_);
    }
}

bool DisplayItem::IsCovered() const
{
    for (const TreeNode *level = node_ != nullptr ? node_->Parent() : nullptr; level != nullptr;
         level = level->Parent()) {
        if (level->Item() != nullptr && level->Item()->OwnCheckState() == Marked) {
            return true;
        }
    }
    return false;
}

DisplayItem::~DisplayItem()
{
    --liveItems;
}

std::size_t DisplayItem::LiveCount()
{
    return liveItems;
}
