// Calls posted to the event loop: many requests before a pass make one call, in that pass.
#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

#include "toolkit/PostedCall.h"

TEST(PostedCall, ManyPostsBeforeAPassMakeOneCallInThatPass)
{
    int calls = 0;
    PostedCall call([&calls] { ++calls; });
    call.Post();
    call.Post();
    EXPECT_TRUE(call.IsPending());
    EXPECT_EQ(calls, 0);
    QApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(call.IsPending());
    QApplication::processEvents();
    EXPECT_EQ(calls, 1);
    call.Post(); // and again after it ran
    QApplication::processEvents();
    EXPECT_EQ(calls, 2);
}

TEST(PostedCall, RunNowCatchesUpAtOnceAndThePassHasNothingLeft)
{
    int calls = 0;
    PostedCall call([&calls] { ++calls; });
    call.RunNow(); // nothing pending: nothing to do
    EXPECT_EQ(calls, 0);
    call.Post();
    call.RunNow();
    EXPECT_EQ(calls, 1);
    QApplication::processEvents();
    EXPECT_EQ(calls, 1);
}

TEST(PostedCall, ACallGoneBeforeThePassIsNeverMade)
{
    int calls = 0;
    auto call = std::make_unique<PostedCall>([&calls] { ++calls; });
    call->Post();
    call.reset();
    QApplication::processEvents();
    EXPECT_EQ(calls, 0);
}
