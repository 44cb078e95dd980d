// Object items against the scripted server: listing and sorting children, full names, child
// defaults, versions, restore, termination, the long-name policy and reclaiming closed rows.
#include <gmock/gmock.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/NodeRef.h"
#include "model/ObjectItem.h"
#include "mwlib/MW_SIGTERMClientList.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/model/ForestChecks.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;
using testing::StartsWith;

// A history row that refers to its owner the way the history view's rows do.
class VersionRow : public DisplayItem
{
  public:
    VersionRow(ObjectItem &owner, BackupTime time)
        : DisplayItem(std::to_string(time), PlainKind), owner(*owner.Node()), time(time)
    {
    }
    NodeRef owner;
    BackupTime time;
};

std::unique_ptr<DisplayItem> MakeVersionRow(ObjectItem &owner, BackupTime time)
{
    return std::make_unique<VersionRow>(owner, time);
}

class ObjectItemTest : public testing::Test
{
  protected:
    ObjectItemTest() { Reroot("Sales"); }

    ObjectItem &Reroot(const std::string &context)
    {
        forest.Clear();
        forest.AppendItem(
            std::make_unique<ObjectItem>(context, DisplayItem::ContainerKind, &client, &registry));
        return Top();
    }

    ObjectItem &Top() { return *static_cast<ObjectItem *>(forest.ItemAt(0)); }

    static ObjectItem &Child(ObjectItem &parent, std::size_t position)
    {
        return *static_cast<ObjectItem *>(parent.Node()->Children().ElementAt(position)->Item());
    }

    std::vector<std::string> ListedContainers() const
    {
        std::vector<std::string> names;
        for (const LoggedRequest &request : script.RequestsOf(ListChildren)) {
            if (request.lastId == 0) {
                names.push_back(request.name);
            }
        }
        return names;
    }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
    MW_SIGTERMClientList registry;
    NodeList forest;
    NodeList versions;
};

TEST_F(ObjectItemTest, OpensWithChildrenSortedByNameWhateverTheDeliveryOrder)
{
    script.SetChildren("Sales",
                       {Leaf("Object-0"), Container("Contain-1", false), Leaf("Object-2", false),
                        Leaf("object-3"), Leaf("\xC3\xA9t\xC3\xA9"), Container("Zeta")});
    EXPECT_EQ(Top().Open(), ObjectItem::OpenResult::Opened);
    EXPECT_TRUE(Top().IsOpen());
    EXPECT_THAT(
        Texts(Top().Node()->Children()),
        ElementsAre("Contain-1", "Object-0", "Object-2", "Zeta", "object-3", "\xC3\xA9t\xC3\xA9"));

    ObjectItem &contain = Child(Top(), 0);
    EXPECT_TRUE(contain.IsContainer());
    EXPECT_FALSE(contain.IsPresent());
    EXPECT_EQ(contain.Kind(), DisplayItem::ContainerKind);
    ObjectItem &deletedLeaf = Child(Top(), 2);
    EXPECT_FALSE(deletedLeaf.IsContainer());
    EXPECT_FALSE(deletedLeaf.IsPresent());
    EXPECT_EQ(deletedLeaf.Kind(), DisplayItem::PlainKind);

    std::vector<int32_t> lastIds;
    for (const LoggedRequest &request : script.Requests()) {
        EXPECT_EQ(request.type, ListChildren);
        EXPECT_EQ(request.name, "Sales");
        EXPECT_EQ(request.requestSize, 268);
        EXPECT_TRUE(request.zeroFilled);
        lastIds.push_back(request.lastId);
    }
    EXPECT_THAT(lastIds, ElementsAre(0, 1, 2, 3, 4, 5, 6));
    EXPECT_EQ(script.OutstandingReplies(), 0u);
}

TEST_F(ObjectItemTest, FullNamesRunUpToTheTopContext)
{
    script.SetChildren("Sales", {Container("Contain-1")});
    script.SetChildren("Contain-1.Sales", {Leaf("Object-3")});
    Top().Open();
    Child(Top(), 0).Open();
    EXPECT_EQ(Top().FullName(), "Sales");
    EXPECT_EQ(Child(Child(Top(), 0), 0).FullName(), "Object-3.Contain-1.Sales");
    EXPECT_THAT(ListedContainers(), ElementsAre("Sales", "Contain-1.Sales"));
}

// The escapes that keep a full name readable are not part of the name a row shows.
TEST_F(ObjectItemTest, RowsShowNamesAsTheDirectoryHoldsThemAndFullNamesKeepTheirEscapes)
{
    Reroot("v9\\.0.Sales");
    script.SetChildren("v9\\.0.Sales", {Container("v1\\.2\\.3"), Leaf("back\\\\slash")});
    Top().Open();
    EXPECT_EQ(Top().Text(), "v9\\.0.Sales"); // the full name it was rooted at
    EXPECT_EQ(Child(Top(), 0).Text(), "back\\slash");
    EXPECT_EQ(Child(Top(), 0).FullName(), "back\\\\slash.v9\\.0.Sales");
    EXPECT_EQ(Child(Top(), 1).Text(), "v1.2.3");
    EXPECT_EQ(Child(Top(), 1).FullName(), "v1\\.2\\.3.v9\\.0.Sales");
}

TEST_F(ObjectItemTest, ChildrenTakeTheDefaultsOfTheOpenedContainer)
{
    const std::vector<std::tuple<CheckState, CheckState, bool>> cases = {
        {Marked, Marked, false}, {MarkedAlone, Unmarked, true}, {Unmarked, Unmarked, true}};
    script.SetDefaultChildren(2, [](std::size_t i) { return Container("C" + std::to_string(i)); });
    for (const auto &[state, childState, childEnabled] : cases) {
        ObjectItem &top = Reroot("Sales");
        top.SetCheckState(state);
        top.Open();
        ASSERT_EQ(top.Node()->Children().Count(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(Child(top, i).GetCheckState(), childState) << "opened " << state;
            EXPECT_EQ(Child(top, i).IsEnabled(), childEnabled) << "opened " << state;
        }
    }
}

TEST_F(ObjectItemTest, ReopeningAsksAgainAndForgetsMarksInside)
{
    script.SetChildren("Sales", {Leaf("A"), Container("B")});
    Top().Open();
    ObjectItem *oldB = &Child(Top(), 1);
    oldB->SetCheckState(Marked);
    EXPECT_EQ(Top().MarkedBelow(), 1u);

    Top().Close();
    EXPECT_FALSE(Top().IsOpen());
    EXPECT_EQ(forest.TotalCount(), 1u);
    Top().Open();
    EXPECT_EQ(Child(Top(), 1).GetCheckState(), Unmarked);
    EXPECT_EQ(Top().MarkedBelow(), 0u);
    EXPECT_THAT(ListedContainers(), ElementsAre("Sales", "Sales"));
}

TEST_F(ObjectItemTest, EmptyListingOpensWithNoChildren)
{
    EXPECT_EQ(Top().Open(), ObjectItem::OpenResult::Opened);
    EXPECT_TRUE(Top().IsOpen());
    EXPECT_EQ(forest.TotalCount(), 1u);
    EXPECT_EQ(script.RequestCount(), 1u);
}

TEST_F(ObjectItemTest, InformedItemsAskTheServerNothing)
{
    script.SetChildren("Sales", {Leaf("A")});
    script.SetHistory("Sales", {100});
    script.SetRestoreOutcome("Sales", 3, "refused");
    versions.AppendItem(Row("old"));
    registry.Inform();

    EXPECT_EQ(Top().Open(), ObjectItem::OpenResult::Informed);
    EXPECT_FALSE(Top().IsOpen());
    Top().FillVersions(versions, MakeVersionRow);
    EXPECT_EQ(versions.Count(), 0u);
    // Not restored is never reported as restored.
    std::string message;
    EXPECT_EQ(Top().Restore(message), ObjectItem::EndingStatus);
    EXPECT_EQ(message, "Not restored: the program is ending.");
    EXPECT_EQ(script.RequestCount(), 0u);
}

// Objects made after the signal (a re-rooted tree) are informed as they are made.
TEST_F(ObjectItemTest, ItemsMadeAfterTerminationAskTheServerNothing)
{
    script.SetChildren("Admin", {Leaf("A")});
    registry.Inform();
    ObjectItem &top = Reroot("Admin");
    EXPECT_TRUE(top.IsInformed());
    EXPECT_EQ(top.Open(), ObjectItem::OpenResult::Informed);
    std::string message;
    EXPECT_EQ(top.Restore(message), ObjectItem::EndingStatus);
    EXPECT_EQ(script.RequestCount(), 0u);
    EXPECT_EQ(registry.RegisteredCount(), 0u);
}

// Part of a listing would pass for the whole container: a listing cut short by the signal
// leaves the container closed.
TEST_F(ObjectItemTest, TerminationDuringAListingEndsItBeforeTheNextRequest)
{
    script.SetChildren("Sales", {Leaf("C"), Leaf("B"), Leaf("A"), Leaf("D")});
    script.OnRequest([this](const LoggedRequest &request) {
        if (request.lastId == 2) {
            registry.Inform();
        }
    });
    EXPECT_EQ(Top().Open(), ObjectItem::OpenResult::Informed);
    EXPECT_FALSE(Top().IsOpen());
    EXPECT_EQ(Top().Node()->Children().Count(), 0u);
    EXPECT_EQ(script.RequestCount(), 3u);
    EXPECT_EQ(script.OutstandingReplies(), 0u);
}

// A listing whose end record came is complete, even if the signal came with it.
TEST_F(ObjectItemTest, TerminationWithTheEndRecordKeepsTheWholeListing)
{
    script.SetChildren("Sales", {Leaf("B"), Leaf("A")});
    script.OnRequest([this](const LoggedRequest &request) {
        if (request.lastId == 2) {
            registry.Inform();
        }
    });
    EXPECT_EQ(Top().Open(), ObjectItem::OpenResult::Opened);
    EXPECT_THAT(Texts(Top().Node()->Children()), ElementsAre("A", "B"));
}

// A listing the server could not finish is not an empty container: nothing of it is inserted,
// the container stays closed with the server's reason, and the next open asks again.
TEST_F(ObjectItemTest, FailedListingLeavesTheContainerClosedWithTheReason)
{
    script.SetChildren("Sales", {Leaf("C"), Leaf("B"), Leaf("A")});
    for (std::size_t after : {0u, 2u}) {
        SCOPED_TRACE(after);
        script.SetListingFailure("Sales", after, "Can't contact LDAP server");
        std::string failure;
        EXPECT_EQ(Top().Open(failure), ObjectItem::OpenResult::Failed);
        EXPECT_EQ(failure, "Can't contact LDAP server");
        EXPECT_FALSE(Top().IsOpen());
        EXPECT_EQ(Top().Node()->Children().Count(), 0u);
        EXPECT_EQ(registry.RegisteredCount(), 1u); // the children made went again
        EXPECT_EQ(script.OutstandingReplies(), 0u);
    }
    script.SetListingFailure("Sales", 0, "");
    script.ClearLog();
    std::string failure;
    EXPECT_EQ(Top().Open(failure), ObjectItem::OpenResult::Opened);
    EXPECT_EQ(failure, "");
    EXPECT_THAT(Texts(Top().Node()->Children()), ElementsAre("A", "B", "C"));
    EXPECT_EQ(script.RequestCount(), 4u);
}

TEST_F(ObjectItemTest, NamesThatDoNotFitARequestAreNeverSent)
{
    script.SetDefaultChildren(1, [](std::size_t) { return Container("Contain-1"); });
    script.SetHistory("Contain-1." + std::string(245, 's'), {5});
    // "Contain-1." and the context: 255 characters fit, 256 do not.
    for (std::size_t contextLength : {245u, 246u}) {
        const bool fits = contextLength == 245;
        ObjectItem &top = Reroot(std::string(contextLength, 's'));
        top.Open();
        ObjectItem &child = Child(top, 0);
        script.ClearLog();

        EXPECT_EQ(child.Open(),
                  fits ? ObjectItem::OpenResult::Opened : ObjectItem::OpenResult::NameTooLong);
        EXPECT_EQ(child.IsOpen(), fits);
        EXPECT_EQ(child.FillVersions(versions, MakeVersionRow),
                  fits ? "" : ObjectItem::kNameTooLongForHistory);
        EXPECT_EQ(versions.Count(), fits ? 1u : 0u);
        std::string message;
        const int32_t status = child.Restore(message);
        if (fits) {
            EXPECT_EQ(status, 0);
            EXPECT_EQ(script.RequestCount(), 4u); // two to list, history, restore
        } else {
            EXPECT_NE(status, 0);
            EXPECT_EQ(message, "Name too long for the backup server: Contain-1." +
                                   std::string(30, 's') + "..." + std::string(40, 's'));
            EXPECT_EQ(script.RequestCount(), 0u);
        }
    }
}

TEST_F(ObjectItemTest, RestoreSendsTheChosenVersionAndTheSubtreeFlag)
{
    script.SetRestoreOutcome("Sales", 2, "Object is locked");
    const std::vector<std::tuple<CheckState, BackupTime, uint32_t>> cases = {
        {Marked, 0, RestoreWithSubtree}, {MarkedAlone, 1234, 0}, {Unmarked, 99, 0}};
    for (const auto &[state, version, flags] : cases) {
        script.ClearLog();
        Top().SetCheckState(state);
        Top().SetChosenVersion(version);
        std::string message;
        EXPECT_EQ(Top().Restore(message), 2);
        EXPECT_EQ(message, "Object is locked");
        ASSERT_EQ(script.RequestCount(), 1u);
        const LoggedRequest &request = script.Requests()[0];
        EXPECT_EQ(request.type, RestoreObject);
        EXPECT_EQ(request.requestSize, 264);
        EXPECT_TRUE(request.zeroFilled);
        EXPECT_EQ(request.name, "Sales");
        EXPECT_EQ(request.version, version);
        EXPECT_EQ(request.flags, flags);
    }

    script.SetRestoreOutcome("Sales", 0, "");
    std::string message = "kept";
    EXPECT_EQ(Top().Restore(message), 0);
    EXPECT_EQ(message, "kept");
    EXPECT_EQ(script.OutstandingReplies(), 0u);
}

TEST_F(ObjectItemTest, VersionsAreListedNewestFirstWithTheChosenOneTicked)
{
    script.SetHistory("Sales", {300, 100, 0x80000000u, 200});
    for (BackupTime chosen : {0u, 200u}) {
        Top().SetChosenVersion(chosen);
        Top().FillVersions(versions, MakeVersionRow);
        EXPECT_THAT(Texts(versions), ElementsAre("2147483648", "300", "200", "100"));
        for (std::size_t i = 0; i < versions.Count(); ++i) {
            const auto *row = static_cast<VersionRow *>(versions.ItemAt(i));
            EXPECT_EQ(row->GetCheckState() == Marked, chosen != 0 && row->time == chosen) << i;
        }
    }
    EXPECT_EQ(script.RequestsOf(GetHistory).size(), 2u);
    EXPECT_EQ(script.RequestsOf(GetHistory)[0].requestSize, 256);
    EXPECT_TRUE(script.RequestsOf(GetHistory)[0].zeroFilled);
}

TEST_F(ObjectItemTest, HistoryRowsKeepTheirObjectAfterItsContainerClosed)
{
    script.SetChildren("Sales", {Container("Box")});
    script.SetChildren("Box.Sales", {Leaf("x"), Leaf("y")});
    script.SetHistory("y.Box.Sales", {10, 20});
    Top().Open();
    Child(Top(), 0).Open();
    const std::size_t nodes = TreeNode::LiveCount();

    ObjectItem &y = Child(Child(Top(), 0), 1);
    y.FillVersions(versions, MakeVersionRow);
    Top().Close();
    EXPECT_EQ(TreeNode::LiveCount(), nodes + 2); // Box stays whole while the two rows refer to y
    auto *row = static_cast<VersionRow *>(versions.ItemAt(0));
    row->SetCheckState(Marked);
    auto &owner = *static_cast<ObjectItem *>(row->owner.Item());
    EXPECT_EQ(owner.FullName(), "y.Box.Sales");
    EXPECT_EQ(forest.TotalCount(), 1u);

    versions.Clear();
    EXPECT_EQ(TreeNode::LiveCount(), nodes - 3);
}

TEST_F(ObjectItemTest, OpenCloseAndReRootRunInConstantMemory)
{
    script.SetDefaultChildren(6, [](std::size_t i) {
        return i % 2 ? Leaf("Object-" + std::to_string(i))
                     : Container("Contain-" + std::to_string(i));
    });
    script.SetHistory("Contain-0.Sales", {1, 2, 3});
    Top().Open();
    const std::size_t nodes = TreeNode::LiveCount();
    const std::size_t items = DisplayItem::LiveCount();
    const uint32_t registered = registry.RegisteredCount();
    for (int i = 0; i < 1000; ++i) {
        ObjectItem &container = Child(Top(), 0);
        container.Open();
        Child(container, 0).Open();
        container.Close();
    }
    EXPECT_EQ(TreeNode::LiveCount(), nodes);
    EXPECT_EQ(DisplayItem::LiveCount(), items);
    EXPECT_EQ(registry.RegisteredCount(), registered);

    for (int i = 0; i < 100; ++i) {
        Reroot("Sales").Open();
        Child(Top(), 2).Open();
        Child(Top(), 0).FillVersions(versions, MakeVersionRow);
    }
    versions.Clear();
    Reroot("Sales").Open();
    EXPECT_EQ(TreeNode::LiveCount(), nodes);
    EXPECT_EQ(DisplayItem::LiveCount(), items);
    EXPECT_EQ(registry.RegisteredCount(), registered);
    EXPECT_EQ(script.OutstandingReplies(), 0u);
}

TEST_F(ObjectItemTest, RowIndexesMatchAPlainWalkAfterOpenCloseAndReRoot)
{
    script.SetDefaultChildren(5, [](std::size_t i) {
        return i % 2 ? Leaf("Object-" + std::to_string(4 - i))
                     : Container("Contain-" + std::to_string(4 - i));
    });
    Top().Open();
    for (std::size_t i : {0u, 1u, 2u}) {
        Child(Top(), i).Open();
        Child(Child(Top(), i), 0).Open();
    }
    ExpectIndexesMatchPlainWalk(forest);
    Child(Top(), 1).Close();
    ExpectIndexesMatchPlainWalk(forest);
    Child(Child(Top(), 0), 0).Close();
    Child(Top(), 1).Open();
    ExpectIndexesMatchPlainWalk(forest);
    Reroot("Other").Open();
    ExpectIndexesMatchPlainWalk(forest);
    EXPECT_EQ(forest.TotalCount(), 6u);
}
} // namespace
