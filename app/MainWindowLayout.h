// Where the main window's children go for a given drawable size and split position: the status
// bar along the bottom, the splitter at the split position, the tree view left of it and the
// history view right of it.
#pragma once

#include "toolkit/Geometry.h"

struct MainWindowLayout {
    static constexpr int kStatusBarHeight = 20;
    static constexpr int kSplitterWidth = 3;
    static constexpr int kMinSplit = 5;   // a split further left is drawn here
    static constexpr int kTreeGap = 5;    // the tree view ends this far left of the split
    static constexpr int kHistoryGap = 8; // the history view starts this far right of it

    Point statusBarPos;
    Size statusBarSize;
    Size splitterSize;
    Rectangle dragRect;
    Point splitterPos;
    Point treePos;
    Size treeSize;
    Point historyPos;
    Size historySize;
    long splitPosition;       // the position the splitter keeps
    bool splitPositionPulled; // true when the position lay beyond the right edge

    static MainWindowLayout Compute(Size output, long splitPosition);
};
