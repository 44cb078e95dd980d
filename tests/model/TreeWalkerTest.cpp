// The pre-order walker: its order, its start at a row, and stepping past a subtree.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "tests/model/ForestChecks.h"

namespace
{
using testing::ElementsAre;

// Two top-level nodes:  R1 (a (a1, a2), b)   R2 (c)
class TreeWalkerTest : public testing::Test
{
  protected:
    TreeWalkerTest()
    {
        TreeNode *r1 = forest.AppendItem(Row("R1"));
        TreeNode *a = r1->AddChild(Row("a"));
        a->AddChild(Row("a1"));
        a->AddChild(Row("a2"));
        r1->AddChild(Row("b"));
        forest.AppendItem(Row("R2"))->AddChild(Row("c"));
    }

    static std::vector<std::string> Rest(TreeWalker &walker)
    {
        std::vector<std::string> texts;
        while (DisplayItem *item = walker.NextItem()) {
            texts.push_back(item->StoredText());
        }
        return texts;
    }

    NodeList forest;
};

TEST_F(TreeWalkerTest, VisitsEachNodeBeforeItsChildren)
{
    TreeWalker walker(forest);
    EXPECT_THAT(Rest(walker), ElementsAre("R1", "a", "a1", "a2", "b", "R2", "c"));
    EXPECT_EQ(walker.NextNode(), nullptr); // stays ended
    ExpectIndexesMatchPlainWalk(forest);
}

TEST_F(TreeWalkerTest, StartsAfterSkippingRows)
{
    TreeWalker fromA2(forest, 3);
    EXPECT_THAT(Rest(fromA2), ElementsAre("a2", "b", "R2", "c"));
    TreeWalker atEnd(forest, 7);
    EXPECT_EQ(atEnd.NextNode(), nullptr);
    TreeWalker beyond(forest, 100);
    EXPECT_EQ(beyond.NextNode(), nullptr);
    EXPECT_EQ(forest.ItemAt(forest.TotalCount()), nullptr);
}

TEST_F(TreeWalkerTest, NextOutsideSubtreeSkipsTheDescendants)
{
    TreeWalker walker(forest);
    walker.NextNode(); // R1
    walker.NextNode(); // a
    EXPECT_EQ(walker.NextItemOutsideSubtree()->StoredText(), "b");
    EXPECT_EQ(walker.NextItemOutsideSubtree()->StoredText(), "R2");
    EXPECT_EQ(walker.NextItemOutsideSubtree(), nullptr); // last top-level node
    EXPECT_EQ(walker.NextNode(), nullptr);

    TreeWalker leaf(forest, 3); // returned a1 last
    EXPECT_EQ(leaf.NextItemOutsideSubtree()->StoredText(), "a2");
    EXPECT_THAT(Rest(leaf), ElementsAre("b", "R2", "c"));

    TreeWalker fresh(forest); // nothing returned yet: the first node
    EXPECT_EQ(fresh.NextItemOutsideSubtree()->StoredText(), "R1");
    EXPECT_EQ(fresh.NextItemOutsideSubtree()->StoredText(), "R2");
}

TEST_F(TreeWalkerTest, WalksOverTheSameListsMayInterleave)
{
    TreeWalker first(forest);
    TreeWalker second(forest);
    std::vector<std::string> texts;
    for (int i = 0; i < 7; ++i) {
        texts.push_back(first.NextItem()->StoredText());
        texts.push_back(second.NextItem()->StoredText());
    }
    EXPECT_THAT(texts, ElementsAre("R1", "R1", "a", "a", "a1", "a1", "a2", "a2", "b", "b", "R2",
                                   "R2", "c", "c"));
}

TEST_F(TreeWalkerTest, WalksANodesChildrenAsAForestOfTheirOwn)
{
    const NodeList &children = forest.ElementAt(0)->Children();
    TreeWalker walker(children, 1);
    EXPECT_THAT(Rest(walker), ElementsAre("a1", "a2", "b"));
    TreeWalker skipping(children, 1);
    EXPECT_EQ(skipping.NextItemOutsideSubtree()->StoredText(), "b");
    EXPECT_EQ(children.RowOf(*forest.ElementAt(1)), NodeList::NoPosition);
}
} // namespace
