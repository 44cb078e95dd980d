// The row base class and its empty bitmap.
#include "tree/DisplayItem.h"

#include "tree/TreeNode.h"

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

DisplayItem::~DisplayItem()
{
    --liveItems;
}

const Bitmap &DisplayItem::GetBitmap() const
{
    // Kept for the program's life: a pixmap must not outlive the application object's teardown.
    static const Bitmap *empty = new Bitmap();
    return *empty;
}

std::size_t DisplayItem::LiveCount()
{
    return liveItems;
}
