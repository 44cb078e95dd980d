// A scroll bar whose range, page and line size and position are 32-bit logical values, mapped
// onto the toolkit's 16-bit scroll bar when they do not fit (large mode). It turns the toolkit's
// scroll actions into logical positions and forwards them to its owner's handler.
#pragma once

#include <cstdint>

#include "toolkit/ScrollBar.h"

class LongScrollBar : public ScrollBar
{
  public:
    LongScrollBar(Window *parent, int style);

    void SetRange(int32_t min, int32_t max);
    int32_t SetPageSize(int32_t size); // each setter returns the previous logical value
    int32_t SetLineSize(int32_t size);
    int32_t SetPosition(int32_t position);

    int32_t Position() const { return position_; }
    int32_t PageSize() const { return pageSize_; }
    int32_t LineSize() const { return lineSize_; }
    int32_t Minimum() const { return minimum_; }
    int32_t Maximum() const { return maximum_; }
    bool IsLargeMode() const { return largeMode_; }

    // The owner's handlers, called after the logical position has followed an action; each
    // returns the previous link.
    Link<ScrollBar> SetScrollHdl(Link<ScrollBar> link);
    Link<ScrollBar> SetEndScrollHdl(Link<ScrollBar> link);

    int32_t LogicalThumb() const; // the toolkit thumb in logical units

    int32_t ToToolkit(int32_t logical) const;
    int32_t ToToolkitSize(int32_t size) const;
    int32_t ToLogical(int32_t toolkit) const;

  private:
    void OnScroll();
    void OnEndScroll();
    int32_t Limit(int64_t position) const;

    bool largeMode_ = false;
    int32_t minimum_ = 0;
    int32_t maximum_ = 0;
    int32_t pageSize_ = 0;
    int32_t lineSize_ = 0;
    int32_t position_ = 0;
    int32_t toolkitMin_ = 0;
    int32_t toolkitMax_ = 0;
    Link<ScrollBar> scrollHdl_;
    Link<ScrollBar> endScrollHdl_;
};
