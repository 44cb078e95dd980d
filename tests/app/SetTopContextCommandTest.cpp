// The View menu's Set Top Context command: the field opens with the current context, OK re-roots
// the tree at the text exactly as typed (asking first while marks exist), Cancel changes nothing.
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/gui/ModalScript.h"
#include "toolkit/Edit.h"
#include "toolkit/ModalDialog.h"

namespace
{

constexpr const char *kMarksQuery = MainWindow::kMarksQuery;

ModalScript::Action Type(std::string text, std::string *shown = nullptr)
{
    return [text, shown](ModalDialog &dialog) {
        Edit *edit = dialog.Find<Edit>(ResId(kSetTopContextEdit));
        if (shown) {
            *shown = edit->GetText();
        }
        edit->SetText(text);
    };
}

void EmptyContextChildren(ScriptedServer &script)
{
    ScriptSmallTree(script);
    script.SetChildren("", {Leaf("Object-1")});
}

} // namespace

TEST(SetTopContextCommand, OkWithTheSameTextAndNoMarksFetchesAgainAndResetsSelectionAndCaret)
{
    MainWindowFixture f;
    f.DoubleClick(3);
    f.Click(5);
    const size_t listingsBefore = f.script.RequestsOf(ListChildren).size();
    std::string shown;
    ModalScript script;
    script.ExpectDialog(kDialogSetTopContext, 1, Type("Marrowby", &shown));
    f.menuBar.Select(kMenuItemSetTopContext);

    EXPECT_EQ(shown, "Marrowby");
    EXPECT_EQ(script.Steps()[0].parent, f.window.get());
    EXPECT_GT(f.script.RequestsOf(ListChildren).size(), listingsBefore);
    EXPECT_EQ(f.window->ObjectForest().TotalCount(), 4u); // Sales is closed again
    EXPECT_EQ(f.Tree().SelectedRow(), 0);
    EXPECT_EQ(f.Tree().CaretRow(), 0);
    EXPECT_EQ(f.History().GetTitle(), "-- No object selected --");
}

// Re-rooting drops every mark, so it is never done behind the user's back.
TEST(SetTopContextCommand, WhileMarksExistAnUnchangedNameKeepsThemAndANewOneAsksFirst)
{
    MainWindowFixture f;
    f.DoubleClick(3);
    f.ClickBox(4);
    ASSERT_EQ(f.Counts(), "Containers: 0, Objects: 1");
    const size_t listingsBefore = f.script.RequestsOf(ListChildren).size();
    ModalScript script;
    script.ExpectDialog(kDialogSetTopContext, 1, Type("Marrowby"));
    f.menuBar.Select(kMenuItemSetTopContext);
    EXPECT_EQ(f.script.RequestsOf(ListChildren).size(), listingsBefore);
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 1");

    script.ExpectDialog(kDialogSetTopContext, 1, Type("Sales.Marrowby"))
        .ExpectBox(ModalKind::QueryBox, kMarksQuery, RET_NO);
    f.menuBar.Select(kMenuItemSetTopContext);
    EXPECT_EQ(f.window->TopContext(), "Marrowby");
    EXPECT_EQ(f.ItemAt(4)->GetCheckState(), Marked);

    script.ExpectDialog(kDialogSetTopContext, 1, Type("Sales.Marrowby"))
        .ExpectBox(ModalKind::QueryBox, kMarksQuery, RET_YES);
    f.menuBar.Select(kMenuItemSetTopContext);
    EXPECT_EQ(f.window->TopContext(), "Sales.Marrowby");
    EXPECT_EQ(f.Counts(), "Containers: 0, Objects: 0");
    EXPECT_EQ(script.Steps()[2].parent, f.window.get());
}

TEST(SetTopContextCommand, TheFieldOpensWithItsTextSelectedSoTypingReplacesIt)
{
    MainWindowFixture f;
    std::string typed;
    ModalScript script;
    script.ExpectDialog(kDialogSetTopContext, 0, [&typed](ModalDialog &dialog) {
        Edit *edit = dialog.Find<Edit>(ResId(kSetTopContextEdit));
        QTest::keyClicks(edit->Widget(), "Sales");
        typed = edit->GetText();
    });
    f.menuBar.Select(kMenuItemSetTopContext);
    EXPECT_EQ(typed, "Sales");
}

TEST(SetTopContextCommand, CancelAfterEditingKeepsEverything)
{
    MainWindowFixture f;
    f.ClickBox(2);
    ModalScript script;
    script.ExpectDialog(kDialogSetTopContext, 0, Type("Elsewhere"));
    f.menuBar.Select(kMenuItemSetTopContext);
    EXPECT_EQ(f.window->TopContext(), "Marrowby");
    EXPECT_EQ(f.Tree().GetTitle(), "Marrowby");
    EXPECT_EQ(f.ItemAt(2)->GetCheckState(), Marked);
}

TEST(SetTopContextCommand, TextIsTakenExactlyAsTypedEvenEmpty)
{
    MainWindowFixture f(EmptyContextChildren);
    ModalScript script;
    script.ExpectDialog(kDialogSetTopContext, 1, Type(""));
    f.menuBar.Select(kMenuItemSetTopContext);
    EXPECT_EQ(f.window->TopContext(), "");
    EXPECT_EQ(f.script.RequestsOf(ListChildren).back().name, "");
    ASSERT_EQ(f.TextAt(1), "Object-1");
    EXPECT_EQ(f.ItemAt(1)->FullName(), "Object-1.");

    script.ExpectDialog(kDialogSetTopContext, 1, Type(" Sales.Marrowby "));
    f.menuBar.Select(kMenuItemSetTopContext);
    EXPECT_EQ(f.window->TopContext(), " Sales.Marrowby ");
    EXPECT_EQ(f.Tree().GetTitle(), " Sales.Marrowby ");
}

// The title and the status bar name the context the tree is rooted at: the login's, which for a
// domain is not the simulation's, and then the one typed.
TEST(SetTopContextCommand, TitleAndStatusBarNameTheTopContextTheTreeIsRootedAt)
{
    InstallResourcesOnce installed;
    ScriptedServer script;
    script.SetChildren("study.test", {Container("Users")});
    BackupServer server(script);
    ServerClient client(server);
    ServerLogin login(server, "Administrator.Users.study.test", "study.test");
    std::string serverName = "DC1";
    MenuBar menuBar{ResId(kMenuMain)};
    MainWindow window(&menuBar, &client, &serverName, &login, nullptr);
    menuBar.PushSelectHdl([&window](MenuBar &menu) { return window.MenuSelectHdl(menu); });
    window.SetMenuBar(&menuBar);
    window.InitChildren();
    EXPECT_EQ(window.GetText(), "study.test - TARVIK");
    EXPECT_EQ(window.GetStatusBar().GetText(), "study.test");

    ModalScript modal;
    modal.ExpectDialog(kDialogSetTopContext, 1, Type("Users.study.test"));
    menuBar.Select(kMenuItemSetTopContext);
    EXPECT_EQ(window.TopContext(), "Users.study.test");
    EXPECT_EQ(window.GetText(), "Users.study.test - TARVIK");
    EXPECT_EQ(window.GetStatusBar().GetText(), "Users.study.test");
}
