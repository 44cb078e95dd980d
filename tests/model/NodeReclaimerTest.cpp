// Detached rows of a forest with a reclaimer are freed later, a slice at a time, and never while
// something still refers to them; the forest's indexes are right at once.
#include <gmock/gmock.h>

#include <chrono>
#include <optional>

#include "tests/model/ForestChecks.h"
#include "model/NodeReclaimer.h"
#include "model/NodeRef.h"

namespace
{

class NodeReclaimerTest : public testing::Test
{
  protected:
    NodeReclaimerTest()
    {
        forest.SetReclaimer(&reclaimer);
        reclaimer.SetWorkHdl([this] { ++workCalls; });
        top = forest.AppendItem(Row("Top"));
        baseline = TreeNode::LiveCount();
    }
    ~NodeReclaimerTest() override { forest.SetReclaimer(nullptr); }

    // A container below the top with `count` children, each with one child of its own.
    TreeNode *AddContainer(int count)
    {
        TreeNode *container = top->AddChild(Row("Box"));
        for (int i = 0; i < count; ++i) {
            container->AddChild(Row("c" + std::to_string(i)))->AddChild(Row("g"));
        }
        return container;
    }

    NodeReclaimer reclaimer; // declared first: it outlives the forest
    NodeList forest;
    TreeNode *top;
    std::size_t baseline;
    int workCalls = 0;
};

TEST_F(NodeReclaimerTest, ClosingReturnsAtOnceAndTheRowsAreFreedInSlices)
{
    TreeNode *container = AddContainer(5000);
    const std::size_t items = DisplayItem::LiveCount();
    container->Children().Clear();

    EXPECT_EQ(forest.TotalCount(), 2u);
    ExpectIndexesMatchPlainWalk(forest);
    EXPECT_EQ(TreeNode::LiveCount(), baseline + 1 + 10000); // nothing freed yet
    EXPECT_EQ(workCalls, 1);
    EXPECT_TRUE(reclaimer.HasWork());

    EXPECT_TRUE(reclaimer.ReclaimFor(std::chrono::microseconds(0))); // one short slice
    const std::size_t afterSlice = TreeNode::LiveCount();
    EXPECT_LT(afterSlice, baseline + 1 + 10000);
    EXPECT_GT(afterSlice, baseline + 1);
    EXPECT_EQ(DisplayItem::LiveCount(), items - (baseline + 1 + 10000 - afterSlice));

    EXPECT_FALSE(reclaimer.ReclaimFor(std::chrono::seconds(10)));
    EXPECT_EQ(TreeNode::LiveCount(), baseline + 1);
    EXPECT_EQ(DisplayItem::LiveCount(), items - 10000);

    AddContainer(1)->Children().Clear(); // idle again: the owner hears of new work
    EXPECT_EQ(workCalls, 2);
}

TEST_F(NodeReclaimerTest, PinnedRowsStayUntilTheirLastRefGoes)
{
    TreeNode *container = AddContainer(3);
    std::optional<NodeRef> ref(std::in_place, *container->Children().ElementAt(1));
    container->Children().Clear();
    reclaimer.ReclaimAll();
    EXPECT_EQ(TreeNode::LiveCount(), baseline + 1 + 2); // the pinned row and its child
    EXPECT_FALSE(ref->Node()->IsAttached());
    ExpectIndexesMatchPlainWalk(forest);

    ref.reset();
    EXPECT_TRUE(reclaimer.HasWork());
    reclaimer.ReclaimAll();
    EXPECT_EQ(TreeNode::LiveCount(), baseline + 1);
}

TEST_F(NodeReclaimerTest, ReRootingHandsTheOldTreeOverAndTheReclaimerFreesTheRestAtTheEnd)
{
    AddContainer(100);
    {
        NodeReclaimer last;
        forest.SetReclaimer(&last);
        forest.Clear();
        forest.AppendItem(Row("New"));
        EXPECT_EQ(TreeNode::LiveCount(), baseline + 1 + 200 + 1);
        forest.SetReclaimer(&reclaimer);
    }
    EXPECT_EQ(TreeNode::LiveCount(), baseline);
}

} // namespace
