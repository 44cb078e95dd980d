// The history view: the versions of the selected object newest first, one of them ticked as
// the version to restore, and "Most recent only" for objects that a Marked container covers.
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/core/RequestGate.h"
#include "toolkit/International.h"
#include "tree/VersionItem.h"

namespace
{

std::vector<BackupTime> ListedTimes(MainWindowFixture &f)
{
    std::vector<BackupTime> times;
    NodeList &versions = f.window->VersionList();
    for (size_t row = 0; row < versions.TotalCount(); ++row) {
        times.push_back(static_cast<VersionItem *>(versions.ItemAt(row))->Time());
    }
    return times;
}

std::vector<int> Ticks(MainWindowFixture &f)
{
    std::vector<int> ticks;
    CheckColumn &column = f.History().GetCheckColumn();
    for (size_t row = 0; row < f.window->VersionList().TotalCount(); ++row) {
        ticks.push_back(column.Box(row)->IsChecked() ? 1 : 0);
    }
    return ticks;
}

void ClickVersion(MainWindowFixture &f, int row)
{
    QTest::mouseClick(f.History().GetCheckColumn().Box(static_cast<size_t>(row))->Widget(),
                      Qt::LeftButton);
    QApplication::processEvents();
}

} // namespace

TEST(HistoryView, ListsVersionsNewestFirstAndRemembersTheChosenOne)
{
    MainWindowFixture f;
    f.script.SetHistory("Printer.Marrowby", {300, 100, 200});
    f.Click(2);
    EXPECT_EQ(f.History().GetTitle(), "Printer.Marrowby");
    EXPECT_EQ(ListedTimes(f), (std::vector<BackupTime>{300, 200, 100}));
    EXPECT_EQ(Ticks(f), (std::vector<int>{0, 0, 0})); // most recent: nothing ticked

    ClickVersion(f, 1);
    EXPECT_EQ(f.ItemAt(2)->ChosenVersion(), 200u);
    EXPECT_EQ(Ticks(f), (std::vector<int>{0, 1, 0}));
    ClickVersion(f, 1); // clicking the ticked row leaves it ticked
    EXPECT_EQ(Ticks(f), (std::vector<int>{0, 1, 0}));
    ClickVersion(f, 0);
    EXPECT_EQ(f.ItemAt(2)->ChosenVersion(), 300u);
    EXPECT_EQ(Ticks(f), (std::vector<int>{1, 0, 0}));

    f.Click(1);
    f.Click(2); // back again: asked anew, the chosen one is ticked
    EXPECT_EQ(Ticks(f), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(f.script.RequestsOf(GetHistory).back().name, "Printer.Marrowby");
}

// Printer's versions are still on their way when Admin is selected: Admin's are asked for once
// the server is free, and the view ends with Admin's versions under Admin's name.
TEST(HistoryView, TheVersionsShownAreThoseOfTheObjectSelectedLast)
{
    MainWindowFixture f;
    f.script.SetHistory("Printer.Marrowby", {300});
    f.script.SetHistory("Admin.Marrowby", {100, 200});
    RequestGate gate;
    f.script.OnRequest([&](const LoggedRequest &request) {
        if (request.type == GetHistory && request.name == "Printer.Marrowby") {
            QMetaObject::invokeMethod(
                qApp,
                [&] {
                    f.Click(1); // Admin
                    gate.Release();
                },
                Qt::QueuedConnection);
            gate.Hold();
        }
    });
    f.Click(2); // Printer
    QApplication::processEvents();
    EXPECT_EQ(f.Tree().SelectedRow(), 1);
    EXPECT_EQ(f.History().GetTitle(), "Admin.Marrowby");
    EXPECT_EQ(ListedTimes(f), (std::vector<BackupTime>{200, 100}));
    EXPECT_EQ(f.script.RequestsOf(GetHistory).back().name, "Admin.Marrowby");
}

TEST(HistoryView, CoveredObjectsAndMarkedContainersShowMostRecentOnly)
{
    MainWindowFixture f;
    f.DoubleClick(3);
    f.ClickBox(3); // Sales Marked
    EXPECT_EQ(f.History().GetTitle(), "Most recent only : Sales.Marrowby");
    EXPECT_FALSE(f.History().IsEnabled());
    f.Click(4);
    EXPECT_EQ(f.History().GetTitle(), "Most recent only : Ann.Sales.Marrowby");
    EXPECT_FALSE(f.History().IsEnabled());
    f.Click(3);
    f.ClickBox(3); // MarkedAlone: versions can be picked again
    EXPECT_EQ(f.History().GetTitle(), "Sales.Marrowby");
    EXPECT_TRUE(f.History().IsEnabled());
}

TEST(HistoryView, ReRootingEmptiesItAndVersionTextsAreDates)
{
    MainWindowFixture f;
    f.script.SetHistory("Printer.Marrowby", {775000000});
    f.Click(2);
    ASSERT_EQ(f.window->VersionList().TotalCount(), 1u);
    EXPECT_EQ(f.window->VersionList().ItemAt(0)->Text(), FormatDateTime(775000000));
    f.window->SetTopContext("Marrowby");
    EXPECT_EQ(f.History().GetTitle(), "-- No object selected --");
    EXPECT_EQ(f.window->VersionList().TotalCount(), 0u);
}

TEST(HistoryView, VersionsOfAnObjectWhoseContainerClosedStayUsable)
{
    MainWindowFixture f;
    f.script.SetHistory("Ann.Sales.Marrowby", {10, 20});
    f.DoubleClick(3);
    f.Click(4);           // Ann's versions are shown
    f.ItemAt(3)->Close(); // Ann's node leaves the tree while her versions are still listed
    ASSERT_EQ(f.window->VersionList().TotalCount(), 2u);
    auto *row = static_cast<VersionItem *>(f.window->VersionList().ItemAt(0));
    EXPECT_EQ(row->Owner().Text(), "Ann");
    ClickVersion(f, 1);
    EXPECT_EQ(row->Owner().ChosenVersion(), 10u);
}

TEST(HistoryView, AHistoryLongerThanTheRowCounterListsTheNewestUpToItsLimit)
{
    MainWindowFixture f;
    std::vector<BackupTime> times(70000);
    for (size_t i = 0; i < times.size(); ++i) {
        times[i] = static_cast<BackupTime>(1000 + i);
    }
    f.script.SetHistory("Printer.Marrowby", times);
    f.Click(2);
    NodeList &versions = f.window->VersionList();
    ASSERT_EQ(versions.TotalCount(), 65535u);
    EXPECT_EQ(static_cast<VersionItem *>(versions.ItemAt(0))->Time(), 1000u + 69999u);
    EXPECT_EQ(static_cast<VersionItem *>(versions.ItemAt(65534))->Time(), 1000u + 70000u - 65535u);
}

// The view never shows a version that a run would not restore.
TEST(HistoryView, TickingTheShownObjectShowsTheResetToTheMostRecentAtOnce)
{
    MainWindowFixture f;
    f.script.SetHistory("Printer.Marrowby", {300, 100, 200});
    f.Click(2);
    ClickVersion(f, 2);
    ASSERT_EQ(Ticks(f), (std::vector<int>{0, 0, 1}));

    f.ClickBox(2); // Printer Marked: its chosen version goes back to the most recent
    EXPECT_EQ(f.ItemAt(2)->ChosenVersion(), 0u);
    EXPECT_EQ(Ticks(f), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(f.script.RequestsOf(GetHistory).size(), 1u); // shown again without asking anew
}

TEST(HistoryView, AVersionOfACoveredObjectIsUntickedWhileTheCoverLasts)
{
    MainWindowFixture f;
    f.script.SetHistory("Ann.Sales.Marrowby", {10, 20});
    f.DoubleClick(3);
    f.Click(4);
    ClickVersion(f, 1);
    ASSERT_EQ(Ticks(f), (std::vector<int>{0, 1}));

    f.ClickBox(3); // Sales Marked: Ann comes back at her most recent version
    EXPECT_EQ(Ticks(f), (std::vector<int>{0, 0}));
    f.ClickBox(3); // MarkedAlone: Ann's own choice holds again
    EXPECT_EQ(Ticks(f), (std::vector<int>{0, 1}));
    EXPECT_EQ(f.ItemAt(4)->ChosenVersion(), 10u);
}

// An empty list must not pass for an object without backups.
TEST(HistoryView, AnObjectWhoseVersionsCannotBeAskedForSaysWhyInTheTitle)
{
    MainWindowFixture f([](ScriptedServer &script) {
        script.SetChildren("Marrowby", {Leaf(std::string(250, 'x'))});
    });
    const size_t asked = f.script.RequestsOf(GetHistory).size();
    f.Click(1);
    EXPECT_EQ(f.History().GetTitle(),
              f.ItemAt(1)->FullName() + " : " + ObjectItem::kNameTooLongForHistory);
    EXPECT_EQ(f.window->VersionList().TotalCount(), 0u);
    EXPECT_EQ(f.script.RequestsOf(GetHistory).size(), asked); // nothing was sent
}
