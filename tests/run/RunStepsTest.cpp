// The run's steps, fed as each driver feeds them: the requests in the run's order, one line per
// object with a mark of its own whatever becomes of it, the on-error choice with every answer,
// a stop with a request out or between two, the marks a run leaves, the words of its notes, and a
// preview that changes nothing.
#include <gmock/gmock.h>

#include <map>
#include <string>
#include <vector>

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "report/ResultLine.h"
#include "run/RunSteps.h"
#include "run/RunWords.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;
using testing::ElementsAreArray;
using Choice = RunSteps::Choice;

// Top holds A (with A1, A2 and AB, which holds AB1), B (with B1) and the leaf L. Marked: A alone,
// A1, AB alone, AB1, B with its subtree, L. The run's order: A, A1, AB, AB1, B, L.
struct MarkedTree {
    MarkedTree()
    {
        script.SetChildren("Top", {Container("A"), Container("B"), Leaf("L")});
        script.SetChildren("A.Top", {Leaf("A1"), Leaf("A2"), Container("AB")});
        script.SetChildren("AB.A.Top", {Leaf("AB1")});
        script.SetChildren("B.Top", {Leaf("B1")});
        forest.AppendItem(
            std::make_unique<ObjectItem>("Top", DisplayItem::ContainerKind, &client, nullptr));
        Top().Open();
        for (const char *container : {"A.Top", "AB.A.Top", "B.Top"}) {
            At(container).Open();
        }
        selection.Mark(At("A.Top"), MarkedAlone);
        selection.Mark(At("A1.A.Top"), Marked);
        selection.Mark(At("AB.A.Top"), MarkedAlone);
        selection.Mark(At("AB1.AB.A.Top"), Marked);
        selection.Mark(At("B.Top"), Marked);
        selection.Mark(At("L.Top"), Marked);
        selection.ChooseVersion(At("A1.A.Top"), 1700000000);
    }
    ObjectItem &Top() { return *static_cast<ObjectItem *>(forest.ItemAt(0)); }
    ObjectItem &At(const std::string &name) { return *selection.FindLoaded(name); }

    // Feeds the steps as a driver would: the objects in `failing` fail with status 5, the others
    // are restored; each question takes the next answer.
    std::vector<std::string> Drive(RunSteps &steps, const std::vector<std::string> &failing,
                                   std::vector<Choice> answers = {})
    {
        std::vector<std::string> sent;
        for (std::optional<RunSteps::Request> request = steps.Next(); request;
             request = steps.Next()) {
            sent.push_back(request->name);
            const bool fails =
                std::find(failing.begin(), failing.end(), request->name) != failing.end();
            if (!steps.Took(fails ? 5 : 0, fails ? "Insufficient access" : "", std::nullopt)) {
                EXPECT_FALSE(answers.empty()) << "asked once too often";
                steps.Answer(answers.empty() ? Choice::Stop : answers.front());
                if (!answers.empty()) {
                    answers.erase(answers.begin());
                }
            }
        }
        EXPECT_TRUE(answers.empty()) << "fewer questions than answers";
        return sent;
    }

    static std::vector<std::string> Lines(const RunSteps &steps)
    {
        std::vector<std::string> lines;
        for (const ReportedObject &line : steps.Lines()) {
            lines.push_back(ResultLineText(line));
        }
        return lines;
    }

    std::vector<std::string> StillMarked()
    {
        std::vector<std::string> marked;
        for (const char *name :
             {"A.Top", "A1.A.Top", "AB.A.Top", "AB1.AB.A.Top", "B.Top", "L.Top"}) {
            if (At(name).OwnCheckState() != Unmarked) {
                marked.push_back(name);
            }
        }
        return marked;
    }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
    NodeList forest;
    RestoreSelection selection{forest};
};

class RunStepsTest : public testing::Test, public MarkedTree
{
};

const std::string kFailed = " - failed: Insufficient access";

TEST_F(RunStepsTest, EachOnErrorChoiceAndAnswerGivesEveryMarkedObjectOneLine)
{
    const struct {
        const char *what;
        OnError onError;
        std::vector<std::string> failing;
        std::vector<Choice> answers;
        std::vector<std::string> sent;
        std::vector<std::string> lines;
        std::vector<std::string> stillMarked;
        bool ranToEnd;
    } cases[] = {
        {"continue after a leaf",
         OnError::Continue,
         {"A1.A.Top"},
         {},
         {"A.Top", "A1.A.Top", "AB.A.Top", "AB1.AB.A.Top", "B.Top", "L.Top"},
         {"A.Top", "A1.A.Top" + kFailed, "AB.A.Top", "AB1.AB.A.Top", "B.Top", "L.Top"},
         {"A1.A.Top"},
         true},
        {"continue after a container: what it holds is passed over",
         OnError::Continue,
         {"A.Top"},
         {},
         {"A.Top", "B.Top", "L.Top"},
         {"A.Top" + kFailed, "A1.A.Top - skipped: below A.Top, which failed",
          "AB.A.Top - skipped: below A.Top, which failed",
          "AB1.AB.A.Top - skipped: below A.Top, which failed", "B.Top", "L.Top"},
         {"A.Top", "A1.A.Top", "AB.A.Top", "AB1.AB.A.Top"},
         true},
        {"end",
         OnError::End,
         {"A1.A.Top"},
         {},
         {"A.Top", "A1.A.Top"},
         {"A.Top", "A1.A.Top" + kFailed,
          "AB.A.Top - not tried: the run ended at the failure of A1.A.Top",
          "AB1.AB.A.Top - not tried: the run ended at the failure of A1.A.Top",
          "B.Top - not tried: the run ended at the failure of A1.A.Top",
          "L.Top - not tried: the run ended at the failure of A1.A.Top"},
         {"A1.A.Top", "AB.A.Top", "AB1.AB.A.Top", "B.Top", "L.Top"},
         false},
        {"ask, continue",
         OnError::Ask,
         {"A1.A.Top", "B.Top"},
         {Choice::Continue, Choice::Continue},
         {"A.Top", "A1.A.Top", "AB.A.Top", "AB1.AB.A.Top", "B.Top", "L.Top"},
         {"A.Top", "A1.A.Top" + kFailed, "AB.A.Top", "AB1.AB.A.Top", "B.Top" + kFailed, "L.Top"},
         {"A1.A.Top", "B.Top"},
         true},
        {"ask, skip the rest of the subtree being restored",
         OnError::Ask,
         {"A1.A.Top"},
         {Choice::SkipSubtree},
         {"A.Top", "A1.A.Top", "B.Top", "L.Top"},
         {"A.Top", "A1.A.Top" + kFailed, "AB.A.Top - skipped: after the failure of A1.A.Top",
          "AB1.AB.A.Top - skipped: after the failure of A1.A.Top", "B.Top", "L.Top"},
         {"A1.A.Top", "AB.A.Top", "AB1.AB.A.Top"},
         true},
        {"ask, skip with no object of the run above: its own subtree",
         OnError::Ask,
         {"A.Top"},
         {Choice::SkipSubtree},
         {"A.Top", "B.Top", "L.Top"},
         {"A.Top" + kFailed, "A1.A.Top - skipped: after the failure of A.Top",
          "AB.A.Top - skipped: after the failure of A.Top",
          "AB1.AB.A.Top - skipped: after the failure of A.Top", "B.Top", "L.Top"},
         {"A.Top", "A1.A.Top", "AB.A.Top", "AB1.AB.A.Top"},
         true},
        {"ask, stop",
         OnError::Ask,
         {"AB1.AB.A.Top"},
         {Choice::Stop},
         {"A.Top", "A1.A.Top", "AB.A.Top", "AB1.AB.A.Top"},
         {"A.Top", "A1.A.Top", "AB.A.Top", "AB1.AB.A.Top" + kFailed,
          "B.Top - not tried: the run was stopped after the failure of AB1.AB.A.Top",
          "L.Top - not tried: the run was stopped after the failure of AB1.AB.A.Top"},
         {"AB1.AB.A.Top", "B.Top", "L.Top"},
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MarkedTree fresh; // every case on marks of its own
        RunSteps steps(fresh.selection, c.onError);
        EXPECT_EQ(steps.Total(), 6u);
        EXPECT_EQ(fresh.Drive(steps, c.failing, c.answers), c.sent);
        EXPECT_THAT(MarkedTree::Lines(steps), ElementsAreArray(c.lines));
        EXPECT_EQ(fresh.StillMarked(), c.stillMarked);
        EXPECT_TRUE(steps.Over());
        EXPECT_EQ(steps.RanToEnd(), c.ranToEnd);
        const RunReport record = steps.Record();
        EXPECT_EQ(record.onError, c.onError);
        EXPECT_EQ(record.ranToEnd, c.ranToEnd);
        EXPECT_EQ(record.objects.size(), c.lines.size());
    }
}

TEST_F(RunStepsTest, RequestsCarryTheMarkAndTheChosenVersionAndLinesSayWhatWasAsked)
{
    RunSteps steps(selection, OnError::Continue);
    std::vector<std::string> requests;
    for (std::optional<RunSteps::Request> request = steps.Next(); request; request = steps.Next()) {
        requests.push_back(request->name + (request->mark == Marked ? " +subtree" : "") + " @" +
                           std::to_string(request->version) + " " +
                           std::to_string(request->number));
        steps.Took(request->name == "L.Top" ? 7 : 0, "Gone", std::nullopt);
    }
    EXPECT_THAT(requests, ElementsAre("A.Top @0 1", "A1.A.Top +subtree @1700000000 2",
                                      "AB.A.Top @0 3", "AB1.AB.A.Top +subtree @0 4",
                                      "B.Top +subtree @0 5", "L.Top +subtree @0 6"));
    const std::vector<ReportedObject> &lines = steps.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].scope, ObjectScope::Alone);
    EXPECT_EQ(lines[1].scope, ObjectScope::Object); // a leaf, whatever its flag
    EXPECT_EQ(lines[1].version, 1700000000u);
    EXPECT_EQ(lines[4].scope, ObjectScope::Subtree);
    EXPECT_EQ(lines[5].outcome, ObjectOutcome::Failed);
    EXPECT_EQ(lines[5].status, 7);
    EXPECT_EQ(lines[5].message, "Gone");
    EXPECT_EQ(steps.OwnerOf(5), &At("L.Top"));
}

TEST_F(RunStepsTest, AStopBetweenRequestsOrWithOneOutLeavesTheRestNotTried)
{
    {
        RunSteps steps(selection, OnError::Continue);
        ASSERT_TRUE(steps.Next());
        steps.Took(0, "", std::nullopt);
        steps.Stop(RunWords::kStopped); // the user's Stop, after the restore in flight
        EXPECT_FALSE(steps.Next());
        EXPECT_THAT(Lines(steps), ElementsAre("A.Top", "A1.A.Top - not tried: the run was stopped",
                                              "AB.A.Top - not tried: the run was stopped",
                                              "AB1.AB.A.Top - not tried: the run was stopped",
                                              "B.Top - not tried: the run was stopped",
                                              "L.Top - not tried: the run was stopped"));
        EXPECT_EQ(steps.StopReason(), "the run was stopped");
        EXPECT_EQ(steps.Lines()[1].status, ReportedObject::kNotSent);
    }
    MarkedTree fresh;
    RunSteps steps(fresh.selection, OnError::Continue);
    ASSERT_TRUE(steps.Next());
    // The request never went out (the program is ending): it is not tried, never restored.
    steps.Stop(RunWords::kProgramEnding);
    steps.Took(0, "", std::nullopt); // an outcome after the stop changes nothing
    EXPECT_EQ(steps.Lines().size(), 6u);
    EXPECT_EQ(ResultLineText(steps.Lines()[0]), "A.Top - not tried: the program is ending");
    EXPECT_EQ(fresh.StillMarked().size(), 6u);
}

TEST_F(RunStepsTest, ParentsAddedOnTheWayComeFirstAndNotesSayWhatTheServerWrote)
{
    RestoreReport parents;
    parents.parentsAdded = {"P.Top", "Q.P.Top"};
    RestoreReport subtree;
    subtree.subtree = true;
    subtree.addedCount = 1;
    subtree.changedCount = 2;
    RestoreReport nothing;
    nothing.subtree = true;
    nothing.changesCounted = true;
    RestoreReport uncounted; // a server that counts only what it adds says nothing of changes
    const std::map<std::string, std::optional<RestoreReport>> written = {
        {"A.Top", parents}, {"A1.A.Top", nothing}, {"AB.A.Top", uncounted}, {"B.Top", subtree}};
    RunSteps steps(selection, OnError::Continue);
    for (std::optional<RunSteps::Request> request = steps.Next(); request; request = steps.Next()) {
        const auto said = written.find(request->name);
        steps.Took(0, "", said != written.end() ? said->second : std::nullopt);
    }
    EXPECT_THAT(Lines(steps),
                ElementsAre("P.Top - added as the parent of Q.P.Top",
                            "Q.P.Top - added as the parent of A.Top", "A.Top",
                            "A1.A.Top - unchanged: nothing differed", "AB.A.Top", "AB1.AB.A.Top",
                            "B.Top - with its subtree: 1 object added, 2 changed", "L.Top"));
    EXPECT_EQ(steps.OwnerOf(0), &At("A.Top"));
    EXPECT_EQ(steps.Lines()[0].scope, ObjectScope::Alone);
    EXPECT_TRUE(steps.Lines()[3].Restored()); // unchanged is a success
}

TEST_F(RunStepsTest, APreviewChangesNoMarkNeverAsksAndPassesOverWhatCannotBeRestored)
{
    RunSteps steps(selection, OnError::Ask, RunSteps::Mode::Preview);
    std::vector<std::string> described;
    for (std::optional<RunSteps::Request> request = steps.Next(); request; request = steps.Next()) {
        described.push_back(request->name);
        const bool cannot = request->name == "AB.A.Top";
        steps.Previewed(!cannot, cannot ? "cannot restore: no backup holds this version" : "add");
    }
    EXPECT_THAT(described, ElementsAre("A.Top", "A1.A.Top", "AB.A.Top", "B.Top", "L.Top"));
    EXPECT_THAT(Lines(steps),
                ElementsAre("A.Top - would restore: add", "A1.A.Top - would restore: add",
                            "AB.A.Top - failed: cannot restore: no backup holds this version",
                            "AB1.AB.A.Top - skipped: below AB.A.Top, which cannot be restored",
                            "B.Top - would restore: add", "L.Top - would restore: add"));
    EXPECT_EQ(StillMarked().size(), 6u);
}
} // namespace
