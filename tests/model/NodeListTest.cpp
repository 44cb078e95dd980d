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

// The children of an opened container, inserted together.
void InsertSorted(TreeNode &node, std::vector<std::unique_ptr<DisplayItem>> items)
{
    NodeList::Batch batch(node.Children());
    for (auto &item : items) {
        batch.Add(std::move(item));
    }
    node.Children().InsertSorted(std::move(batch));
}

// Tags in the order that inserting the rows one by one gives, each at the first position whose
// text is not less (byte-wise): among equal texts the later arrival comes first.
std::vector<int> OneByOne(const std::vector<std::pair<std::string, int>> &arrivals)
{
    std::vector<std::pair<std::string, int>> list;
    for (const auto &arrival : arrivals) {
        const auto at = std::lower_bound(
            list.begin(), list.end(), arrival.first,
            [](const auto &existing, const std::string &text) { return existing.first < text; });
        list.insert(at, arrival);
    }
    std::vector<int> tags;
    for (const auto &entry : list) {
        tags.push_back(entry.second);
    }
    return tags;
}

TEST(NodeListTest, SortedInsertionOrdersByteWiseAndPutsEqualNamesBefore)
{
    NodeList forest;
    TreeNode *top = forest.AppendItem(Row("Top"));
    std::vector<std::unique_ptr<DisplayItem>> children;
    for (const char *name : {"Object-0", "Contain-1", "Object-2", "b", "B", "a", "A", "\xC3\xA9"}) {
        children.push_back(Row(name));
    }
    InsertSorted(*top, std::move(children));
    EXPECT_THAT(Texts(top->Children()),
                ElementsAre("A", "B", "Contain-1", "Object-0", "Object-2", "a", "b", "\xC3\xA9"));

    NodeList list;
    TreeNode *owner = list.AppendItem(Row("owner"));
    std::vector<std::unique_ptr<DisplayItem>> equal;
    for (int tag : {1, 2, 3}) {
        equal.push_back(std::make_unique<TaggedRow>("dup", tag));
    }
    InsertSorted(*owner, std::move(equal));
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
        NodeList batch;
        TreeNode *together = batch.AppendItem(Row("x"));
        std::vector<std::pair<std::string, int>> arrivals;
        int tag = 0;
        // Children already there (a list built only by sorted insertion), then a second batch.
        for (int part : {round % 7, 40}) {
            std::vector<std::unique_ptr<DisplayItem>> items;
            for (int i = 0; i < part; ++i, ++tag) {
                arrivals.emplace_back(name(), tag);
                items.push_back(std::make_unique<TaggedRow>(arrivals.back().first, tag));
            }
            InsertSorted(*together, std::move(items));
        }
        ASSERT_EQ(Tags(together->Children()), OneByOne(arrivals)) << "round " << round;
        ExpectIndexesMatchPlainWalk(batch);
    }
}

TEST(NodeListTest, PositionsAndRowsOfNodesOutsideTheListAreNone)
{
    NodeList list;
    list.AppendItem(Row("a"));
    TreeNode *b = list.AppendItem(Row("b"));
    EXPECT_EQ(list.PositionOf(*b), 1u);
    EXPECT_EQ(list.ElementAt(1), b);
    EXPECT_EQ(list.ElementAt(2), nullptr);

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
        switch (node == nullptr ? 0 : random() % 6) {
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
            InsertSorted(*node, std::move(items));
            break;
        }
        case 3: // close
            node->Children().Clear();
            break;
        case 4:
            node->AddChild(some());
            break;
        case 5: // a mark changes
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
        forest.Clear();
        EXPECT_EQ(forest.TotalCount(), 0u);
    }
    EXPECT_EQ(TreeNode::LiveCount(), nodes);
    EXPECT_EQ(DisplayItem::LiveCount(), items);
}
} // namespace
