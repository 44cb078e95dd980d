// Painting of tree rows: the connector lines come from each node's line pattern, so a last child
// draws a half line and an ancestor that is a last child leaves its column blank below it.
#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "tests/tree/PanelFixture.h"

namespace
{

class RenderedRows
{
  public:
    explicit RenderedRows(RowArea &area)
        : image_(area.Widget()->size(), QImage::Format_ARGB32),
          ink_(area.Widget()->palette().color(QPalette::WindowText))
    {
        image_.fill(Qt::transparent);
        area.Widget()->render(&image_);
    }
    // Whether any of the columns x-1..x+1 carries line colour at this height of a row.
    bool InkNear(int x, int row, int dy) const
    {
        for (int dx = -1; dx <= 1; ++dx) {
            if (image_.pixelColor(x + dx, row * OutlinePanel::kRowHeight + dy) == ink_) {
                return true;
            }
        }
        return false;
    }

  private:
    QImage image_;
    QColor ink_;
};

} // namespace

TEST(RowPainting, ConnectorLinesFollowTheLinePatterns)
{
    PanelFixture f(CheckMode::None);
    // Rows: 0 Top, 1 First, 2 Grandchild (only child of First), 3 Last, 4 Below (only child of
    // Last)
    TreeNode *top = AddRow(f.list, "Top", DisplayItem::ContainerKind);
    TreeNode *first = AddChildRow(top, "First", DisplayItem::ContainerKind);
    AddChildRow(first, "Grandchild");
    TreeNode *last = AddChildRow(top, "Last", DisplayItem::ContainerKind);
    AddChildRow(last, "Below");
    f.SetVisibleRows(8);
    RenderedRows rows(f.panel.GetRowArea());

    // The top level draws no lines.
    EXPECT_FALSE(rows.InkNear(0 + 1, 0, 10));
    // A child that has a later sibling: full vertical line and the connector.
    EXPECT_TRUE(rows.InkNear(20, 1, 2));
    EXPECT_TRUE(rows.InkNear(20, 1, 17));
    EXPECT_TRUE(rows.InkNear(28, 1, 10));
    // Its only child: the parent's column continues, its own is a half line.
    EXPECT_TRUE(rows.InkNear(20, 2, 17));
    EXPECT_TRUE(rows.InkNear(40, 2, 2));
    EXPECT_FALSE(rows.InkNear(40, 2, 17));
    // The last child: a half line from the top to the connector.
    EXPECT_TRUE(rows.InkNear(20, 3, 2));
    EXPECT_FALSE(rows.InkNear(20, 3, 17));
    EXPECT_TRUE(rows.InkNear(28, 3, 10));
    // Below a last child its column stays blank; its own level has the half line.
    EXPECT_FALSE(rows.InkNear(20, 4, 2));
    EXPECT_FALSE(rows.InkNear(20, 4, 17));
    EXPECT_TRUE(rows.InkNear(40, 4, 2));
    EXPECT_TRUE(rows.InkNear(48, 4, 10));
}

TEST(RowPainting, SelectedRowIsInvertedAndOthersAreNot)
{
    PanelFixture f(CheckMode::None);
    AddRows(f.list, 3);
    f.SetVisibleRows(5);
    f.panel.SelectRow(1);
    QImage image(f.panel.GetRowArea().Widget()->size(), QImage::Format_ARGB32);
    f.panel.GetRowArea().Widget()->render(&image);
    QColor base = f.panel.GetRowArea().Widget()->palette().color(QPalette::Base);
    QColor inverted(255 - base.red(), 255 - base.green(), 255 - base.blue());
    const int farRight = image.width() - 5;
    EXPECT_EQ(image.pixelColor(farRight, 2 * 20 + 10), base);
    EXPECT_EQ(image.pixelColor(farRight, 1 * 20 + 10), inverted);
}

// A vertical connector runs on through the row boundaries, at scale 1 and at scale 2.
TEST(RowPainting, VerticalConnectorsHaveNoGapAtRowBoundaries)
{
    PanelFixture f(CheckMode::None);
    TreeNode *top = AddRow(f.list, "Top", DisplayItem::ContainerKind);
    TreeNode *first = AddChildRow(top, "First", DisplayItem::ContainerKind);
    AddChildRow(first, "Grandchild");
    AddChildRow(first, "Grandchild 2");
    AddChildRow(top, "Last");
    f.SetVisibleRows(8);
    QWidget *area = f.panel.GetRowArea().Widget();
    const QColor ink = area->palette().color(QPalette::WindowText);
    for (int scale : {1, 2}) {
        QImage image(area->size() * scale, QImage::Format_ARGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        area->render(&image);
        // The column of Top's children runs from row 1 (First) down to the middle of row 4 (Last).
        const int x = 20 * scale;
        for (int y = 1 * OutlinePanel::kRowHeight * scale;
             y <= (4 * OutlinePanel::kRowHeight + 9) * scale; ++y) {
            bool inked = false;
            for (int dx = -scale; dx <= scale && !inked; ++dx) {
                inked = image.pixelColor(x + dx, y) == ink;
            }
            EXPECT_TRUE(inked) << "scale " << scale << ", pixel row " << y;
        }
    }
}

// Run again with QT_SCALE_FACTOR=1.5 (see the CMake file): moving the caret repaints what the
// frame covered, so the window shows what painting it afresh shows.
TEST(ScaledRowPainting, MovingTheCaretLeavesNoTraceOfItsFrame)
{
    if (QGuiApplication::primaryScreen()->devicePixelRatio() == 1.0) {
        GTEST_SKIP() << "runs at a fractional scale only";
    }
    PanelFixture f(CheckMode::None);
    AddRows(f.list, 12);
    f.SetVisibleRows(12);
    QWidget *window = f.host.Widget()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const auto shown = [window] {
        QApplication::processEvents();
        return QGuiApplication::primaryScreen()->grabWindow(window->winId()).toImage();
    };
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down}) {
        QTest::keyClick(f.panel.GetRowArea().Widget(), key);
        shown();
    }
    const QImage afterMoves = shown();
    f.panel.GetRowArea().Widget()->update();
    const QImage afresh = shown();
    ASSERT_FALSE(afresh.isNull());
    EXPECT_EQ(afterMoves, afresh);
}
