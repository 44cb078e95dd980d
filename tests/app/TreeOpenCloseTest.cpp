// Opening and closing containers in the tree view with the mouse and the keyboard, the close
// query while marks exist below, and containers whose names cannot be sent to the server.
#include <gtest/gtest.h>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/gui/ModalScript.h"

namespace
{

void ScriptDeepName(ScriptedServer &script)
{
    // A container whose child's full name is longer than a request's name field.
    script.SetChildren("Marrowby", {Container(std::string(250, 'L'))});
}

} // namespace

TEST(TreeOpenClose, DoubleClickOpensAndClosesAContainer)
{
    MainWindowFixture f;
    f.DoubleClick(3); // Sales
    ASSERT_TRUE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.TextAt(4), "Ann");
    EXPECT_EQ(f.TextAt(5), "Bob");
    EXPECT_EQ(f.TextAt(6), "East");
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 7u);
    EXPECT_EQ(f.script.RequestsOf(ListChildren).back().name, "Sales.Marrowby");

    f.DoubleClick(3);
    EXPECT_FALSE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 4u);
    EXPECT_TRUE(f.Tree().GetCheckColumn().Box(3)->IsVisible());
    EXPECT_FALSE(f.Tree().GetCheckColumn().Box(4)->IsVisible());
}

TEST(TreeOpenClose, ReturnOpensTheCaretRowAndLeavesDoNothing)
{
    MainWindowFixture f;
    f.Click(0);
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Down); // Printer, a leaf
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.Tree().SelectedRow(), 2);
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 4u);
    f.Key(Qt::Key_Down); // Sales
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.Tree().SelectedRow(), 3);
    EXPECT_TRUE(f.ItemAt(3)->IsOpen());
    f.Key(Qt::Key_Return);
    EXPECT_FALSE(f.ItemAt(3)->IsOpen());
}

TEST(TreeOpenClose, ReopeningAsksTheServerAgainAndForgetsMarksInside)
{
    MainWindowFixture f;
    f.DoubleClick(3);
    f.ItemAt(4)->SetCheckState(Marked);
    f.ItemAt(3)->SetCheckState(Marked); // a Marked container closes without a question
    ModalScript script;
    f.DoubleClick(3);
    f.ItemAt(3)->SetCheckState(Unmarked);
    f.DoubleClick(3);
    EXPECT_EQ(f.TextAt(4), "Ann");
    EXPECT_EQ(f.ItemAt(4)->GetCheckState(), Unmarked);
    // Each listing is one request per child and one for the end: the top, then Sales twice.
    EXPECT_EQ(f.script.RequestsOf(ListChildren).size(), 4u + 4u + 4u);
}

TEST(TreeOpenClose, ClosingWithMarksBelowAsksAndNoKeepsThemOpen)
{
    MainWindowFixture f;
    f.DoubleClick(3);
    f.ItemAt(3)->SetCheckState(MarkedAlone);
    f.ItemAt(5)->SetCheckState(Marked);
    ModalScript script;
    script.ExpectBox(ModalKind::QueryBox, TreeViewReactions::kCloseQuery, RET_NO);
    f.DoubleClick(3);
    EXPECT_TRUE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.ItemAt(5)->GetCheckState(), Marked);
    EXPECT_EQ(script.Steps().back().parent, f.window.get());

    script.ExpectBox(ModalKind::QueryBox, TreeViewReactions::kCloseQuery, RET_YES);
    f.DoubleClick(3);
    EXPECT_FALSE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.Counts(), "Containers: 1, Objects: 0");
}

TEST(TreeOpenClose, ContainerWhoseNameIsTooLongWarnsAndStaysClosed)
{
    MainWindowFixture f(ScriptDeepName);
    const size_t requestsBefore = f.script.Requests().size();
    ModalScript script;
    script.ExpectBox(ModalKind::WarningBox,
                     ServerClient::NameTooLongMessage(f.ItemAt(1)->FullName()), RET_OK);
    f.DoubleClick(1);
    EXPECT_FALSE(f.ItemAt(1)->IsOpen());
    // Only the history of the selected object was asked for, never a listing.
    for (size_t i = requestsBefore; i < f.script.Requests().size(); ++i) {
        EXPECT_NE(f.script.Requests()[i].type, ListChildren);
    }
}

TEST(TreeOpenClose, ListingTheServerCutShortIsOpenedWithAWarningThatSaysSo)
{
    MainWindowFixture f;
    const std::string note = "Sales.Marrowby: the server's size limit of 3 entries cut the "
                             "listing short; present objects beyond it that no snapshot holds "
                             "are not shown.";
    f.script.SetListingNote("Sales.Marrowby", note);
    {
        ModalScript script;
        script.ExpectBox(ModalKind::WarningBox, note, RET_OK);
        f.DoubleClick(3);
        ASSERT_EQ(script.Steps().size(), 1u);
        EXPECT_EQ(script.Steps()[0].parent, f.window.get());
    }
    EXPECT_TRUE(f.ItemAt(3)->IsOpen());
    EXPECT_EQ(f.TextAt(4), "Ann");
    // A whole listing opens without a word.
    ModalScript quiet;
    f.DoubleClick(1);
    EXPECT_TRUE(f.ItemAt(1)->IsOpen());
    EXPECT_TRUE(quiet.Steps().empty());
}
