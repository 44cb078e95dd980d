// The untyped pointer list: order, cursor and removal without destroying anything.
#include <gmock/gmock.h>

#include "tree/PtrList.h"

namespace
{
TEST(PtrListTest, KeepsOrderAndCursor)
{
    int a = 0, b = 0, c = 0, d = 0;
    PtrList list;
    EXPECT_EQ(list.First(), nullptr);
    list.Append(&b);
    list.Prepend(&a);
    list.Append(&d);
    EXPECT_EQ(list.Seek(2), &d);
    EXPECT_EQ(list.InsertAtCursor(&c), &c);
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.PositionOf(&c), 2u);
    EXPECT_EQ(list.Next(), &d);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.First(), &a);
    EXPECT_EQ(list.Next(), &b);

    EXPECT_EQ(list.RemoveFirst(), &a);
    EXPECT_EQ(list.Next(), &c); // the cursor stays on its element
    EXPECT_EQ(list.RemoveLast(), &d);
    EXPECT_EQ(list.ElementAt(1), &c);
    EXPECT_EQ(list.PositionOf(&a), PtrList::NoPosition);
    list.Clear();
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.RemoveLast(), nullptr);
}
} // namespace
