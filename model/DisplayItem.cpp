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
    const bool wasMarked = checkState_ != Unmarked;
    checkState_ = static_cast<uint8_t>(state);
    const bool marked = state != Unmarked;
    // A detached row no longer counts in its former list.
    if (marked != wasMarked && node_ != nullptr && node_->IsAttached()) {
        node_->OwningList().MarksChanged(marked ? 1 : -1);
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
