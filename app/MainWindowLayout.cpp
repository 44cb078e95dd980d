#include "app/MainWindowLayout.h"

MainWindowLayout MainWindowLayout::Compute(Size output, long splitPosition)
{
    const int w = output.width;
    const int h = output.height;
    const int above = h - kStatusBarHeight;
    MainWindowLayout layout{};
    layout.statusBarPos = {0, above};
    layout.statusBarSize = {w, kStatusBarHeight};
    layout.splitterSize = {kSplitterWidth, above};
    layout.dragRect = {5, 1, w - 5, above - 2};

    long p = splitPosition;
    layout.splitPosition = splitPosition;
    layout.splitPositionPulled = false;
    if (p < kMinSplit) {
        p = kMinSplit; // drawn at the edge; the splitter keeps its own position
    } else if (p > w) {
        p = w - 8;
        layout.splitPosition = p;
        layout.splitPositionPulled = true;
    }
    const int split = static_cast<int>(p);
    layout.splitterPos = {split, 1};
    layout.treePos = {0, 0};
    layout.treeSize = {split - kTreeGap, above};
    layout.historyPos = {split + kHistoryGap, 0};
    layout.historySize = {w - split - kHistoryGap, above};
    return layout;
}
