// A vertical (or, with WB_HSCROLL, horizontal) scroll bar with the 16-bit signed range of its kind,
// reporting each user action by type (line up/down, page up/down, drag) to its scroll handler and
// the end of a scroll to its end-scroll handler.
#pragma once

#include <cstdint>

#include "toolkit/Control.h"
#include "toolkit/Link.h"

enum ScrollType : int {
    SCROLL_DONTKNOW = 0,
    SCROLL_LINEUP = 1,
    SCROLL_LINEDOWN = 2,
    SCROLL_PAGEUP = 3,
    SCROLL_PAGEDOWN = 4,
    SCROLL_DRAG = 5,
};

enum ScrollBarStyle : int { WB_HSCROLL = 0x1000, WB_VSCROLL = 0x2000, WB_DRAG = 0x4000 };

class ScrollBar : public Control
{
  public:
    static constexpr int kMin = INT16_MIN;
    static constexpr int kMax = INT16_MAX;

    ScrollBar(Window *parent, int style);

    virtual void Scroll();    // after an action: calls the scroll handler
    virtual void EndScroll(); // after the end of a scroll: calls the end-scroll handler

    void SetRange(int min, int max); // limited to the 16-bit signed range
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetThumbPos(int pos);
    int GetThumbPos() const;
    void SetPageSize(int size);
    void SetLineSize(int size);
    int GetDelta() const { return delta_; }
    ScrollType GetType() const { return type_; }

    Link<ScrollBar> SetScrollHdl(Link<ScrollBar> link);    // returns the previous handler
    Link<ScrollBar> SetEndScrollHdl(Link<ScrollBar> link); // returns the previous handler

    // Performs an action as the user's click or drag would (drag: to the given thumb position).
    void DoScroll(ScrollType type, int dragTo = 0);

  private:
    void OnAction(int action);

    Link<ScrollBar> scrollHdl_;
    Link<ScrollBar> endScrollHdl_;
    int delta_ = 0;
    ScrollType type_ = SCROLL_DONTKNOW;
};
