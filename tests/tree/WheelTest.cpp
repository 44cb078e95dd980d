// The mouse wheel and a touchpad's two-finger scroll over the rows, the check boxes and the
// title: rows by the platform's wheel step, kept fractions, and the long-range scroll bar
// following however many rows there are.
#include <QApplication>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include "tests/tree/PanelFixture.h"
#include "toolkit/CheckBox.h"
#include "tree/WheelSteps.h"

namespace
{

constexpr int kRow = OutlinePanel::kRowHeight;

// A wheel event where the pointer is, as the window system delivers it (spontaneous): it goes up
// to the parent widgets while nobody takes it.
bool Turn(QWidget *over, QPoint angle, QPoint pixels = {})
{
    QWheelEvent event(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), pixels, angle, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(over, &event);
    QApplication::processEvents();
    return event.isAccepted();
}

void Notches(QWidget *over, int notches)
{
    Turn(over, {0, -WheelEvent::kNotch * notches});
}

class WheelScrollLines
{
  public:
    explicit WheelScrollLines(int lines) : old_(QApplication::wheelScrollLines())
    {
        QApplication::setWheelScrollLines(lines);
    }
    ~WheelScrollLines() { QApplication::setWheelScrollLines(old_); }

  private:
    int old_;
};

} // namespace

TEST(WheelSteps, TurnsWheelAndTouchpadMovementsIntoWholeRows)
{
    struct Move {
        int angle;
        int pixels;
        int32_t rows;
    };
    struct Case {
        const char *what;
        std::vector<Move> moves;
    };
    const Case cases[] = {
        {"one notch down, three rows a notch", {{-120, 0, 3}}},
        {"one notch up", {{120, 0, -3}}},
        {"eighths of a notch add up", {{-15, 0, 0}, {-15, 0, 0}, {-15, 0, 1}, {-25, 0, 0}}},
        {"a change of direction drops the fraction", {{-30, 0, 0}, {30, 0, 0}, {10, 0, -1}}},
        {"pixels win over the angle", {{-120, -45, 2}, {-120, -15, 1}}},
        {"touchpad pixels up", {{0, 19, 0}, {0, 1, -1}}},
    };
    for (const Case &c : cases) {
        WheelSteps steps;
        for (const Move &move : c.moves) {
            EXPECT_EQ(steps.Rows(move.angle, move.pixels, 3, kRow), move.rows) << c.what;
        }
    }
}

TEST(PanelWheel, TheWheelOverRowsBoxesAndTitleScrollsByTheWheelStep)
{
    WheelScrollLines lines(3);
    PanelFixture f;
    AddRows(f.list, 100);
    f.SetVisibleRows(10);
    LongScrollBar &bar = f.panel.GetScrollBar();

    Notches(f.panel.GetRowArea().Widget(), 1);
    EXPECT_EQ(f.panel.TopRow(), 3);
    Notches(f.panel.GetCheckColumn().Box(0)->Widget(), 2);
    EXPECT_EQ(f.panel.TopRow(), 9);
    EXPECT_EQ(f.panel.GetCheckColumn().TopRow(), 9);
    Notches(f.panel.GetTitleBar().Widget(), -1);
    EXPECT_EQ(f.panel.TopRow(), 6);
    EXPECT_EQ(bar.Position(), 6);

    Turn(f.panel.GetRowArea().Widget(), {0, -120}, {0, -2 * kRow - 5}); // a touchpad: 45 px
    EXPECT_EQ(f.panel.TopRow(), 8);

    Notches(f.panel.GetRowArea().Widget(), 100); // stops at the last screenful
    EXPECT_EQ(f.panel.TopRow(), 90);
    Notches(f.panel.GetRowArea().Widget(), -100);
    EXPECT_EQ(f.panel.TopRow(), 0);
}

TEST(PanelWheel, RowsThatFitDoNotScrollAndTheWheelGoesNoFurther)
{
    PanelFixture f;
    AddRows(f.list, 5);
    f.SetVisibleRows(10);
    EXPECT_TRUE(Turn(f.panel.GetRowArea().Widget(), {0, -120}));
    EXPECT_EQ(f.panel.TopRow(), 0);
}

TEST(PanelWheel, AMillionRowsScrollThroughTheLongScrollBarToTheLastRow)
{
    WheelScrollLines lines(3);
    PanelFixture f;
    AddRows(f.list, 1000000);
    f.SetVisibleRows(10);
    LongScrollBar &bar = f.panel.GetScrollBar();
    ASSERT_TRUE(bar.IsLargeMode());

    Notches(f.panel.GetRowArea().Widget(), 1);
    EXPECT_EQ(f.panel.TopRow(), 3);
    EXPECT_EQ(bar.Position(), 3);
    bar.DoScroll(SCROLL_DRAG, bar.ToToolkit(999000));
    Notches(f.panel.GetRowArea().Widget(), 1000);
    EXPECT_EQ(f.panel.TopRow(), 1000000 - 10);
    EXPECT_EQ(bar.Position(), 1000000 - 10);
    EXPECT_EQ(f.panel.GetCheckColumn().TopRow(), 1000000 - 10);
}

// Names of deep rows run past the right edge: a scroll bar below the rows brings them into view,
// and a wheel tilted sideways (or two fingers moved sideways) moves across as well.
TEST(PanelAcross, ANameWiderThanTheRowsBringsAHorizontalScrollBar)
{
    WheelScrollLines lines(3);
    PanelFixture f;
    AddRows(f.list, 3);
    f.SetVisibleRows(14);
    RowArea &area = f.panel.GetRowArea();
    area.Widget()->repaint();
    QApplication::processEvents();
    ScrollBar &across = f.panel.GetHorizontalScrollBar();
    EXPECT_FALSE(across.IsVisible());

    TreeNode *deep = AddRow(f.list, "Top", DisplayItem::ContainerKind);
    for (int level = 0; level < 8; ++level) {
        deep = AddChildRow(deep, "Level-" + std::to_string(level), DisplayItem::ContainerKind);
    }
    AddChildRow(deep, "An object whose own name is the part that matters most");
    QApplication::processEvents();
    area.Widget()->repaint(); // drawing the rows finds the wide one
    QApplication::processEvents();
    ASSERT_TRUE(across.IsVisible());
    const int width = area.GetOutputSizePixel().width;
    EXPECT_GT(area.Widest(), width);
    EXPECT_EQ(across.GetRangeMax(), area.Widest() - width);
    // The bar takes its height from the rows, not from the rows' count.
    EXPECT_EQ(area.GetOutputSizePixel().height, 14 * kRow - OutlinePanel::kScrollBarWidth);

    Turn(area.Widget(), {-WheelEvent::kNotch, 0});
    EXPECT_EQ(f.panel.GetViewport().left, 3 * kRow);
    across.DoScroll(SCROLL_DRAG, across.GetRangeMax());
    EXPECT_EQ(f.panel.GetViewport().left, area.Widest() - width);
    Turn(area.Widget(), {WheelEvent::kNotch * 100, 0});
    EXPECT_EQ(f.panel.GetViewport().left, 0);

    across.DoScroll(SCROLL_DRAG, 40);
    f.panel.Clear();
    QApplication::processEvents();
    EXPECT_FALSE(across.IsVisible());
    EXPECT_EQ(f.panel.GetViewport().left, 0);
}
