// The outline panel driven by real mouse and key events: selection and caret, activation,
// the keyboard table, the scroll bar appearing and following, refresh and clear.
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "tests/tree/PanelFixture.h"
#include "toolkit/TriStateBox.h"

namespace
{

struct Counter {
    int selects = 0;
    int activates = 0;
};

void Count(OutlinePanel &panel, Counter &counter)
{
    panel.SetSelectHdl([&counter](OutlinePanel &) { return long(++counter.selects); });
    panel.SetActivateHdl([&counter](OutlinePanel &) { return long(++counter.activates); });
}

void Press(OutlinePanel &panel, Qt::Key key)
{
    QTest::keyClick(panel.GetRowArea().Widget(), key);
}

} // namespace

TEST(OutlinePanel, ClickSelectsTheRowAndMovesTheCaretThere)
{
    PanelFixture f;
    AddRows(f.list, 5);
    f.SetVisibleRows(10);
    Counter counter;
    Count(f.panel, counter);

    QTest::mouseClick(f.panel.GetRowArea().Widget(), Qt::LeftButton, {}, f.RowPoint(3));
    EXPECT_EQ(f.panel.SelectedRow(), 3);
    EXPECT_EQ(f.panel.CaretRow(), 3);
    EXPECT_TRUE(f.panel.GetViewport().IsHighlighted(3));
    EXPECT_EQ(counter.selects, 1);

    QTest::mouseClick(f.panel.GetRowArea().Widget(), Qt::LeftButton, {}, f.RowPoint(1));
    EXPECT_FALSE(f.panel.GetViewport().IsHighlighted(3));
    EXPECT_TRUE(f.panel.GetViewport().IsHighlighted(1));

    // Below the last row: ignored.
    QTest::mouseClick(f.panel.GetRowArea().Widget(), Qt::LeftButton, {}, f.RowPoint(7));
    EXPECT_EQ(f.panel.SelectedRow(), 1);
    EXPECT_EQ(counter.selects, 2);
    EXPECT_EQ(counter.activates, 0);
}

TEST(OutlinePanel, DoubleClickActivatesTheClickedRow)
{
    PanelFixture f;
    AddRows(f.list, 5);
    f.SetVisibleRows(10);
    Counter counter;
    Count(f.panel, counter);
    // A real double click: the first click selects, the second activates.
    QTest::mouseClick(f.panel.GetRowArea().Widget(), Qt::LeftButton, {}, f.RowPoint(2));
    QTest::mouseDClick(f.panel.GetRowArea().Widget(), Qt::LeftButton, {}, f.RowPoint(2));
    EXPECT_EQ(f.panel.SelectedRow(), 2);
    EXPECT_EQ(counter.activates, 1);
}

TEST(OutlinePanel, KeysMoveTheCaretWithoutSelecting)
{
    PanelFixture f;
    AddRows(f.list, 30);
    f.SetVisibleRows(10);
    Counter counter;
    Count(f.panel, counter);
    struct Step {
        Qt::Key key;
        int caret;
    };
    // Page size is one row less than fits.
    const Step steps[] = {{Qt::Key_Down, 1},      {Qt::Key_Down, 2},      {Qt::Key_Up, 1},
                          {Qt::Key_PageDown, 10}, {Qt::Key_PageDown, 19}, {Qt::Key_PageUp, 10},
                          {Qt::Key_End, 29},      {Qt::Key_Down, 29},     {Qt::Key_Home, 0},
                          {Qt::Key_Up, 0}};
    for (const Step &step : steps) {
        Press(f.panel, step.key);
        EXPECT_EQ(f.panel.CaretRow(), step.caret) << "after key " << step.key;
    }
    EXPECT_EQ(counter.selects, 0);
    EXPECT_EQ(f.panel.SelectedRow(), 0);
}

TEST(OutlinePanel, CaretBelowTheViewScrollsItIntoView)
{
    PanelFixture f;
    AddRows(f.list, 30);
    f.SetVisibleRows(10);
    Press(f.panel, Qt::Key_End);
    EXPECT_EQ(f.panel.TopRow(), 20);
    EXPECT_EQ(f.panel.GetScrollBar().Position(), 20);
    EXPECT_EQ(f.panel.GetCheckColumn().TopRow(), 20);
    Press(f.panel, Qt::Key_Home);
    EXPECT_EQ(f.panel.TopRow(), 0);
    EXPECT_EQ(f.panel.GetScrollBar().Position(), 0);
}

TEST(OutlinePanel, SpaceSelectsTheCaretRowAndReturnActivatesIt)
{
    PanelFixture f;
    AddRows(f.list, 5);
    f.SetVisibleRows(10);
    Counter counter;
    Count(f.panel, counter);
    Press(f.panel, Qt::Key_Down);
    Press(f.panel, Qt::Key_Space);
    EXPECT_EQ(f.panel.SelectedRow(), 1);
    EXPECT_EQ(counter.selects, 1);
    Press(f.panel, Qt::Key_Return); // already selected: only activates
    EXPECT_EQ(counter.selects, 1);
    EXPECT_EQ(counter.activates, 1);
    Press(f.panel, Qt::Key_Down);
    Press(f.panel, Qt::Key_Return); // selects the caret row first
    EXPECT_EQ(f.panel.SelectedRow(), 2);
    EXPECT_EQ(counter.selects, 2);
    EXPECT_EQ(counter.activates, 2);
}

TEST(OutlinePanel, PageDownOnAShortListMovesTheCaretToTheLastRow)
{
    PanelFixture f;
    AddRows(f.list, 3);
    f.SetVisibleRows(10);
    Press(f.panel, Qt::Key_PageDown);
    EXPECT_EQ(f.panel.CaretRow(), 2);
}

TEST(OutlinePanel, ScrollBarAppearsAtOneRowMoreThanFits)
{
    PanelFixture f;
    AddRows(f.list, 10);
    f.SetVisibleRows(10);
    EXPECT_FALSE(f.panel.GetScrollBar().IsVisible());
    const int fullWidth = f.panel.GetRowArea().GetOutputSizePixel().width;
    EXPECT_EQ(fullWidth, 300 - OutlinePanel::kCheckColumnWidth);

    AddRows(f.list, 1);
    QApplication::processEvents(); // the panel catches up at the next pass
    LongScrollBar &bar = f.panel.GetScrollBar();
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_EQ(bar.Minimum(), 0);
    EXPECT_EQ(bar.Maximum(), 1);
    EXPECT_EQ(bar.PageSize(), 9);
    EXPECT_EQ(f.panel.GetRowArea().GetOutputSizePixel().width,
              fullWidth - OutlinePanel::kScrollBarWidth);
}

TEST(OutlinePanel, ShrinkingPullsTheScrollPositionBackAndScrollsTheRows)
{
    PanelFixture f;
    AddRows(f.list, 30);
    f.SetVisibleRows(10);
    Press(f.panel, Qt::Key_End);
    ASSERT_EQ(f.panel.TopRow(), 20);
    f.SetVisibleRows(25); // new maximum 5
    EXPECT_EQ(f.panel.GetScrollBar().Maximum(), 5);
    EXPECT_EQ(f.panel.GetScrollBar().Position(), 5);
    EXPECT_EQ(f.panel.TopRow(), 5);
    f.SetVisibleRows(40); // everything fits: back to the top, no scroll bar
    EXPECT_EQ(f.panel.TopRow(), 0);
    EXPECT_FALSE(f.panel.GetScrollBar().IsVisible());
}

TEST(OutlinePanel, ScrollBarActionsScrollTheRowsAndTheBoxes)
{
    PanelFixture f;
    AddRows(f.list, 30);
    f.SetVisibleRows(10);
    LongScrollBar &bar = f.panel.GetScrollBar();
    bar.DoScroll(SCROLL_LINEDOWN);
    EXPECT_EQ(f.panel.TopRow(), 1);
    bar.DoScroll(SCROLL_PAGEDOWN);
    EXPECT_EQ(f.panel.TopRow(), 10);
    bar.DoScroll(SCROLL_DRAG, 20);
    EXPECT_EQ(f.panel.TopRow(), 20);
    EXPECT_EQ(f.panel.GetCheckColumn().TopRow(), 20);
    bar.DoScroll(SCROLL_PAGEDOWN); // already at the end
    EXPECT_EQ(f.panel.TopRow(), 20);
}

TEST(OutlinePanel, CheckBoxesFollowTheRowsAndOfferTheThirdStateOnlyForContainers)
{
    PanelFixture f;
    TreeNode *container = AddRow(f.list, "Box", DisplayItem::ContainerKind);
    AddChildRow(container, "Leaf");
    container->Item()->SetCheckState(MarkedAlone);
    f.list.ItemAt(1)->SetEnabled(false);
    f.SetVisibleRows(5);
    CheckColumn &column = f.panel.GetCheckColumn();
    auto *first = static_cast<TriStateBox *>(column.Box(0));
    auto *second = static_cast<TriStateBox *>(column.Box(1));
    EXPECT_TRUE(first->IsVisible());
    EXPECT_EQ(first->GetState(), STATE_DONTKNOW);
    EXPECT_TRUE(second->IsVisible());
    EXPECT_FALSE(second->IsEnabled());
    EXPECT_FALSE(column.Box(2)->IsVisible());

    int clicks = 0;
    f.panel.SetCheckHdl([&](OutlinePanel &, const CheckClick &click) {
        ++clicks;
        EXPECT_EQ(click.row, 0);
        EXPECT_EQ(click.state, Unmarked); // the third state moves on to not checked
        return 1L;
    });
    QTest::mouseClick(first->Widget(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST(OutlinePanel, ClearEmptiesTheListAndResetsSelectionAndCaret)
{
    PanelFixture f;
    AddRows(f.list, 5);
    f.SetVisibleRows(10);
    f.panel.SelectRow(3);
    f.panel.Clear();
    QApplication::processEvents();
    EXPECT_EQ(f.list.TotalCount(), 0u);
    EXPECT_EQ(f.panel.SelectedRow(), 0);
    EXPECT_EQ(f.panel.CaretRow(), 0);
    EXPECT_FALSE(f.panel.GetCheckColumn().Box(0)->IsVisible());
    Press(f.panel, Qt::Key_End); // nothing to move to
    EXPECT_EQ(f.panel.CaretRow(), 0);
}

TEST(OutlinePanel, OtherKeysGoToTheParentWindow)
{
    PanelFixture f;
    AddRows(f.list, 5);
    f.SetVisibleRows(10);
    Press(f.panel, Qt::Key_Right);
    Press(f.panel, Qt::Key_Left);
    EXPECT_EQ(f.panel.CaretRow(), 0);
    EXPECT_EQ(f.panel.SelectedRow(), 0);
}
