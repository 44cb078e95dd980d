#include "tree/LongScrollBar.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

LongScrollBar::LongScrollBar(Window *parent, int style) : ScrollBar(parent, style)
{
    SetRange(0, 1);
    SetPageSize(1);
    SetLineSize(1);
    SetPosition(0);
    scrollHdl_ = ScrollBar::SetScrollHdl([this](ScrollBar &) {
        OnScroll();
        return 1L;
    });
    endScrollHdl_ = ScrollBar::SetEndScrollHdl([this](ScrollBar &) {
        OnEndScroll();
        return 1L;
    });
}

void LongScrollBar::SetRange(int32_t min, int32_t max)
{
    int64_t span = std::llabs(int64_t{max} - min);
    bool wide = span > 65535;
    largeMode_ = wide || min < kMin || min > kMax || max < kMin || max > kMax;
    if (wide) {
        toolkitMin_ = kMin;
        toolkitMax_ = kMax;
    } else if (largeMode_) {
        toolkitMin_ = kMin;
        toolkitMax_ = static_cast<int32_t>(span);
    } else {
        toolkitMin_ = min;
        toolkitMax_ = max;
    }
    ScrollBar::SetRange(toolkitMin_, toolkitMax_);
    minimum_ = min;
    maximum_ = max;
    if (position_ < min || position_ > max) {
        SetPosition(position_);
    }
}

int32_t LongScrollBar::Limit(int64_t position) const
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(position, std::min(minimum_, maximum_), std::max(minimum_, maximum_)));
}

int32_t LongScrollBar::SetPageSize(int32_t size)
{
    int32_t previous = std::exchange(pageSize_, size);
    ScrollBar::SetPageSize(ToToolkitSize(size));
    return previous;
}

int32_t LongScrollBar::SetLineSize(int32_t size)
{
    int32_t previous = std::exchange(lineSize_, size);
    ScrollBar::SetLineSize(ToToolkitSize(size));
    return previous;
}

// A size is a distance: in large mode it is scaled by the ratio of the ranges (converting it
// like a position would make it meaningless), and never below one toolkit step.
int32_t LongScrollBar::ToToolkitSize(int32_t size) const
{
    if (!largeMode_ || maximum_ == minimum_) {
        return static_cast<int16_t>(size);
    }
    int64_t scaled = int64_t{size} * (int64_t{toolkitMax_} - toolkitMin_) /
                     std::llabs(int64_t{maximum_} - minimum_);
    return static_cast<int32_t>(std::clamp<int64_t>(scaled, 1, kMax));
}

int32_t LongScrollBar::SetPosition(int32_t position)
{
    int32_t previous = std::exchange(position_, Limit(position));
    SetThumbPos(ToToolkit(position_));
    return previous;
}

// In large mode the 32-bit formulas overflow past about 32,000 rows; 64 bits keep the results.
int32_t LongScrollBar::ToToolkit(int32_t logical) const
{
    if (!largeMode_ || maximum_ == minimum_) {
        return static_cast<int16_t>(logical);
    }
    int64_t value = int64_t{toolkitMax_ - toolkitMin_} * (int64_t{logical} - minimum_) /
                        (int64_t{maximum_} - minimum_) +
                    toolkitMin_;
    return static_cast<int32_t>(value);
}

int32_t LongScrollBar::ToLogical(int32_t toolkit) const
{
    if (!largeMode_ || toolkitMax_ == toolkitMin_) {
        return static_cast<int16_t>(toolkit);
    }
    int64_t value = (int64_t{toolkit} - toolkitMin_) * (int64_t{maximum_} - minimum_) /
                        (int64_t{toolkitMax_} - toolkitMin_) +
                    minimum_;
    return static_cast<int32_t>(value);
}

int32_t LongScrollBar::LogicalThumb() const
{
    return ToLogical(GetThumbPos());
}

void LongScrollBar::OnScroll()
{
    int64_t position = position_;
    switch (GetType()) {
    case SCROLL_LINEUP:
        position -= lineSize_;
        break;
    case SCROLL_LINEDOWN:
        position += lineSize_;
        break;
    case SCROLL_PAGEUP:
        position -= pageSize_;
        break;
    case SCROLL_PAGEDOWN:
        position += pageSize_;
        break;
    case SCROLL_DRAG:
        position = LogicalThumb();
        break;
    default:
        break;
    }
    position_ = Limit(position);
    // The thumb shows the logical position; in large mode the toolkit's own step would not.
    SetThumbPos(ToToolkit(position_));
    CallLink<ScrollBar>(scrollHdl_, *this);
}

void LongScrollBar::OnEndScroll()
{
    // The thumb stands where the position maps to unless something else moved it; reading it
    // back would round the position in large mode.
    if (GetThumbPos() != ToToolkit(position_)) {
        position_ = Limit(LogicalThumb());
    }
    CallLink<ScrollBar>(endScrollHdl_, *this);
}

Link<ScrollBar> LongScrollBar::SetScrollHdl(Link<ScrollBar> link)
{
    return std::exchange(scrollHdl_, std::move(link));
}

Link<ScrollBar> LongScrollBar::SetEndScrollHdl(Link<ScrollBar> link)
{
    return std::exchange(endScrollHdl_, std::move(link));
}
