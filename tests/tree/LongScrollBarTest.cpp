// The long-range scroll bar: 32-bit logical values over the toolkit's 16-bit bar, large mode,
// the conversions both ways, and scroll actions by type.
#include <gtest/gtest.h>

#include "tree/LongScrollBar.h"

TEST(LongScrollBar, MapsRangesOntoTheToolkitRange)
{
    struct Case {
        int32_t min, max;
        bool large;
        int toolkitMin, toolkitMax;
    };
    const Case cases[] = {
        {0, 100, false, 0, 100},
        {0, 70000, true, -32768, 32767},
        {40000, 40010, true, -32768, 10},
        {0, 1000000, true, -32768, 32767},
        {-5, 5, false, -5, 5},
    };
    for (const Case &c : cases) {
        LongScrollBar bar(nullptr, WB_VSCROLL);
        bar.SetRange(c.min, c.max);
        SCOPED_TRACE(c.max);
        EXPECT_EQ(bar.IsLargeMode(), c.large);
        EXPECT_EQ(bar.GetRangeMin(), c.toolkitMin);
        EXPECT_EQ(bar.GetRangeMax(), c.toolkitMax);
    }
}

TEST(LongScrollBar, ConvertsPositionsWithoutOverflow)
{
    LongScrollBar bar(nullptr, WB_VSCROLL);
    bar.SetRange(0, 100);
    EXPECT_EQ(bar.ToToolkit(42), 42);
    EXPECT_EQ(bar.ToLogical(42), 42);

    bar.SetRange(0, 70000);
    EXPECT_EQ(bar.ToToolkit(7000), -26215); // 65535 × 7000 / 70000 − 32768, truncated
    EXPECT_EQ(bar.ToToolkit(0), -32768);
    EXPECT_EQ(bar.ToToolkit(70000), 32767);
    EXPECT_EQ(bar.ToLogical(32767), 70000);

    bar.SetRange(0, 1000000); // 65535 × 1000000 needs 64 bits
    EXPECT_EQ(bar.ToToolkit(1000000), 32767);
    EXPECT_EQ(bar.ToToolkit(500000), -1); // 65535 × 500000 / 1000000 − 32768, truncated
    EXPECT_EQ(bar.ToLogical(-32768), 0);
    EXPECT_EQ(bar.ToLogical(32767), 1000000);
}

TEST(LongScrollBar, NarrowingTheRangePullsThePositionIn)
{
    LongScrollBar bar(nullptr, WB_VSCROLL);
    bar.SetRange(0, 10);
    bar.SetPosition(9);
    bar.SetRange(0, 5);
    EXPECT_EQ(bar.Position(), 5);
    EXPECT_EQ(bar.SetPosition(50), 5); // returns the previous position
    EXPECT_EQ(bar.Position(), 5);
}

TEST(LongScrollBar, ScrollActionsMoveTheLogicalPositionAndCallTheOwner)
{
    struct Case {
        int32_t max, start, page;
        ScrollType type;
        int32_t expected;
    };
    const Case cases[] = {
        {10, 8, 4, SCROLL_PAGEDOWN, 10},
        {10, 8, 4, SCROLL_PAGEUP, 4},
        {10, 8, 4, SCROLL_LINEDOWN, 9},
        {10, 0, 4, SCROLL_LINEUP, 0},
        {1000000, 999990, 40, SCROLL_PAGEDOWN, 1000000},
        {1000000, 500000, 40, SCROLL_LINEDOWN, 500001},
        {1000000, 500000, 40, SCROLL_PAGEUP, 499960},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.max << " " << c.start << " " << c.type);
        LongScrollBar bar(nullptr, WB_VSCROLL);
        bar.SetRange(0, c.max);
        bar.SetPageSize(c.page);
        bar.SetPosition(c.start);
        int calls = 0;
        bar.SetScrollHdl([&](ScrollBar &) { return long(++calls); });
        bar.DoScroll(c.type);
        EXPECT_EQ(bar.Position(), c.expected);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(bar.GetThumbPos(), bar.ToToolkit(c.expected));
    }
}

TEST(LongScrollBar, DragTakesTheLogicalThumb)
{
    LongScrollBar bar(nullptr, WB_VSCROLL);
    bar.SetRange(0, 1000000);
    bar.DoScroll(SCROLL_DRAG, 0);
    EXPECT_EQ(bar.Position(), 500007); // 32768 × 1000000 / 65535, truncated
    bar.DoScroll(SCROLL_DRAG, 32767);
    EXPECT_EQ(bar.Position(), 1000000);
}
