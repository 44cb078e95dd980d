// Detached nodes live on while a NodeRef pins them and are reclaimed when the last one goes.
#include <gmock/gmock.h>

#include <optional>

#include "tests/model/ForestChecks.h"
#include "model/NodeRef.h"

namespace
{
std::string PathUp(const TreeNode &node)
{
    std::string path = node.Item()->StoredText();
    for (const TreeNode *level = node.Parent(); level != nullptr; level = level->Parent()) {
        path += "." + level->Item()->StoredText();
    }
    return path;
}

class NodeRefTest : public testing::Test
{
  protected:
    NodeRefTest()
    {
        top = forest.AppendItem(Row("Top"));
        container = top->AddChild(Row("Box"));
        for (const char *name : {"x", "y", "z"}) {
            container->AddChild(Row(name));
        }
        baseline = TreeNode::LiveCount();
    }

    NodeList forest;
    TreeNode *top;
    TreeNode *container;
    std::size_t baseline;
};

TEST_F(NodeRefTest, PinnedChildOfAClosedContainerLivesUntilItsRefGoes)
{
    std::optional<NodeRef> ref(std::in_place, *container->Children().ElementAt(1));
    container->Children().Clear();
    EXPECT_EQ(TreeNode::LiveCount(), baseline - 2); // x and z went at once
    EXPECT_FALSE(ref->Node()->IsAttached());
    EXPECT_EQ(PathUp(*ref->Node()), "y.Box.Top");
    EXPECT_EQ(forest.RowOf(*ref->Node()), NodeList::NoPosition);
    EXPECT_EQ(forest.TotalCount(), 2u);

    container->AddChild(Row("new")); // reopened
    ref.reset();
    EXPECT_EQ(TreeNode::LiveCount(), baseline - 2);
    ExpectIndexesMatchPlainWalk(forest);
}

TEST_F(NodeRefTest, ReRootKeepsThePinnedNodesAncestorsUntilTheLastCopyGoes)
{
    std::optional<NodeRef> ref(std::in_place, *container->Children().ElementAt(2));
    std::optional<NodeRef> copy(*ref);
    NodeRef moved(std::move(*copy));
    EXPECT_EQ(copy->Node(), nullptr);

    forest.Clear();
    forest.AppendItem(Row("Other"));
    EXPECT_EQ(PathUp(*moved.Node()), "z.Box.Top");
    EXPECT_EQ(TreeNode::LiveCount(), baseline + 1); // the old top with all its nodes is kept

    ref.reset();
    EXPECT_EQ(TreeNode::LiveCount(), baseline + 1);
    moved = NodeRef();
    EXPECT_EQ(TreeNode::LiveCount(), 1u + (baseline - 5));
    EXPECT_EQ(forest.TotalCount(), 1u);
}

TEST_F(NodeRefTest, RefOnAnAttachedNodeChangesNothing)
{
    {
        NodeRef ref(*container);
        EXPECT_EQ(ref.Item(), container->Item());
    }
    EXPECT_EQ(TreeNode::LiveCount(), baseline);
    ExpectIndexesMatchPlainWalk(forest);
    container->Children().Clear();
    EXPECT_EQ(TreeNode::LiveCount(), baseline - 3);
}
} // namespace
