// Previewing a run over the scripted server: the run's order (the run's own walk), what each line
// says, what a missing parent means, that a line that cannot be restored passes over what it
// holds, and that every entry a restore writes is a line and counted once.
#include <gmock/gmock.h>

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestorePreview.h"
#include "model/RestoreSelection.h"
#include "run/PreviewWalk.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;

ObjectDescription Deleted(bool parentMissing, bool parentAddable = false)
{
    ObjectDescription description;
    description.inBackup = true;
    description.parentMissing = parentMissing;
    description.parentAddable = parentAddable;
    description.backup = {{"cn", {"x"}}};
    return description;
}

class RestorePreviewTest : public testing::Test
{
  protected:
    // Top holds Gone (deleted, with Kid) and Here (live, with Leaf).
    RestorePreviewTest()
    {
        script.SetChildren("Top", {Container("Gone", false), Container("Here")});
        script.SetChildren("Gone.Top", {Leaf("Kid", false)});
        script.SetChildren("Here.Top", {Leaf("Leaf")});
        script.SetDescription("Gone.Top", Deleted(false));
        script.SetDescription("Kid.Gone.Top", Deleted(true));
        ObjectDescription here;
        here.inBackup = here.live = true;
        here.backup = {{"ou", {"Here"}}, {"description", {"old"}}};
        here.current = {{"ou", {"Here"}}, {"description", {"new"}}};
        script.SetDescription("Here.Top", here);
        script.SetDescriptionFailure("Leaf.Here.Top", 32, "No snapshot holds cn=Leaf");
        forest.AppendItem(
            std::make_unique<ObjectItem>("Top", DisplayItem::ContainerKind, &client, nullptr));
        Top().Open();
        At("Gone.Top").Open();
        At("Here.Top").Open();
    }
    ObjectItem &Top() { return *static_cast<ObjectItem *>(forest.ItemAt(0)); }
    ObjectItem &At(const std::string &name) { return *selection.FindLoaded(name); }
    std::vector<std::string> Preview() { return Texts(PreviewWalk(selection).Build()); }
    // "full name: action", one per line.
    static std::vector<std::string> Texts(const std::vector<PreviewLine> &lines)
    {
        std::vector<std::string> texts;
        for (const PreviewLine &line : lines) {
            texts.push_back(line.name + ": " + RestorePreview::ActionText(line));
        }
        return texts;
    }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
    NodeList forest;
    RestoreSelection selection{forest};
};

TEST_F(RestorePreviewTest, ChildOfAMissingParentNeedsTheParentMarkedFirst)
{
    selection.Mark(At("Kid.Gone.Top"), Marked);
    EXPECT_THAT(Preview(),
                ElementsAre("Kid.Gone.Top: cannot restore: its parent is missing and not marked"));
    selection.Mark(At("Gone.Top"), MarkedAlone); // takes the child's own mark away
    selection.Mark(At("Kid.Gone.Top"), Marked);
    EXPECT_THAT(Preview(), ElementsAre("Gone.Top: add", "Kid.Gone.Top: add"));
    // A server that puts missing parents back itself restores the child alone.
    script.SetDescription("Kid.Gone.Top", Deleted(true, true));
    selection.Clear(At("Gone.Top"));
    selection.Mark(At("Kid.Gone.Top"), Marked);
    EXPECT_THAT(Preview(), ElementsAre("Kid.Gone.Top: add, after its missing parents"));
}

TEST_F(RestorePreviewTest, SubtreesFailuresAndCountsAsTheRunWouldHaveThem)
{
    selection.Mark(At("Here.Top"), MarkedAlone);
    selection.Mark(At("Leaf.Here.Top"), Marked);
    selection.Mark(At("Gone.Top"), Marked); // covers Kid: one request, one line
    PreviewWalk preview(selection);
    const std::vector<PreviewLine> lines = preview.Build();
    EXPECT_THAT(Texts(lines),
                ElementsAre("Gone.Top: add, with its subtree: 1 to add, 0 to change, "
                            "0 unchanged",
                            "Here.Top: change 1 attribute",
                            "Leaf.Here.Top: cannot restore: No snapshot holds cn=Leaf"));
    EXPECT_EQ(RestorePreview::CountsText(RestorePreview::Count(lines)),
              "1 to add, 1 to change, 0 unchanged, 1 cannot be restored");
    // Nothing but descriptions was asked, and the marks are as they were.
    for (const LoggedRequest &request : script.Requests()) {
        EXPECT_TRUE(request.type == ListChildren || request.type == DescribeObject);
    }
    EXPECT_EQ(At("Gone.Top").GetCheckState(), Marked);
    EXPECT_EQ(At("Leaf.Here.Top").GetCheckState(), Marked);
}

WrittenEntry Entry(std::string name, ObjectDescription description, bool parent = false)
{
    return WrittenEntry{std::move(name), parent, std::move(description)};
}

ObjectDescription Live(std::vector<DescribedAttribute> backup, std::vector<DescribedAttribute> live)
{
    ObjectDescription description;
    description.inBackup = description.live = true;
    description.backup = std::move(backup);
    description.current = std::move(live);
    return description;
}

// A present container restored with its subtree writes back what its snapshot holds below it:
// the preview lists and counts those entries, as the run's line counts them.
TEST_F(RestorePreviewTest, APresentContainerWithItsSubtreeCountsEveryEntryItWrites)
{
    const ObjectDescription same = Live({{"ou", {"Here"}}}, {{"ou", {"Here"}}});
    script.SetDescription("Here.Top", same);
    script.SetWrittenEntries("Here.Top", {Entry("Leaf.Here.Top", Live({{"sn", {"a"}}}, {})),
                                          Entry("Gone.Here.Top", Deleted(false)),
                                          Entry("Kid.Gone.Here.Top", Deleted(false))});
    selection.Mark(At("Here.Top"), Marked);
    PreviewWalk preview(selection);
    const std::vector<PreviewLine> lines = preview.Build();
    EXPECT_THAT(Texts(lines),
                ElementsAre("Here.Top: nothing to change, with its subtree: 2 to add, 1 to "
                            "change, 1 unchanged",
                            "Leaf.Here.Top: change 1 attribute", "Gone.Here.Top: add",
                            "Kid.Gone.Here.Top: add"));
    EXPECT_EQ(RestorePreview::CountsText(RestorePreview::Count(lines)),
              "2 to add, 1 to change, 1 unchanged, 0 cannot be restored");
    // The whole subtree was asked for in one description.
    const std::vector<LoggedRequest> asked = script.RequestsOf(DescribeObject);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front().flags, DescribeWrites | DescribeWithSubtree);
}

// The missing parents a restore puts back are entries of the run too, before their object, and
// counted once: a second object below the same parent, or a parent an earlier object of the run
// adds, does not add them again.
TEST_F(RestorePreviewTest, MissingParentsAreLinesOfTheirOwnAndCountedOnce)
{
    script.SetChildren("Gone.Top", {Leaf("Kid", false), Leaf("Sib", false)});
    Top().Close();
    Top().Open();
    At("Gone.Top").Open();
    for (const char *kid : {"Kid.Gone.Top", "Sib.Gone.Top"}) {
        script.SetDescription(kid, Deleted(true, true));
        script.SetWrittenEntries(kid, {Entry("Gone.Top", Deleted(false), true)});
        selection.Mark(At(kid), Marked);
    }
    PreviewWalk preview(selection);
    const std::vector<PreviewLine> lines = preview.Build();
    EXPECT_THAT(Texts(lines),
                ElementsAre("Gone.Top: add, as the parent of Kid.Gone.Top",
                            "Kid.Gone.Top: add, after its missing parents", "Sib.Gone.Top: add"));
    EXPECT_EQ(RestorePreview::Count(lines).add, 3u);
}

// A restore that would bring an object back without part of it is not a success of the run:
// the preview says what it would lack, and passes over what lies below it as the run does.
TEST_F(RestorePreviewTest, AnAddInPartIsSaidAndIsNoSuccess)
{
    ObjectDescription tombstone = Deleted(false);
    tombstone.lacks = "what its tombstone did not keep: no snapshot holds it";
    script.SetDescription("Gone.Top", tombstone);
    selection.Mark(At("Gone.Top"), MarkedAlone);
    selection.Mark(At("Kid.Gone.Top"), Marked);
    PreviewWalk preview(selection);
    const std::vector<PreviewLine> lines = preview.Build();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(RestorePreview::ActionText(lines[0]),
              "add without what its tombstone did not keep: no snapshot holds it");
    EXPECT_FALSE(RestorePreview::Restorable(lines[0]));
    EXPECT_EQ(RestorePreview::CountsText(RestorePreview::Count(lines)),
              "1 to add (1 only in part), 0 to change, 0 unchanged, 0 cannot be restored");
}

// A server that cannot compare still says what the run would restore, and no more.
TEST(RestorePreviewWithoutDescriptions, EachObjectOfTheRunIsToBeRestoredWithNothingCounted)
{
    ScriptedServer script; // describes nothing, as the simulation
    script.SetChildren("Top", {Container("Gone", false), Leaf("Leaf")});
    BackupServer server{script};
    ServerClient client{server};
    NodeList forest;
    RestoreSelection selection{forest};
    forest.AppendItem(
        std::make_unique<ObjectItem>("Top", DisplayItem::ContainerKind, &client, nullptr));
    static_cast<ObjectItem *>(forest.ItemAt(0))->Open();
    selection.Mark(*selection.FindLoaded("Gone.Top"), Marked);
    selection.Mark(*selection.FindLoaded("Leaf.Top"), Marked);
    PreviewWalk preview(selection);
    const std::vector<PreviewLine> lines = preview.Build();
    ASSERT_EQ(lines.size(), 2u);
    for (const PreviewLine &line : lines) {
        EXPECT_EQ(RestorePreview::ActionText(line), "restore") << line.name;
        EXPECT_TRUE(RestorePreview::Restorable(line)) << line.name;
    }
    EXPECT_EQ(RestorePreview::CountsText(RestorePreview::Count(lines)),
              "This backup server cannot compare versions. 2 objects to restore, 0 cannot be "
              "restored.");
}

TEST_F(RestorePreviewTest, AStopKeepsWhatWasFoundAndSaysSo)
{
    selection.Mark(At("Gone.Top"), Marked);
    selection.Mark(At("Here.Top"), Marked);
    PreviewWalk preview(selection);
    int asked = 0;
    const std::vector<PreviewLine> lines = preview.Build([&] { return ++asked > 1; });
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].name, "Gone.Top");
    EXPECT_TRUE(preview.Stopped());
}
} // namespace
