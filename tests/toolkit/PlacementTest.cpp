// Centring a window over its parent or on the screen, halves truncated toward zero, and widening
// a control to the width its text needs.
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

#include "tests/support/gui/PlacedWindow.h"
#include "toolkit/Control.h"
#include "toolkit/Placement.h"
#include "toolkit/Screen.h"

TEST(Placement, CentresWithHalvesTruncatedTowardZero)
{
    struct Case {
        Point outerPos;
        Size outer;
        Size inner;
        Point expected;
    };
    const Case cases[] = {
        {{0, 0}, {200, 100}, {100, 50}, {50, 25}},
        {{10, 20}, {201, 101}, {100, 50}, {60, 45}},      // odd differences round down
        {{100, 50}, {200, 100}, {301, 151}, {50, 25}},    // negative odd halves round up
        {{-30, -40}, {100, 100}, {100, 100}, {-30, -40}}, // same size: the parent's origin
        {{5, 5}, {0, 0}, {3, 3}, {4, 4}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CenteredPos(c.outerPos, c.outer, c.inner), c.expected)
            << c.outer.width << "x" << c.outer.height << " over " << c.inner.width << "x"
            << c.inner.height;
    }
}

TEST(Placement, AWindowMovesClearOfARowToTheNearestPlaceTheWorkAreaHolds)
{
    const Rectangle work{0, 0, 999, 799};
    const Rectangle middleRow{0, 300, 799, 319}; // a tree's row, the tree's width
    const Rectangle lowRow{0, 700, 799, 719};
    struct Case {
        const char *what;
        Rectangle window;
        Rectangle row;
        Point expected;
    };
    const Case cases[] = {
        {"clear already: stays", {100, 400, 399, 599}, middleRow, {100, 400}},
        {"over the row: the nearer side, below", {100, 250, 399, 449}, middleRow, {100, 328}},
        {"no room below: above", {100, 600, 399, 749}, lowRow, {100, 542}},
        {"too tall for above and below: beside", {100, 100, 249, 699}, middleRow, {808, 100}},
        {"no place holds it: stays", {100, 0, 999, 799}, middleRow, {100, 0}},
        {"partly off the screen: comes inside", {-50, 290, 249, 389}, middleRow, {0, 328}},
    };
    for (const Case &c : cases) {
        const Point moved = ClearOf(c.window, c.row, work);
        EXPECT_EQ(moved, c.expected) << c.what;
        const Rectangle placed =
            Rectangle::FromPosSize(moved, {c.window.Width(), c.window.Height()});
        if (!(moved == Point{c.window.left, c.window.top})) {
            EXPECT_FALSE(placed.Overlaps(c.row)) << c.what;
        }
    }
}

TEST(Placement, CentresOverATopLevelParentsPositionAndSize)
{
    PlacedWindow parent({300, 200}, {400, 300});
    PlacedWindow dialog({0, 0}, {101, 51});
    CenterOver(dialog, &parent);
    EXPECT_EQ(dialog.GetPosPixel(), (Point{300 + 149, 200 + 124}));
}

TEST(Placement, CentresOverAChildWindowWhereItStandsOnTheScreen)
{
    PlacedWindow host({300, 200}, {400, 300});
    Window child(&host);
    child.SetPosSizePixel({40, 30}, {100, 100});
    PlacedWindow dialog({0, 0}, {50, 50});
    CenterOver(dialog, &child);
    Point childOnScreen = child.ScreenPos();
    EXPECT_EQ(childOnScreen, (Point{340, 230}));
    EXPECT_EQ(dialog.GetPosPixel(), (Point{childOnScreen.x + 25, childOnScreen.y + 25}));
}

TEST(Placement, CentresOnTheScreenWithoutParent)
{
    Size screen = GetScreenSizePixel();
    PlacedWindow dialog({7, 7}, {121, 61});
    CenterOver(dialog, nullptr);
    EXPECT_EQ(dialog.GetPosPixel(), (Point{(screen.width - 121) / 2, (screen.height - 61) / 2}));

    PlacedWindow other({7, 7}, {screen.width + 11, 10});
    CenterOnScreen(other);
    EXPECT_EQ(other.GetPosPixel(), (Point{-5, (screen.height - 10) / 2}));
}

namespace
{
class Label : public Control
{
  public:
    Label(Window *parent, const char *text) : Control(parent, new QLabel(text)) {}
    int Needed() const { return Widget()->sizeHint().width(); }
};
} // namespace

TEST(Placement, WidensANarrowControlToItsTextWithinItsWindow)
{
    PlacedWindow window({0, 0}, {400, 100});
    Label label(&window, "A text longer than its box");
    label.SetPosSizePixel({10, 10}, {20, 12});
    ASSERT_GT(label.Needed(), 20);
    ASSERT_LT(label.Needed(), 390);
    WidenToContent(label);
    EXPECT_EQ(label.GetSizePixel(), (Size{label.Needed(), 12}));
    EXPECT_EQ(label.GetPosPixel(), (Point{10, 10}));
}

TEST(Placement, WideningStopsAtTheWindowsEdgeAndNeverNarrows)
{
    PlacedWindow window({0, 0}, {60, 100});
    Label label(&window, "A text longer than its window");
    label.SetPosSizePixel({10, 10}, {20, 12});
    WidenToContent(label);
    EXPECT_EQ(label.GetSizePixel(), (Size{50, 12}));

    Label wide(&window, "x");
    wide.SetPosSizePixel({0, 30}, {55, 12});
    WidenToContent(wide);
    EXPECT_EQ(wide.GetSizePixel(), (Size{55, 12}));
}
