// Where the main window puts its children for a size and a split position.
#include <gtest/gtest.h>

#include "app/MainWindowLayout.h"

TEST(MainWindowLayout, PlacesStatusBarSplitterAndBothViews)
{
    MainWindowLayout layout = MainWindowLayout::Compute({900, 600}, 600);
    EXPECT_EQ(layout.statusBarPos, (Point{0, 580}));
    EXPECT_EQ(layout.statusBarSize, (Size{900, 20}));
    EXPECT_EQ(layout.splitterPos, (Point{600, 1}));
    EXPECT_EQ(layout.splitterSize, (Size{3, 580}));
    EXPECT_EQ(layout.dragRect, (Rectangle{5, 1, 895, 578}));
    EXPECT_EQ(layout.treePos, (Point{0, 0}));
    EXPECT_EQ(layout.treeSize, (Size{595, 580}));
    EXPECT_EQ(layout.historyPos, (Point{608, 0}));
    EXPECT_EQ(layout.historySize, (Size{292, 580}));
    EXPECT_FALSE(layout.splitPositionPulled);
}

TEST(MainWindowLayout, ClampsSplitPositionsAtBothEdges)
{
    struct Case {
        long split;
        int drawnAt;
        long kept;
        bool pulled;
    };
    const Case cases[] = {
        {2, 5, 2, false}, // drawn at 5, the splitter keeps its own position
        {-40, 5, -40, false},   {5, 5, 5, false},
        {900, 900, 900, false}, // at the right edge: still inside
        {901, 892, 892, true},  // beyond it: pulled back to w − 8 and kept
        {5000, 892, 892, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.split);
        MainWindowLayout layout = MainWindowLayout::Compute({900, 600}, c.split);
        EXPECT_EQ(layout.splitterPos.x, c.drawnAt);
        EXPECT_EQ(layout.treeSize.width, c.drawnAt - 5);
        EXPECT_EQ(layout.historyPos.x, c.drawnAt + 8);
        EXPECT_EQ(layout.historySize.width, 900 - c.drawnAt - 8);
        EXPECT_EQ(layout.splitPosition, c.kept);
        EXPECT_EQ(layout.splitPositionPulled, c.pulled);
    }
}
