// The toolkit scroll bar: 16-bit signed range, and each user action reported by type and delta.
#include <gtest/gtest.h>
#include <vector>

#include "toolkit/ScrollBar.h"

namespace
{
struct Action {
    ScrollType type;
    int delta;
    int thumb;
};
} // namespace

TEST(ScrollBar, LimitsItsRangeToSixteenBitsSigned)
{
    ScrollBar bar(nullptr, WB_VSCROLL | WB_DRAG);
    bar.SetRange(-100000, 100000);
    EXPECT_EQ(bar.GetRangeMin(), -32768);
    EXPECT_EQ(bar.GetRangeMax(), 32767);
    bar.SetThumbPos(40000);
    EXPECT_EQ(bar.GetThumbPos(), 32767);
}

TEST(ScrollBar, ReportsEachActionTypeWithItsDelta)
{
    ScrollBar bar(nullptr, WB_VSCROLL | WB_DRAG);
    bar.SetRange(0, 100);
    bar.SetLineSize(1);
    bar.SetPageSize(10);
    bar.SetThumbPos(50);
    std::vector<Action> seen;
    int endScrolls = 0;
    bar.SetScrollHdl([&](ScrollBar &b) {
        seen.push_back({b.GetType(), b.GetDelta(), b.GetThumbPos()});
        return 1L;
    });
    bar.SetEndScrollHdl([&](ScrollBar &) { return long(++endScrolls); });

    bar.DoScroll(SCROLL_LINEDOWN);
    bar.DoScroll(SCROLL_LINEUP);
    bar.DoScroll(SCROLL_PAGEDOWN);
    bar.DoScroll(SCROLL_PAGEUP);
    bar.DoScroll(SCROLL_DRAG, 80);

    struct Expected {
        ScrollType type;
        int delta;
        int thumb;
    };
    const Expected expected[] = {{SCROLL_LINEDOWN, 1, 51},
                                 {SCROLL_LINEUP, -1, 50},
                                 {SCROLL_PAGEDOWN, 10, 60},
                                 {SCROLL_PAGEUP, -10, 50},
                                 {SCROLL_DRAG, 30, 80}};
    ASSERT_EQ(seen.size(), std::size(expected));
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].type, expected[i].type);
        EXPECT_EQ(seen[i].delta, expected[i].delta);
        EXPECT_EQ(seen[i].thumb, expected[i].thumb);
    }
    EXPECT_EQ(endScrolls, 5); // after each click, and once at the end of the drag
    EXPECT_EQ(bar.GetThumbPos(), 80);
}

TEST(ScrollBar, SettingAHandlerHandsBackThePreviousOne)
{
    ScrollBar bar(nullptr, 0);
    int first = 0;
    bar.SetScrollHdl([&](ScrollBar &) { return long(++first); });
    Link<ScrollBar> previous = bar.SetScrollHdl({});
    ASSERT_TRUE(previous);
    previous(bar);
    EXPECT_EQ(first, 1);
}
