// The panel's viewport when rows come and go: a shown selection follows its row or goes with it;
// without one the numbers stay as they are.
#include <gtest/gtest.h>

#include "tests/tree/PanelFixture.h"
#include "toolkit/CheckBox.h"
#include "tree/Viewport.h"

namespace
{
struct ReplaceCase {
    const char *what;
    Viewport before;
    std::size_t first, removed, inserted;
    Viewport after;
};

bool Same(const Viewport &a, const Viewport &b)
{
    return a.top == b.top && a.caret == b.caret && a.selected == b.selected &&
           a.highlighted == b.highlighted;
}
} // namespace

TEST(Viewport, ASelectionFollowsItsRowOrGoesWithIt)
{
    const ReplaceCase cases[] = {
        {"children inserted below the selected container",
         {0, 4, 4, true},
         5,
         0,
         100,
         {0, 4, 4, true}},
        {"children removed below it", {0, 4, 4, true}, 5, 100, 0, {0, 4, 4, true}},
        {"rows inserted above it", {0, 4, 4, true}, 2, 0, 3, {0, 7, 7, true}},
        {"rows removed above it", {0, 7, 7, true}, 2, 3, 0, {0, 4, 4, true}},
        {"its own row removed", {0, 4, 4, true}, 3, 2, 0, {0, 4, 4, false}},
        {"the list emptied and filled again", {0, 2, 2, true}, 0, 3, 0, {0, 2, 2, false}},
        {"caret elsewhere follows too", {0, 9, 4, true}, 0, 1, 0, {0, 8, 3, true}},
        {"nothing highlighted: rows stay numbers", {0, 0, 0, false}, 0, 0, 1, {0, 0, 0, false}},
        {"the top row is the scroll bar's to move",
         {10, 12, 12, true},
         0,
         0,
         5,
         {10, 17, 17, true}},
    };
    for (const ReplaceCase &c : cases) {
        Viewport viewport = c.before;
        viewport.RowsReplaced(c.first, c.removed, c.inserted);
        EXPECT_TRUE(Same(viewport, c.after))
            << c.what << ": top " << viewport.top << " caret " << viewport.caret << " selected "
            << viewport.selected << " highlighted " << viewport.highlighted;
    }
}

TEST(Viewport, BothChildrenOfThePanelDrawFromIt)
{
    PanelFixture f;
    TreeNode *box = AddRow(f.list, "Box", DisplayItem::ContainerKind);
    for (int i = 0; i < 5; ++i) {
        AddChildRow(box, "In-" + std::to_string(i));
    }
    AddRows(f.list, 30);
    f.SetVisibleRows(10);
    f.panel.SelectRow(12);
    EXPECT_EQ(f.panel.TopRow(), 0);
    f.panel.ScrollRows(8);
    EXPECT_EQ(f.panel.GetViewport().top, 8);
    EXPECT_EQ(f.panel.GetCheckColumn().TopRow(), 8);
    EXPECT_EQ(f.panel.GetRowArea().TopRow(), 8);
    // Box 0 now stands for row 8: its name is the row's text.
    QApplication::processEvents();
    EXPECT_EQ(f.panel.GetCheckColumn().Box(0)->GetText(), "Row-2");

    box->Children().Clear(); // five rows above the selection go
    QApplication::processEvents();
    EXPECT_EQ(f.panel.SelectedRow(), 7);
    EXPECT_TRUE(f.panel.GetViewport().IsHighlighted(7));
    EXPECT_EQ(f.list.ItemAt(7)->StoredText(), "Row-6");
}
