// Node lists and nodes: line patterns, sorted insertion, the cursor, and the row indexes kept
// consistent with a plain pre-order walk through every kind of change.
#include <gmock/gmock.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tests/model/ForestChecks.h"

namespace
{
using testing::ElementsAre;

// A row that remembers its arrival, to tell equal names apart.
class TaggedRow : public DisplayItem
{
  public:
    TaggedRow(std::string text, int tag) : DisplayItem(std::move(text), PlainKind), tag(tag) {}
    const int tag;
};

std::vector<int> Tags(const NodeList &list)
{
    std::vector<int> tags;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        tags.push_back(static_cast<const TaggedRow *>(list.ElementAt(i)->Item())->tag);
    }
    return tags;
}

TEST(NodeListTest, LinePatternHasOneLetterPerLevel)
{
    NodeList forest;
    TreeNode *top = forest.AppendItem(Row("Top"));
    TreeNode *a = top->AddChild(Row("A"));
    TreeNode *a1 = a->AddChild(Row("A1"));
    TreeNode *b = top->AddChild(Row("B"));
    TreeNode *c = top->AddChild(Row("C"));
    TreeNode *c1 = c->AddChild(Row("C1"));
    TreeNode *c2 = c->AddChild(Row("C2"));

    const std::vector<std::tuple<TreeNode *, std::string>> cases = {
        {top, "L"}, {a, "Lf"}, {a1, "Lfl"}, {b, "Li"}, {c, "Ll"}, {c1, "Llf"}, {c2, "Lll"}};
    for (const auto &[node, pattern] : cases) {
        EXPECT_EQ(node->LinePattern(), pattern) << node->Item()->StoredText();
    }

    NodeList three;
    three.AppendItem(Row("1"));
    three.AppendItem(Row("2"));
    three.AppendItem(Row("3"));
    EXPECT_EQ(three.ElementAt(0)->LinePattern(), "F");
    EXPECT_EQ(three.ElementAt(1)->LinePattern(), "I");
    EXPECT_EQ(three.ElementAt(2)->LinePattern(), "L");
}

TEST(NodeListTest, SortedInsertionOrdersByteWiseAndPutsEqualNamesBefore)
{
    NodeList forest;
    TreeNode *top = forest.AppendItem(Row("Top"));
    for (const char *name : {"Object-0", "Contain-1", "Object-2", "b", "B", "a", "A"}) {
        top->AddChildSorted(Row(name), CompareTexts);
    }
    EXPECT_THAT(Texts(top->Children()),
                ElementsAre("A", "B", "Contain-1", "Object-0", "Object-2", "a", "b"));

    NodeList list;
    TreeNode *owner = list.AppendItem(Row("owner"));
    owner->AddChildSorted(std::make_unique<TaggedRow>("dup", 1), CompareTexts);
    owner->AddChildSorted(std::make_unique<TaggedRow>("dup", 2), CompareTexts);
    owner->AddChildSorted(std::make_unique<TaggedRow>("dup", 3), CompareTexts);
    EXPECT_THAT(Tags(owner->Children()), ElementsAre(3, 2, 1));
}

TEST(NodeListTest, BatchInsertionGivesTheOrderOfOneByOneInsertion)
{
    std::mt19937 random(11);
    // Short names, and long ones that agree in their first 16 bytes or more.
    const std::vector<std::string> names = {"a",
                                            "A",
                                            "b",
                                            "B",
                                            "ab",
                                            "aB",
                                            "",
                                            "a-1",
                                            "a-10",
                                            "Organisational-Unit-1",
                                            "Organisational-Unit-10",
                                            "Organisational-Unit-2",
                                            "Organisational-U"};
    auto name = [&] { return names[random() % names.size()]; };
    for (int round = 0; round < 50; ++round) {
        NodeList one;
        NodeList batch;
        TreeNode *oneByOne = one.AppendItem(Row("x"));
        TreeNode *together = batch.AppendItem(Row("x"));
        int tag = 0;
        for (int i = 0; i < round % 7; ++i, ++tag) { // children already there
            const std::string text = name();
            oneByOne->AddChildSorted(std::make_unique<TaggedRow>(text, tag), CompareTexts);
            together->AddChildSorted(std::make_unique<TaggedRow>(text, tag), CompareTexts);
        }
        std::vector<std::unique_ptr<DisplayItem>> items;
        for (int i = 0; i < 40; ++i, ++tag) {
            const std::string text = name();
            oneByOne->AddChildSorted(std::make_unique<TaggedRow>(text, tag), CompareTexts);
            items.push_back(std::make_unique<TaggedRow>(text, tag));
        }
        together->Children().InsertSortedByText(std::move(items));

        ASSERT_EQ(Tags(together->Children()), Tags(oneByOne->Children())) << "round " << round;
        ExpectIndexesMatchPlainWalk(batch);
    }
}

TEST(NodeListTest, CursorMovesAndInsertsBeforeTheCurrentNode)
{
    NodeList list;
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Next(), nullptr);
    list.InsertItemAtCursor(Row("c")); // no current node: at the end
    list.PrependItem(Row("a"));
    TreeNode *d = list.AppendItem(Row("d"));
    EXPECT_EQ(list.Seek(2), d);
    TreeNode *b = list.InsertItemAtCursor(Row("b"));
    EXPECT_THAT(Texts(list), ElementsAre("a", "c", "b", "d"));
    EXPECT_EQ(list.Next(), list.ElementAt(3));
    EXPECT_EQ(list.PositionOf(*b), 2u);
    EXPECT_EQ(list.Last(), d);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Seek(4), nullptr);

    NodeList other;
    EXPECT_EQ(other.PositionOf(*b), NodeList::NoPosition);
    EXPECT_EQ(other.RowOf(*b), NodeList::NoPosition);
}

TEST(NodeListTest, IndexesFollowEveryChange)
{
    std::mt19937 random(5);
    NodeList forest;
    auto pick = [&]() -> TreeNode * {
        return forest.TotalCount() == 0 ? nullptr : forest.NodeAt(random() % forest.TotalCount());
    };
    // Some rows arrive marked, as children of a Marked container do.
    auto some = [&] {
        auto row = Row("n" + std::to_string(random() % 50));
        row->SetCheckState(static_cast<CheckState>(random() % 4 == 0 ? random() % 3 : 0));
        return row;
    };
    std::size_t largest = 0;
    for (int step = 0; step < 400; ++step) {
        TreeNode *node = pick();
        switch (node == nullptr ? 0 : random() % 9) {
        case 0: // a new top context, or one more top-level node
            if (random() % 4 == 0) {
                forest.Clear();
            }
            forest.AppendItem(some());
            break;
        case 1:
        case 2: { // open
            std::vector<std::unique_ptr<DisplayItem>> items;
            for (std::size_t i = random() % 6; i > 0; --i) {
                items.push_back(some());
            }
            node->Children().InsertSortedByText(std::move(items));
            break;
        }
        case 3: // close
            node->Children().Clear();
            break;
        case 4:
            node->AddChild(some());
            break;
        case 5:
            node->AddChildSorted(some(), CompareTexts);
            break;
        case 6:
            node->OwningList().PrependItem(some());
            break;
        case 7:
            if (random() % 2) {
                node->Children().RemoveFirst();
            } else {
                node->Children().RemoveLast();
            }
            break;
        case 8: // a mark changes
            node->Item()->SetCheckState(static_cast<CheckState>(random() % 3));
            break;
        }
        if (step % 20 == 0 || step > 390) {
            ExpectIndexesMatchPlainWalk(forest);
        }
        // Lookups between changes leave the index built, so the next change updates it in place.
        pick();
        largest = std::max(largest, forest.TotalCount());
    }
    EXPECT_GT(largest, 20u);
}

TEST(NodeListTest, ClearingReclaimsTheDetachedNodesAndItems)
{
    const std::size_t nodes = TreeNode::LiveCount();
    const std::size_t items = DisplayItem::LiveCount();
    {
        NodeList forest;
        TreeNode *top = forest.AppendItem(Row("Top"));
        for (int round = 0; round < 100; ++round) {
            for (int i = 0; i < 20; ++i) {
                top->AddChild(Row("c"))->AddChild(Row("g"));
            }
            EXPECT_EQ(TreeNode::LiveCount(), nodes + 41);
            top->Children().Clear();
            EXPECT_EQ(forest.TotalCount(), 1u);
        }
        EXPECT_EQ(TreeNode::LiveCount(), nodes + 1);
        EXPECT_TRUE(forest.RemoveLast());
        EXPECT_FALSE(forest.RemoveFirst());
    }
    EXPECT_EQ(TreeNode::LiveCount(), nodes);
    EXPECT_EQ(DisplayItem::LiveCount(), items);
}
} // namespace
