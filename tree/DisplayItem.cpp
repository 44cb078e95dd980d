// The row base class and its empty bitmap.
#include "tree/DisplayItem.h"

namespace
{
std::size_t liveItems = 0;
} // namespace

DisplayItem::DisplayItem(std::string text, uint16_t kind) : text_(std::move(text)), kind_(kind)
{
    ++liveItems;
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
