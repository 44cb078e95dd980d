// What a forest tells its observers: rows inserted and removed, checks (a covered subtree with
// its Marked container), enabling and looks, each with the rows as they stand at the notice;
// nothing for changes nobody can see.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "model/ForestObserver.h"
#include "model/NodeRef.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/model/ForestChecks.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;
using testing::IsEmpty;

class Recorder : public ForestObserver
{
  public:
    void RowsReplaced(std::size_t first, std::size_t removed, std::size_t inserted) override
    {
        notices.push_back("rows " + std::to_string(first) + " -" + std::to_string(removed) + " +" +
                          std::to_string(inserted));
    }
    void ChecksChanged(std::size_t first, std::size_t last) override
    {
        notices.push_back("checks " + std::to_string(first) + ".." + std::to_string(last));
    }
    void LooksChanged(std::size_t first, std::size_t last) override
    {
        notices.push_back("looks " + std::to_string(first) + ".." + std::to_string(last));
    }
    std::vector<std::string> Take() { return std::exchange(notices, {}); }

    std::vector<std::string> notices;
};

class ForestNotices : public testing::Test
{
  protected:
    // Rows: 0 Top, 1 A, 2 a1, 3 a2, 4 B, 5 b1 (deleted).
    ForestNotices()
    {
        script.SetChildren("Top", {Container("A"), Container("B")});
        script.SetChildren("A.Top", {Leaf("a2"), Leaf("a1")});
        script.SetChildren("B.Top", {Leaf("b1", false)});
        forest.AddObserver(&recorder);
        forest.AppendItem(
            std::make_unique<ObjectItem>("Top", DisplayItem::ContainerKind, &client, nullptr));
        Object(0).Open();
        Object(1).Open();
        Object(4).Open();
        recorder.Take();
    }
    ~ForestNotices() override { forest.RemoveObserver(&recorder); }

    ObjectItem &Object(std::size_t row) { return *static_cast<ObjectItem *>(forest.ItemAt(row)); }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
    NodeList forest;
    Recorder recorder;
};

TEST_F(ForestNotices, OpeningAndClosingTellTheRowsAndTheContainersLooks)
{
    Object(4).Close();
    EXPECT_THAT(recorder.Take(), ElementsAre("rows 5 -1 +0", "looks 4..4"));
    Object(4).Open();
    EXPECT_THAT(recorder.Take(), ElementsAre("rows 5 -0 +1", "looks 4..4"));
    Object(1).Close();
    EXPECT_THAT(recorder.Take(), ElementsAre("rows 2 -2 +0", "looks 1..1"));
    ExpectIndexesMatchPlainWalk(forest);
}

TEST_F(ForestNotices, AppendingAndClearingTheTopLevelTellTheirRows)
{
    forest.AppendItem(Row("Other"));
    EXPECT_THAT(recorder.Take(), ElementsAre("rows 6 -0 +1"));
    forest.Clear();
    EXPECT_THAT(recorder.Take(), ElementsAre("rows 0 -7 +0"));
    forest.Clear(); // already empty
    EXPECT_THAT(recorder.Take(), IsEmpty());
}

TEST_F(ForestNotices, AMarkTellsItsRowAndWithSubtreeTheRowsItCoversOrFrees)
{
    struct Step {
        std::size_t row;
        CheckState state;
        std::vector<std::string> told;
    };
    const Step steps[] = {
        {2, Marked, {"checks 2..2"}},      {2, Marked, {}}, // no change, nothing told
        {1, MarkedAlone, {"checks 1..1"}},                  // alone covers nothing
        {1, Marked, {"checks 1..3"}},                       // now it covers a1 and a2
        {1, Unmarked, {"checks 1..3"}},                     // and frees them
        {0, Marked, {"checks 0..5"}},                       // the whole forest
        {0, MarkedAlone, {"checks 0..5"}},
    };
    for (const Step &step : steps) {
        Object(step.row).SetCheckState(step.state);
        EXPECT_EQ(recorder.Take(), step.told) << "row " << step.row << " to " << step.state;
    }
    Object(5).SetEnabled(false);
    Object(5).SetEnabled(false);
    EXPECT_THAT(recorder.Take(), ElementsAre("checks 5..5"));
}

TEST_F(ForestNotices, TheSelectionsRulesAreToldThroughTheRowsTheyChange)
{
    RestoreSelection selection(forest);
    selection.Mark(Object(2), Marked);
    selection.Mark(Object(5), Marked);
    recorder.Take();
    selection.Mark(Object(1), Marked); // drops a1's own mark, then covers both
    EXPECT_THAT(recorder.Take(), ElementsAre("checks 2..2", "checks 1..3"));
    selection.Clear(Object(0));
    EXPECT_THAT(recorder.Take(), ElementsAre("checks 1..3", "checks 5..5"));
}

TEST_F(ForestNotices, ChangesOutOfSightAreNotTold)
{
    // Rows of a closed container are detached: what happens to them is nobody's business.
    ObjectItem &b1 = Object(5);
    NodeRef pinned(*b1.Node()); // keeps it alive, as a history row would
    Object(4).Close();
    recorder.Take();
    b1.SetCheckState(Marked);
    b1.SetPresent();
    EXPECT_THAT(recorder.Take(), IsEmpty());
    EXPECT_TRUE(b1.IsPresent());

    // A forest nobody watches tells nobody, and a watcher taken back hears no more.
    forest.RemoveObserver(&recorder);
    Object(1).SetCheckState(Marked);
    EXPECT_THAT(recorder.Take(), IsEmpty());
    forest.AddObserver(&recorder);
}

TEST_F(ForestNotices, ADeletedObjectDrawnPresentTellsItsLooks)
{
    Object(5).SetPresent();
    Object(5).SetPresent(); // already present
    EXPECT_THAT(recorder.Take(), ElementsAre("looks 5..5"));
}
} // namespace
