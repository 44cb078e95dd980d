// Helpers of the tree tests: plain rows for building forests, and a check of the row indexes
// against a plain pre-order walk.
#pragma once

#include <gmock/gmock.h>

#include <memory>
#include <string>
#include <vector>

#include "model/DisplayItem.h"
#include "model/NodeList.h"
#include "model/TreeNode.h"
#include "model/TreeWalker.h"

inline std::unique_ptr<DisplayItem> Row(std::string text)
{
    return std::make_unique<DisplayItem>(std::move(text), DisplayItem::PlainKind);
}

inline std::vector<std::string> Texts(const NodeList &list)
{
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        texts.push_back(list.ElementAt(i)->Item()->StoredText());
    }
    return texts;
}

// The forest in pre-order, by recursion over the lists alone (no index, no walker).
inline void PlainPreOrder(const NodeList &list, std::vector<TreeNode *> &rows)
{
    for (std::size_t i = 0; i < list.Count(); ++i) {
        TreeNode *node = list.ElementAt(i);
        rows.push_back(node);
        PlainPreOrder(node->Children(), rows);
    }
}

inline std::size_t PlainMarkedBelow(const TreeNode &node)
{
    std::vector<TreeNode *> below;
    PlainPreOrder(node.Children(), below);
    std::size_t marked = 0;
    for (const TreeNode *row : below) {
        marked += row->Item()->OwnCheckState() != Unmarked;
    }
    return marked;
}

// Every way of reaching rows agrees with the plain walk: counts, row → node, node → row, a
// walker from every start row, subtree sizes, positions and the counts of marked rows below.
inline void ExpectIndexesMatchPlainWalk(const NodeList &forest)
{
    std::vector<TreeNode *> rows;
    PlainPreOrder(forest, rows);
    ASSERT_EQ(forest.TotalCount(), rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        TreeNode *node = rows[row];
        ASSERT_EQ(forest.NodeAt(row), node) << "row " << row;
        ASSERT_EQ(forest.ItemAt(row), node->Item()) << "row " << row;
        ASSERT_EQ(forest.RowOf(*node), row) << "row " << row;
        ASSERT_EQ(node->OwningList().ElementAt(node->Position()), node) << "row " << row;
        std::vector<TreeNode *> below;
        PlainPreOrder(node->Children(), below);
        ASSERT_EQ(node->SubtreeSize(), below.size() + 1) << "row " << row;
        ASSERT_EQ(node->Item()->MarkedBelow(), PlainMarkedBelow(*node)) << "row " << row;
        ASSERT_EQ(TreeWalker(forest, row).NextNode(), node) << "row " << row;
    }
    EXPECT_EQ(forest.NodeAt(rows.size()), nullptr);
    EXPECT_EQ(TreeWalker(forest, rows.size()).NextNode(), nullptr);

    TreeWalker walker(forest);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        ASSERT_EQ(walker.NextNode(), rows[row]) << "row " << row;
    }
    EXPECT_EQ(walker.NextNode(), nullptr);
}
