// The outline panel as assistive tools see it: a tree named after the title whose items are the
// rows on screen, with their texts and states; the announcements of its changes; Plus and the
// tools' actions marking a row as a click on its check box does.
#include <QApplication>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "tests/support/gui/AccessibleEventLog.h"
#include "tests/tree/PanelFixture.h"
#include "toolkit/CheckBox.h"

namespace
{

// A container row whose open flag a test sets.
class FolderItem : public DisplayItem
{
  public:
    explicit FolderItem(std::string text) : DisplayItem(std::move(text), ContainerKind) {}
    bool IsExpandable() const override { return true; }
    bool IsExpanded() const override { return open; }
    bool open = false;
};

QAccessibleInterface *Rows(OutlinePanel &panel)
{
    return AccessibleOf(panel.GetRowArea().Widget());
}

QAccessibleInterface *Row(OutlinePanel &panel, int index)
{
    return Rows(panel)->child(index);
}

void Press(OutlinePanel &panel, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(panel.GetRowArea().Widget(), key, modifiers);
}

void ClickRow(PanelFixture &f, int visibleRow)
{
    QTest::mouseClick(f.panel.GetRowArea().Widget(), Qt::LeftButton, {}, f.RowPoint(visibleRow));
}

struct CheckClicks {
    std::vector<int32_t> rows;
    std::vector<int> states;
};

void RecordChecks(OutlinePanel &panel, CheckClicks &clicks)
{
    panel.SetCheckHdl([&clicks](OutlinePanel &, const CheckClick &click) {
        clicks.rows.push_back(click.row);
        clicks.states.push_back(click.state);
        return 1L;
    });
}

// The panel's own check handler of the program: the clicked state goes into the item.
void StoreChecks(OutlinePanel &panel, NodeList &list)
{
    panel.SetCheckHdl([&list](OutlinePanel &, const CheckClick &click) {
        list.ItemAt(static_cast<size_t>(click.row))->SetCheckState(click.state);
        return 1L;
    });
}

} // namespace

TEST(PanelAccessibility, PresentsTheRowsAsATreeNamedAfterTheTitle)
{
    PanelFixture f;
    TreeNode *top = AddRow(f.list, "Top", DisplayItem::ContainerKind);
    AddChildRow(top, "First");
    AddChildRow(top, "Second");
    AddRow(f.list, "Last");
    f.panel.SetTitle("Tree title");
    f.SetVisibleRows(10);
    QApplication::processEvents();

    QAccessibleInterface *rows = Rows(f.panel);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->role(), QAccessible::Tree);
    EXPECT_EQ(AccessibleName(rows), "Tree title");
    EXPECT_EQ(ChildNames(rows), (std::vector<std::string>{"Top", "First", "Second", "Last"}));

    for (int i = 0; i < rows->childCount(); ++i) {
        QAccessibleInterface *row = rows->child(i);
        EXPECT_EQ(row->role(), QAccessible::TreeItem);
        EXPECT_EQ(row->parent(), rows);
        EXPECT_EQ(rows->indexOfChild(row), i);
        EXPECT_EQ(rows->child(i), row) << "asked again, the same interface";
        QWidget *area = f.panel.GetRowArea().Widget();
        const QRect expected(area->mapToGlobal(QPoint(0, i * OutlinePanel::kRowHeight)),
                             QSize(area->width(), OutlinePanel::kRowHeight));
        EXPECT_EQ(row->rect(), expected);
        EXPECT_EQ(rows->childAt(expected.center().x(), expected.center().y()), row);
    }
    // The title bar, where Tab puts the focus, reads the title too.
    EXPECT_EQ(AccessibleName(AccessibleOf(f.panel.GetTitleBar().Widget())), "Tree title");
    // So does each shown check box, by its row's text.
    EXPECT_EQ(AccessibleName(AccessibleOf(f.panel.GetCheckColumn().Box(2)->Widget())), "Second");
}

TEST(PanelAccessibility, RowStatesFollowTheItems)
{
    PanelFixture f;
    auto folder = std::make_unique<FolderItem>("Folder");
    FolderItem *folderItem = folder.get();
    f.list.AppendItem(std::move(folder));
    AddRow(f.list, "Marked")->Item()->SetCheckState(Marked);
    AddRow(f.list, "Alone", DisplayItem::ContainerKind)->Item()->SetCheckState(MarkedAlone);
    AddRow(f.list, "Covered")->Item()->SetEnabled(false);
    f.SetVisibleRows(10);
    QApplication::processEvents();

    struct Expected {
        bool checked, mixed, disabled, expandable;
    };
    const std::vector<Expected> expected = {
        {false, false, false, true},
        {true, false, false, false},
        {false, true, false, false},
        {false, false, true, false},
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        QAccessible::State state = Row(f.panel, static_cast<int>(i))->state();
        EXPECT_TRUE(state.checkable);
        EXPECT_EQ(bool(state.checked), expected[i].checked);
        EXPECT_EQ(bool(state.checkStateMixed), expected[i].mixed);
        EXPECT_EQ(bool(state.disabled), expected[i].disabled);
        EXPECT_EQ(bool(state.expandable), expected[i].expandable);
        EXPECT_FALSE(state.selected);
    }
    EXPECT_TRUE(Row(f.panel, 0)->state().collapsed);
    folderItem->open = true;
    EXPECT_TRUE(Row(f.panel, 0)->state().expanded);
    EXPECT_FALSE(Row(f.panel, 0)->state().collapsed);

    // A click selects and brings the focus; the caret row is the focused one.
    ClickRow(f, 2);
    EXPECT_TRUE(Row(f.panel, 2)->state().selected);
    EXPECT_TRUE(Row(f.panel, 2)->state().focused);
    EXPECT_EQ(Rows(f.panel)->focusChild(), Row(f.panel, 2));
    Press(f.panel, Qt::Key_Down);
    EXPECT_TRUE(Row(f.panel, 2)->state().selected);
    EXPECT_FALSE(Row(f.panel, 2)->state().focused);
    EXPECT_TRUE(Row(f.panel, 3)->state().focused);

    // A disabled panel disables every row.
    f.panel.Disable();
    EXPECT_TRUE(Row(f.panel, 0)->state().disabled);
}

TEST(PanelAccessibility, RowsOfAPanelWithoutCheckBoxesAreNotCheckable)
{
    PanelFixture f(CheckMode::None);
    AddRow(f.list, "Plain")->Item()->SetCheckState(Marked);
    f.SetVisibleRows(5);
    EXPECT_FALSE(Row(f.panel, 0)->state().checkable);
    EXPECT_FALSE(Row(f.panel, 0)->state().checked);
}

TEST(PanelAccessibility, OnlyTheRowsOnScreenAreChildren)
{
    PanelFixture f;
    AddRows(f.list, 1000000);
    f.SetVisibleRows(10);
    QApplication::processEvents();
    QAccessibleInterface *rows = Rows(f.panel);
    EXPECT_EQ(rows->childCount(), 10);
    QAccessibleInterface *first = rows->child(0);
    const QAccessible::Id firstId = QAccessible::uniqueId(first);
    EXPECT_EQ(AccessibleName(first), "Row-0");

    ClickRow(f, 0);
    Press(f.panel, Qt::Key_End);
    EXPECT_EQ(rows->childCount(), 10);
    EXPECT_EQ(AccessibleName(rows->child(0)), "Row-999990");
    EXPECT_EQ(AccessibleName(rows->child(9)), "Row-999999");
    EXPECT_EQ(rows->child(10), nullptr);
    EXPECT_EQ(AccessibleName(rows->focusChild()), "Row-999999");
    // The interface of a row that left the screen is given up.
    EXPECT_EQ(QAccessible::accessibleInterface(firstId), nullptr);

    // A row partly on screen counts: half a row more shows one more.
    f.host.SetSizePixel({300, OutlinePanel::kTitleHeight + 10 * OutlinePanel::kRowHeight + 10});
    f.panel.SetPosSizePixel({0, 0}, f.host.GetSizePixel());
    QApplication::processEvents();
    Press(f.panel, Qt::Key_Home);
    EXPECT_EQ(rows->childCount(), 11);
}

TEST(PanelAccessibility, AnnouncesSelectionCaretFocusTitleAndRowChanges)
{
    PanelFixture f;
    AddRows(f.list, 5);
    f.SetVisibleRows(10);
    QApplication::processEvents();
    AccessibleEventLog log;

    ClickRow(f, 2);
    EXPECT_EQ(log.NamesOf(QAccessible::SelectionRemove), (std::vector<std::string>{"Row-0"}));
    EXPECT_EQ(log.NamesOf(QAccessible::SelectionAdd), (std::vector<std::string>{"Row-2"}));
    EXPECT_EQ(log.NamesOf(QAccessible::Focus).back(), "Row-2");

    log.Clear();
    Press(f.panel, Qt::Key_Down);
    EXPECT_EQ(log.NamesOf(QAccessible::Focus), (std::vector<std::string>{"Row-3"}));
    EXPECT_TRUE(log.NamesOf(QAccessible::SelectionAdd).empty()) << "moving the caret selects not";

    log.Clear();
    f.panel.SetTitle("New title");
    EXPECT_EQ(log.NamesOf(QAccessible::NameChanged).back(), "New title");

    log.Clear();
    AddRow(f.list, "Row-5"); // told at the next pass
    QApplication::processEvents();
    EXPECT_EQ(log.NamesOf(QAccessible::ObjectReorder), (std::vector<std::string>{"New title"}));
    EXPECT_EQ(Rows(f.panel)->childCount(), 6);

    // Focus coming back through the title bar (as Tab brings it) ends on the caret row, after
    // Qt has told of the title bar.
    f.host.GrabFocus();
    log.Clear();
    f.panel.GetTitleBar().GrabFocus();
    QApplication::processEvents();
    EXPECT_EQ(log.NamesOf(QAccessible::Focus).back(), "Row-3");
}

TEST(PanelAccessibility, AnnouncesCheckStatesOfTheRowsOnScreen)
{
    PanelFixture f;
    AddRows(f.list, 2);
    TreeNode *box = AddRow(f.list, "Box", DisplayItem::ContainerKind);
    for (int i = 0; i < 20; ++i) {
        AddChildRow(box, "In-" + std::to_string(i));
    }
    AddRows(f.list, 3);
    f.SetVisibleRows(10);
    AccessibleEventLog log;
    const auto told = [&log] {
        std::vector<std::string> names;
        for (const AccessibleEventRecord &event : log.Events()) {
            if (event.type == QAccessible::StateChanged && event.changed.checked) {
                names.push_back(event.name);
            }
        }
        return names;
    };
    f.list.ItemAt(1)->SetCheckState(Marked);
    EXPECT_TRUE(told().empty()) << "told once the panel catches up";
    QApplication::processEvents();
    EXPECT_EQ(told(), (std::vector<std::string>{"Row-1"}));
    EXPECT_TRUE(Row(f.panel, 1)->state().checked);

    // A container marked with its subtree changes the rows it covers too; rows 2 to 9 are on
    // screen, what is below is read when it comes into view.
    log.Clear();
    box->Item()->SetCheckState(Marked);
    QApplication::processEvents();
    EXPECT_EQ(told(), (std::vector<std::string>{"Box", "In-0", "In-1", "In-2", "In-3", "In-4",
                                                "In-5", "In-6"}));
    EXPECT_TRUE(Row(f.panel, 5)->state().checked);
    EXPECT_TRUE(Row(f.panel, 5)->state().disabled);
}

TEST(PanelAccessibility, PlusCyclesTheCaretRowsBoxAsAClickDoes)
{
    PanelFixture f;
    AddRow(f.list, "Leaf");
    AddRow(f.list, "Container", DisplayItem::ContainerKind);
    AddRow(f.list, "Covered")->Item()->SetEnabled(false);
    f.SetVisibleRows(10);
    QApplication::processEvents();
    CheckClicks clicks;
    RecordChecks(f.panel, clicks);
    ClickRow(f, 1);

    for (int i = 0; i < 3; ++i) {
        Press(f.panel, Qt::Key_Plus);
    }
    EXPECT_EQ(clicks.rows, (std::vector<int32_t>{1, 1, 1}));
    EXPECT_EQ(clicks.states, (std::vector<int>{1, 2, 0})); // the third state for a container
    EXPECT_TRUE(f.panel.GetRowArea().HasFocus()) << "the keyboard stays on the rows";

    clicks = {};
    Press(f.panel, Qt::Key_Up);
    Press(f.panel, Qt::Key_Plus, Qt::KeypadModifier);
    Press(f.panel, Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(clicks.rows, (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(clicks.states, (std::vector<int>{1, 0}));
    EXPECT_EQ(f.panel.SelectedRow(), 1) << "marking moves neither selection nor caret";
    EXPECT_EQ(f.panel.CaretRow(), 0);

    // A box that cannot be clicked cannot be cycled either.
    clicks = {};
    Press(f.panel, Qt::Key_End);
    Press(f.panel, Qt::Key_Plus);
    EXPECT_TRUE(clicks.rows.empty());

    // Space keeps selecting, and marks nothing.
    Press(f.panel, Qt::Key_Space);
    EXPECT_EQ(f.panel.SelectedRow(), 2);
    EXPECT_TRUE(clicks.rows.empty());
}

TEST(PanelAccessibility, PlusBringsACaretRowOffScreenIntoViewAndMarksIt)
{
    PanelFixture f;
    AddRows(f.list, 30);
    f.SetVisibleRows(10);
    QApplication::processEvents();
    StoreChecks(f.panel, f.list);
    ClickRow(f, 3);
    // The scroll bar moves the rows, not the caret.
    f.panel.GetScrollBar().SetPosition(15);
    f.panel.ScrollRows(15);
    ASSERT_EQ(f.panel.TopRow(), 15);

    Press(f.panel, Qt::Key_Plus);
    EXPECT_EQ(f.panel.TopRow(), 3);
    EXPECT_EQ(f.list.ItemAt(3)->GetCheckState(), Marked);
    EXPECT_TRUE(f.panel.GetCheckColumn().Box(0)->IsChecked());
}

TEST(PanelAccessibility, PlusWithoutCheckBoxesDoesNothing)
{
    PanelFixture f(CheckMode::None);
    AddRows(f.list, 3);
    f.SetVisibleRows(5);
    CheckClicks clicks;
    RecordChecks(f.panel, clicks);
    ClickRow(f, 1);
    Press(f.panel, Qt::Key_Plus);
    EXPECT_TRUE(clicks.rows.empty());
}

TEST(PanelAccessibility, ToolsCanSelectAndToggleARow)
{
    PanelFixture f;
    AddRow(f.list, "One");
    AddRow(f.list, "Two");
    AddRow(f.list, "Covered")->Item()->SetEnabled(false);
    f.SetVisibleRows(10);
    QApplication::processEvents();
    StoreChecks(f.panel, f.list);
    int selects = 0;
    f.panel.SetSelectHdl([&selects](OutlinePanel &) { return long(++selects); });

    QAccessibleActionInterface *two = Row(f.panel, 1)->actionInterface();
    ASSERT_NE(two, nullptr);
    EXPECT_TRUE(two->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    two->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(f.list.ItemAt(1)->GetCheckState(), Marked);
    EXPECT_TRUE(Row(f.panel, 1)->state().checked);
    two->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(f.panel.SelectedRow(), 1);
    EXPECT_EQ(selects, 1);

    QAccessibleActionInterface *covered = Row(f.panel, 2)->actionInterface();
    EXPECT_FALSE(covered->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    covered->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(f.list.ItemAt(2)->GetCheckState(), Unmarked);
}

TEST(PanelAccessibility, InterfacesOfAGonePanelAreGivenUp)
{
    NodeList list;
    AddRows(list, 3);
    Window host(nullptr);
    auto panel = std::make_unique<OutlinePanel>(&host, true, CheckMode::ThreeState, &list);
    panel->ShowPanel();
    host.SetSizePixel({300, 200});
    panel->SetPosSizePixel({0, 0}, host.GetSizePixel());
    host.Show();
    QApplication::processEvents();
    const QAccessible::Id rowsId = QAccessible::uniqueId(Rows(*panel));
    const QAccessible::Id rowId = QAccessible::uniqueId(Row(*panel, 1));
    ASSERT_NE(QAccessible::accessibleInterface(rowId), nullptr);

    panel.reset();
    EXPECT_EQ(QAccessible::accessibleInterface(rowsId), nullptr);
    EXPECT_EQ(QAccessible::accessibleInterface(rowId), nullptr);
}
