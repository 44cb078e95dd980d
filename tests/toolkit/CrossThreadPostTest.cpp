// Calls handed over from other threads: made on the program's thread, in the order handed over,
// seeing what the thread did before it handed them over (under ThreadSanitizer too), and never
// made once the post is gone.
#include <QApplication>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "toolkit/CrossThreadPost.h"
#include "toolkit/EventWait.h"

TEST(CrossThreadPost, CallsFromOtherThreadsRunOnTheProgramsThreadInOrderSeeingWhatCameBefore)
{
    constexpr int kPerThread = 200;
    CrossThreadPost post;
    // Written by the posting threads without a lock: only the hand-over orders it before the
    // call that reads it.
    std::array<std::vector<int>, 2> written;
    std::array<std::vector<int>, 2> seen;
    std::vector<std::thread::id> ranOn;
    int calls = 0;
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < written.size(); ++t) {
        written[t].resize(kPerThread);
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                written[t][i] = i + 1;
                post.Post([&, t, i] {
                    seen[t].push_back(written[t][i]);
                    ranOn.push_back(std::this_thread::get_id());
                    ++calls;
                });
            }
        });
    }
    EventWait::Until([&] { return calls == 2 * kPerThread; });
    for (std::thread &thread : threads) {
        thread.join();
    }

    std::vector<int> inOrder;
    for (int i = 1; i <= kPerThread; ++i) {
        inOrder.push_back(i);
    }
    EXPECT_EQ(seen[0], inOrder);
    EXPECT_EQ(seen[1], inOrder);
    EXPECT_EQ(ranOn, std::vector<std::thread::id>(2 * kPerThread, std::this_thread::get_id()));
}

TEST(CrossThreadPost, CallsPendingWhenThePostGoesAreNeverMade)
{
    int calls = 0;
    auto post = std::make_unique<CrossThreadPost>();
    std::thread([&] { post->Post([&calls] { ++calls; }); }).join();
    post.reset();
    QApplication::processEvents();
    EXPECT_EQ(calls, 0);
}
