// The marking rules on a forest of directory objects, without any window: what a mark means for
// the loaded objects below, clearing, the counts, the version rule, the run order, finding an
// object by its full name, and a random session checked against a plain model of the rules.
#include <gmock/gmock.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "model/TreeNode.h"
#include "model/TreeWalker.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;

class Selection : public testing::Test
{
  protected:
    // Rows once A and a2 are open: Top, A, a1, a2, x, y, a3, B, c.
    Selection()
    {
        script.SetChildren("Top", {Container("A"), Container("B"), Leaf("c")});
        script.SetChildren("A.Top", {Leaf("a1"), Container("a2"), Leaf("a3")});
        script.SetChildren("a2.A.Top", {Leaf("x"), Leaf("y")});
        script.SetChildren("B.Top", {Leaf("b1")});
        forest.AppendItem(
            std::make_unique<ObjectItem>("Top", DisplayItem::ContainerKind, &client, nullptr));
        Top().Open();
        At("A.Top").Open();
        At("a2.A.Top").Open();
    }

    ObjectItem &Top() { return *static_cast<ObjectItem *>(forest.ItemAt(0)); }
    ObjectItem &At(const std::string &fullName)
    {
        ObjectItem *object = selection.FindLoaded(fullName);
        if (object == nullptr) {
            ADD_FAILURE() << fullName << " is not loaded";
            return Top();
        }
        return *object;
    }
    // Each row as shown: its mark and whether its box can be clicked.
    std::vector<std::string> Shown()
    {
        std::vector<std::string> rows;
        TreeWalker walker(forest);
        for (DisplayItem *item = walker.NextItem(); item; item = walker.NextItem()) {
            const char *marks[] = {"-", "M", "A"};
            rows.push_back(item->StoredText() + marks[item->GetCheckState()] +
                           (item->IsEnabled() ? "" : "*"));
        }
        return rows;
    }
    struct RunLine {
        std::string name;
        CheckState mark;
        BackupTime version;
        bool operator==(const RunLine &) const = default;
    };
    // Walks a run; the objects named in `failing` fail.
    std::vector<RunLine> Run(const std::vector<std::string> &failing = {})
    {
        std::vector<RunLine> lines;
        RestoreSelection::RunOrder order = selection.StartRun();
        for (auto step = order.Next(); step.object != nullptr; step = order.Next()) {
            const std::string name = step.object->FullName();
            lines.push_back({name, step.mark, step.version});
            if (std::find(failing.begin(), failing.end(), name) != failing.end()) {
                order.Failed();
            } else {
                order.Restored();
            }
        }
        return lines;
    }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
    NodeList forest;
    RestoreSelection selection{forest};
};

TEST_F(Selection, AMarkedContainerCoversItsLoadedDescendantsAndCountsOnce)
{
    ASSERT_TRUE(selection.Mark(At("A.Top"), Marked));
    EXPECT_THAT(Shown(),
                ElementsAre("Top-", "AM", "a1M*", "a2M*", "xM*", "yM*", "a3M*", "B-", "c-"));
    EXPECT_EQ(selection.Counts(), (MarkCounts{1, 0}));
    // Covered rows keep no mark of their own: nothing below was touched.
    EXPECT_EQ(At("x.a2.A.Top").OwnCheckState(), Unmarked);
    EXPECT_EQ(At("A.Top").MarkedBelow(), 0u);
}

TEST_F(Selection, AnyNewMarkOnAContainerDropsTheMarksBelowIt)
{
    selection.Mark(At("a1.A.Top"), Marked);
    selection.Mark(At("x.a2.A.Top"), Marked);
    EXPECT_EQ(selection.Counts(), (MarkCounts{0, 2}));
    selection.Mark(At("A.Top"), Marked);
    EXPECT_EQ(selection.Counts(), (MarkCounts{1, 0}));

    selection.Mark(At("A.Top"), MarkedAlone); // the third state frees them, unmarked
    EXPECT_THAT(Shown(), ElementsAre("Top-", "AA", "a1-", "a2-", "x-", "y-", "a3-", "B-", "c-"));
    selection.Mark(At("a3.A.Top"), Marked);
    selection.Mark(At("y.a2.A.Top"), Marked);
    EXPECT_EQ(selection.Counts(), (MarkCounts{1, 2}));

    selection.Mark(At("A.Top"), Unmarked); // and so does unmarking
    EXPECT_THAT(Shown(), ElementsAre("Top-", "A-", "a1-", "a2-", "x-", "y-", "a3-", "B-", "c-"));
    EXPECT_EQ(selection.Counts(), (MarkCounts{0, 0}));
    EXPECT_FALSE(selection.HasMarks());
}

TEST_F(Selection, ACoveredObjectCannotBeMarked)
{
    selection.Mark(At("A.Top"), Marked);
    EXPECT_FALSE(selection.Mark(At("a2.A.Top"), MarkedAlone));
    EXPECT_FALSE(selection.Mark(At("x.a2.A.Top"), Unmarked));
    EXPECT_EQ(At("a2.A.Top").OwnCheckState(), Unmarked);
    EXPECT_EQ(selection.Counts(), (MarkCounts{1, 0}));
}

TEST_F(Selection, OpeningAClosedContainerUnderAMarkedOneShowsItsChildrenCovered)
{
    selection.Mark(Top(), Marked);
    At("B.Top").Open();
    EXPECT_EQ(At("b1.B.Top").GetCheckState(), Marked);
    EXPECT_FALSE(At("b1.B.Top").IsEnabled());
    EXPECT_EQ(selection.Counts(), (MarkCounts{1, 0}));
}

TEST_F(Selection, OnlyMarkingWithTheSubtreeResetsTheChosenVersion)
{
    struct Case {
        CheckState state;
        BackupTime chosen;
    };
    for (const Case &c : {Case{MarkedAlone, 777}, Case{Unmarked, 777}, Case{Marked, 0}}) {
        At("a2.A.Top").SetChosenVersion(777);
        selection.Mark(At("a2.A.Top"), c.state);
        EXPECT_EQ(At("a2.A.Top").ChosenVersion(), c.chosen) << c.state;
    }
}

TEST_F(Selection, ClearingUnmarksTheObjectAndEverythingBelowButKeepsVersions)
{
    selection.Mark(At("x.a2.A.Top"), Marked);
    At("x.a2.A.Top").SetChosenVersion(55);
    selection.Mark(At("c.Top"), Marked);
    EXPECT_TRUE(selection.Clear(At("A.Top")));
    EXPECT_EQ(selection.Counts(), (MarkCounts{0, 1})); // c is outside
    EXPECT_EQ(At("x.a2.A.Top").ChosenVersion(), 55u);
    EXPECT_FALSE(selection.Clear(At("A.Top"))); // nothing left there
    EXPECT_TRUE(selection.Clear(Top()));
    EXPECT_FALSE(selection.HasMarks());
    EXPECT_FALSE(selection.Clear(Top()));
}

TEST_F(Selection, MarkedDescendantsAreSeenAtEveryLoadedDepth)
{
    EXPECT_FALSE(selection.HasMarkedDescendant(Top()));
    selection.Mark(At("y.a2.A.Top"), Marked);
    EXPECT_TRUE(selection.HasMarkedDescendant(Top()));
    EXPECT_TRUE(selection.HasMarkedDescendant(At("a2.A.Top")));
    EXPECT_FALSE(selection.HasMarkedDescendant(At("y.a2.A.Top")));
    EXPECT_FALSE(selection.HasMarkedDescendant(At("B.Top")));
    // Covered descendants read as marked too.
    selection.Mark(At("a2.A.Top"), Marked);
    EXPECT_TRUE(selection.HasMarkedDescendant(At("a2.A.Top")));
    EXPECT_FALSE(selection.HasMarkedDescendant(At("x.a2.A.Top")));
}

TEST_F(Selection, RulesOfClosingClearingAndVersions)
{
    struct Case {
        const char *what;
        std::vector<std::pair<std::string, CheckState>> marks;
        std::string object;
        bool closingLoses;
        bool canClear;
        bool mostRecentOnly;
    };
    const Case cases[] = {
        {"nothing marked", {}, "A.Top", false, false, false},
        {"a leaf below, container alone",
         {{"A.Top", MarkedAlone}, {"a1.A.Top", Marked}},
         "A.Top",
         true,
         true,
         false},
        {"container with its subtree", {{"A.Top", Marked}}, "A.Top", false, true, true},
        {"covered container", {{"A.Top", Marked}}, "a2.A.Top", false, false, true},
        {"covered leaf", {{"A.Top", Marked}}, "a1.A.Top", false, false, true},
        {"a marked leaf", {{"c.Top", Marked}}, "c.Top", false, false, false},
        {"closed container", {{"B.Top", Marked}}, "B.Top", false, false, true},
        {"marks two levels down", {{"x.a2.A.Top", Marked}}, "Top", true, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        selection.Clear(Top());
        for (const auto &[name, state] : c.marks) {
            ASSERT_TRUE(selection.Mark(At(name), state));
        }
        const ObjectItem &object = At(c.object);
        EXPECT_EQ(selection.ClosingLosesMarks(object), c.closingLoses);
        EXPECT_EQ(selection.CanClearSubtree(object), c.canClear);
        EXPECT_EQ(selection.MostRecentOnly(object), c.mostRecentOnly);
    }
}

TEST_F(Selection, ARunRestoresAMarkedContainerOnceAndFreesWhatItCovered)
{
    selection.Mark(At("a2.A.Top"), Marked);
    EXPECT_THAT(Run(), ElementsAre(RunLine{"a2.A.Top", Marked, 0}));
    EXPECT_THAT(Shown(), ElementsAre("Top-", "A-", "a1-", "a2-", "x-", "y-", "a3-", "B-", "c-"));
    EXPECT_THAT(Run(), ElementsAre());
}

TEST_F(Selection, ARunGoesInTreeOrderWithMarksAndVersions)
{
    selection.Mark(At("A.Top"), MarkedAlone);
    At("A.Top").SetChosenVersion(300);
    selection.Mark(At("x.a2.A.Top"), Marked);
    At("x.a2.A.Top").SetChosenVersion(200);
    selection.Mark(At("a3.A.Top"), Marked);
    selection.Mark(At("B.Top"), Marked);
    EXPECT_THAT(Run(),
                ElementsAre(RunLine{"A.Top", MarkedAlone, 300}, RunLine{"x.a2.A.Top", Marked, 200},
                            RunLine{"a3.A.Top", Marked, 0}, RunLine{"B.Top", Marked, 0}));
    EXPECT_FALSE(selection.HasMarks());
    EXPECT_EQ(At("x.a2.A.Top").ChosenVersion(), 200u); // a run does not reset versions
}

TEST_F(Selection, AFailedObjectKeepsItsMarkAndItsSubtreeIsPassedOver)
{
    selection.Mark(At("A.Top"), MarkedAlone);
    selection.Mark(At("x.a2.A.Top"), Marked);
    selection.Mark(At("B.Top"), Marked);
    EXPECT_THAT(Run({"A.Top"}),
                ElementsAre(RunLine{"A.Top", MarkedAlone, 0}, RunLine{"B.Top", Marked, 0}));
    EXPECT_THAT(Shown(), ElementsAre("Top-", "AA", "a1-", "a2-", "xM", "y-", "a3-", "B-", "c-"));
    EXPECT_EQ(selection.Counts(), (MarkCounts{1, 1}));
}

TEST_F(Selection, AFailedContainerStillCoversItsDescendants)
{
    selection.Mark(At("A.Top"), Marked);
    EXPECT_THAT(Run({"A.Top"}), ElementsAre(RunLine{"A.Top", Marked, 0}));
    EXPECT_EQ(At("x.a2.A.Top").GetCheckState(), Marked);
    EXPECT_FALSE(At("x.a2.A.Top").IsEnabled());
}

TEST_F(Selection, FindsLoadedObjectsByFullNameWhateverDotsTheirNamesHold)
{
    script.SetChildren("B.Top", {Leaf("b.1"), Container("b"), Leaf("1")});
    script.SetChildren("b.B.Top", {Leaf("1")});
    At("B.Top").Open();
    At("b.B.Top").Open();
    struct Case {
        std::string fullName;
        std::string found; // the name of the object found, and of its parent
    };
    const Case cases[] = {
        {"Top", "Top"},
        {"a2.A.Top", "a2 in A"},
        {"b.1.B.Top", "b.1 in B"},
        {"1.b.B.Top", "1 in b"},
        {"1.B.Top", "1 in B"},
        {"z.Top", ""},
        {"A", ""},
        {"x.a2.A", ""},
        {".Top", ""},
        {"Top.Top", ""},
        {"", ""},
    };
    for (const Case &c : cases) {
        const ObjectItem *object = selection.FindLoaded(c.fullName);
        std::string found;
        if (object != nullptr) {
            found = object->StoredText();
            if (TreeNode *parent = object->Node()->Parent()) {
                found += " in " + parent->Item()->StoredText();
            }
            EXPECT_EQ(object->FullName(), c.fullName);
        }
        EXPECT_EQ(found, c.found) << c.fullName;
    }
}

// The rules as the window first had them: every mark stored on every loaded row, a container's
// mark pushed down to each descendant (Marked and disabled, or Unmarked and enabled).
class PlainModel
{
  public:
    struct Row {
        CheckState state = Unmarked;
        bool enabled = true;
    };
    void Mark(const TreeNode &node, CheckState state)
    {
        rows_[&node].state = state;
        if (static_cast<const ObjectItem *>(node.Item())->IsContainer()) {
            PushDown(node, state == Marked);
        }
    }
    void Clear(const TreeNode &node)
    {
        rows_[&node].state = Unmarked;
        PushDown(node, false);
    }
    void Opened(const TreeNode &node)
    {
        const Row parent = rows_[&node];
        for (std::size_t i = 0; i < node.Children().Count(); ++i) {
            rows_[node.Children().ElementAt(i)] =
                parent.state == Marked ? Row{Marked, false} : Row{Unmarked, true};
        }
    }
    void Restored(const TreeNode &node) { rows_[&node].state = Unmarked; }
    const Row &At(const TreeNode &node) { return rows_[&node]; }
    MarkCounts Counts(const NodeList &forest)
    {
        MarkCounts counts;
        TreeWalker walker(forest);
        for (TreeNode *node = walker.NextNode(); node; node = walker.NextNode()) {
            const Row &row = rows_[node];
            if (row.state != Unmarked && row.enabled) {
                const auto *object = static_cast<const ObjectItem *>(node->Item());
                (object->IsContainer() ? counts.containers : counts.objects) += 1;
            }
        }
        return counts;
    }

  private:
    void PushDown(const TreeNode &node, bool marked)
    {
        TreeWalker walker(node.Children());
        for (TreeNode *below = walker.NextNode(); below; below = walker.NextNode()) {
            rows_[below] = marked ? Row{Marked, false} : Row{Unmarked, true};
        }
    }
    std::map<const TreeNode *, Row> rows_;
};

TEST(SelectionAgainstThePlainRules, ARandomSessionReadsTheSameRowByRow)
{
    ScriptedServer script;
    script.SetDefaultChildren(4, [](std::size_t i) {
        return i % 2 ? Leaf("L" + std::to_string(i)) : Container("C" + std::to_string(i));
    });
    BackupServer server(script);
    ServerClient client(server);
    NodeList forest;
    RestoreSelection selection(forest);
    PlainModel plain;
    forest.AppendItem(
        std::make_unique<ObjectItem>("Top", DisplayItem::ContainerKind, &client, nullptr));
    auto &top = *static_cast<ObjectItem *>(forest.ItemAt(0));
    top.Open();
    plain.Opened(*top.Node());

    std::mt19937 random(17);
    const CheckState states[] = {Unmarked, Marked, MarkedAlone};
    for (int step = 0; step < 3000; ++step) {
        const std::size_t row = random() % forest.TotalCount();
        TreeNode &node = *forest.NodeAt(row);
        auto &object = *static_cast<ObjectItem *>(node.Item());
        switch (random() % 6) {
        case 0:
        case 1: { // a click on an enabled box
            if (!object.IsEnabled()) {
                break;
            }
            const CheckState state =
                object.IsContainer() ? states[random() % 3] : states[random() % 2];
            ASSERT_TRUE(selection.Mark(object, state));
            plain.Mark(node, state);
            break;
        }
        case 2:
            if (object.IsContainer() && !object.IsOpen() && forest.TotalCount() < 400) {
                object.Open();
                plain.Opened(node);
            }
            break;
        case 3:
            if (object.IsContainer() && object.IsOpen() && row != 0) {
                object.Close();
            }
            break;
        case 4:
            if (selection.HasMarks(object) && object.IsEnabled()) {
                selection.Clear(object);
                plain.Clear(node);
            }
            break;
        default: { // a run in which every third object fails
            RestoreSelection::RunOrder order = selection.StartRun();
            int n = 0;
            for (auto s = order.Next(); s.object != nullptr; s = order.Next()) {
                if (++n % 3 == 0) {
                    order.Failed();
                } else {
                    order.Restored();
                    plain.Restored(*s.object->Node());
                    // What it covered is free again; a plain run walks in and frees it by hand.
                    if (s.mark == Marked) {
                        plain.Clear(*s.object->Node());
                    }
                }
            }
            break;
        }
        }
        TreeWalker walker(forest);
        for (TreeNode *shown = walker.NextNode(); shown; shown = walker.NextNode()) {
            const PlainModel::Row &expected = plain.At(*shown);
            ASSERT_EQ(shown->Item()->GetCheckState(), expected.state) << "step " << step;
            ASSERT_EQ(shown->Item()->IsEnabled(), expected.enabled) << "step " << step;
        }
        ASSERT_EQ(selection.Counts(), plain.Counts(forest)) << "step " << step;
    }
}
} // namespace
