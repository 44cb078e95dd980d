// Previewing a run over the scripted server: the run's order (the run's own walk), what each line
// says, what a missing parent means, and that a line that cannot be restored passes over what it
// holds.
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
    std::vector<std::string> Preview()
    {
        std::vector<std::string> lines;
        PreviewWalk preview(selection);
        for (const PreviewLine &line : preview.Build()) {
            lines.push_back(line.name + ": " + RestorePreview::ActionText(line));
        }
        return lines;
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
    std::vector<std::string> texts;
    for (const PreviewLine &line : lines) {
        texts.push_back(line.name + ": " + RestorePreview::ActionText(line));
    }
    EXPECT_THAT(texts, ElementsAre("Gone.Top: add, with everything below it",
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
