// The server worker: jobs run one at a time on its own thread in the order given, their results
// come back only through the poster, a stopped job hands nothing back, a read in flight is
// abandoned while a write runs to its end, an ended worker starts nothing more, and every job
// ends with exactly one completion (done, stopped or dropped), after what it delivered.
#include <gmock/gmock.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/ServerWorker.h"
#include "tests/support/core/HomeQueue.h"
#include "tests/support/core/RequestGate.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;

class ServerWorkerTest : public testing::Test
{
  protected:
    ServerWorkerTest() { client.WatchAbandon(&worker.AbandonFlag()); }
    ~ServerWorkerTest() override { EXPECT_EQ(script.OutstandingReplies(), 0u); }

    // A job that lists the container and hands the names back.
    ServerWorker::Work Listing(const std::string &container)
    {
        return [this, container](WorkerJob &job) {
            ChildListing listing = client.ListChildren(container, job.StopCheck());
            job.Deliver([this, container, listing = std::move(listing)] {
                delivered.push_back(container + ":" + std::to_string(listing.children.size()));
            });
        };
    }

    // A completion that notes how the job ended, by name.
    ServerWorker::Completion Noted(const std::string &name)
    {
        return [this, name](JobEnd end) {
            const char *how = end == JobEnd::Done      ? "done"
                              : end == JobEnd::Stopped ? "stopped"
                                                       : "dropped";
            delivered.push_back(name + " " + how);
        };
    }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
    HomeQueue home;
    std::vector<std::string> delivered;
    ServerWorker worker{[this](std::function<void()> call) { home.Post(std::move(call)); }};
};

TEST_F(ServerWorkerTest, RunsJobsInOrderAndHandsResultsBackOnlyThroughThePoster)
{
    script.SetChildren("A", 3, [](std::size_t i) { return Leaf("a" + std::to_string(i)); });
    script.SetChildren("B", 2, [](std::size_t i) { return Leaf("b" + std::to_string(i)); });
    const std::thread::id home_thread = std::this_thread::get_id();
    std::thread::id ran_on;
    EXPECT_NE(worker.Start(Listing("A")), 0u);
    worker.Start([&ran_on](WorkerJob &) { ran_on = std::this_thread::get_id(); });
    EXPECT_NE(worker.Start(Listing("B")), 0u);
    ASSERT_TRUE(home.WaitFor(2));
    EXPECT_TRUE(delivered.empty()); // nothing runs on the program's thread until it takes it
    home.RunAll();
    EXPECT_THAT(delivered, ElementsAre("A:3", "B:2"));
    EXPECT_NE(ran_on, home_thread);
    EXPECT_NE(ran_on, std::thread::id{});
}

TEST_F(ServerWorkerTest, StoppedReadIsAbandonedAndWhatItHandedOverIsDropped)
{
    script.SetChildren("Big", 50, [](std::size_t i) { return Leaf("x" + std::to_string(i)); });
    RequestGate gate;
    script.OnRequest([&](const LoggedRequest &request) {
        if (request.lastId == 10) {
            gate.Hold([this] { return script.AbandonAsked(); });
        }
    });
    const uint64_t job = worker.Start(Listing("Big"));
    ASSERT_TRUE(gate.WaitUntilHeld());
    EXPECT_FALSE(worker.AbandonFlag().load());
    worker.Stop(job);
    EXPECT_TRUE(worker.AbandonFlag().load()); // the backend gives its request up
    // The listing ends before its next request and its result never reaches the program.
    worker.Start([this](WorkerJob &job) { job.Deliver([this] { delivered.push_back("next"); }); });
    ASSERT_TRUE(home.WaitFor(2));
    home.RunAll();
    EXPECT_THAT(delivered, ElementsAre("next"));
    EXPECT_EQ(script.RequestsOf(ListChildren).back().lastId, 10);
    EXPECT_FALSE(worker.AbandonFlag().load()); // the next job is not abandoned
}

TEST_F(ServerWorkerTest, StoppedQueuedJobNeverRunsAndDeliveriesAfterStopAreDropped)
{
    RequestGate gate;
    std::vector<int> ran;
    const uint64_t first = worker.Start([&](WorkerJob &job) {
        ran.push_back(1);
        job.Deliver([this] { delivered.push_back("early"); });
        gate.Hold();
    });
    const uint64_t second = worker.Start([&](WorkerJob &) { ran.push_back(2); });
    ASSERT_TRUE(gate.WaitUntilHeld());
    ASSERT_TRUE(home.WaitFor(1));
    worker.Stop(second);
    worker.Stop(first); // posted before the stop, run after it: dropped all the same
    gate.Release();
    home.RunAll();
    EXPECT_TRUE(delivered.empty());
    worker.Start([this](WorkerJob &job) { job.Deliver([this] { delivered.push_back("later"); }); });
    ASSERT_TRUE(home.WaitFor(1));
    home.RunAll();
    EXPECT_THAT(ran, ElementsAre(1));
    EXPECT_THAT(delivered, ElementsAre("later"));
}

TEST_F(ServerWorkerTest, EndingKeepsTheWriteInFlightDropsTheQueueAndRefusesNewJobs)
{
    RequestGate gate;
    script.OnRequest([&](const LoggedRequest &request) {
        if (request.type == RestoreObject) {
            gate.Hold();
        }
    });
    worker.Start(
        [this](WorkerJob &job) {
            RestoreOutcome outcome = client.Restore("Ann.Sales", 0, false);
            job.Deliver([this, outcome] {
                delivered.push_back("restored:" + std::to_string(outcome.status));
            });
        },
        ServerWorker::Kind::Write);
    worker.Start(Listing("Sales"));
    ASSERT_TRUE(gate.WaitUntilHeld());
    worker.End();
    EXPECT_FALSE(worker.AbandonFlag().load()); // a write is never given up half way
    EXPECT_TRUE(worker.Ended());
    EXPECT_EQ(worker.Start(Listing("Sales")), 0u);
    gate.Release();
    ASSERT_TRUE(home.WaitFor(1));
    home.RunAll();
    EXPECT_THAT(delivered, ElementsAre("restored:0"));
    EXPECT_TRUE(script.RequestsOf(ListChildren).empty());
}

TEST_F(ServerWorkerTest, TerminationAndBrokenPipeSignalsNeverReachTheWorker)
{
    sigset_t before;
    pthread_sigmask(SIG_SETMASK, nullptr, &before);
    bool termHeld = false;
    bool pipeHeld = false;
    worker.Start([&](WorkerJob &job) {
        sigset_t mask;
        pthread_sigmask(SIG_SETMASK, nullptr, &mask);
        termHeld = sigismember(&mask, SIGTERM) == 1;
        pipeHeld = sigismember(&mask, SIGPIPE) == 1;
        job.Deliver([] {});
    });
    ASSERT_TRUE(home.WaitFor(1));
    home.RunAll();
    EXPECT_TRUE(termHeld);
    EXPECT_TRUE(pipeHeld);
    sigset_t after;
    pthread_sigmask(SIG_SETMASK, nullptr, &after);
    EXPECT_EQ(sigismember(&after, SIGTERM), sigismember(&before, SIGTERM)); // the creator's own
}

// The cases that once left a waiter waiting for ever: a job dropped from the queue by the end of
// the worker, a job started after it, a queued job stopped; and a write stopped in flight, which
// ran to its end.
TEST_F(ServerWorkerTest, EveryJobEndsWithExactlyOneCompletionAfterWhatItDelivered)
{
    RequestGate gate;
    script.OnRequest([&](const LoggedRequest &request) {
        if (request.type == RestoreObject) {
            gate.Hold();
        }
    });
    const auto restore = [this](WorkerJob &) { client.Restore("Ann.Sales", 0, false); };
    const uint64_t write = worker.Start(restore, ServerWorker::Kind::Write, Noted("write"));
    const uint64_t queuedRead =
        worker.Start(Listing("Sales"), ServerWorker::Kind::Read, Noted("stopped read"));
    worker.Start(Listing("Sales"), ServerWorker::Kind::Write, Noted("queued write"));
    ASSERT_TRUE(gate.WaitUntilHeld());
    worker.Stop(queuedRead);
    worker.Stop(write); // a restore in flight runs to its end all the same
    worker.End();
    EXPECT_EQ(worker.Start(Listing("Sales"), ServerWorker::Kind::Read, Noted("late")), 0u);
    gate.Release();
    ASSERT_TRUE(home.WaitFor(4));
    home.RunAll();
    EXPECT_THAT(delivered,
                testing::UnorderedElementsAre("stopped read stopped", "queued write dropped",
                                              "late dropped", "write done"));
    EXPECT_EQ(script.RequestsOf(RestoreObject).size(), 1u);
    EXPECT_TRUE(script.RequestsOf(ListChildren).empty());
}

TEST_F(ServerWorkerTest, AReadStoppedInFlightEndsStoppedAndOneThatRanEndsDone)
{
    script.SetChildren("Big", 50, [](std::size_t i) { return Leaf("x" + std::to_string(i)); });
    RequestGate gate;
    script.OnRequest([&](const LoggedRequest &request) {
        if (request.lastId == 10) {
            gate.Hold([this] { return script.AbandonAsked(); });
        }
    });
    const uint64_t big = worker.Start(Listing("Big"), ServerWorker::Kind::Read, Noted("big"));
    worker.Start(Listing("Small"), ServerWorker::Kind::Read, Noted("small"));
    ASSERT_TRUE(gate.WaitUntilHeld());
    worker.Stop(big);
    ASSERT_TRUE(home.WaitFor(4)); // the big listing's delivery too, dropped when it runs
    home.RunAll();
    EXPECT_THAT(delivered, ElementsAre("big stopped", "Small:0", "small done"));
}

// Whether the server describes is learnt on the worker and asked on the program's thread (the
// window enables Compare by it) while the worker is at it.
TEST_F(ServerWorkerTest, WhetherTheServerDescribesCanBeAskedWhileTheWorkerLearnsIt)
{
    script.SetDescription("Ann.Sales", ObjectDescription{});
    RequestGate gate;
    script.OnRequest([&](const LoggedRequest &request) {
        if (request.type == DescribeObject) {
            gate.Hold();
        }
    });
    bool describes = false;
    worker.Start([&](WorkerJob &) { describes = client.CanDescribe(); }, ServerWorker::Kind::Read,
                 Noted("probe"));
    ASSERT_TRUE(gate.WaitUntilHeld());
    EXPECT_FALSE(client.KnowsWhetherItDescribes());
    gate.Release();
    // On this thread, while the worker may be writing it: either answer is right, a racing read
    // is not (the thread sanitizer sees one).
    [[maybe_unused]] const bool knownMeanwhile = client.KnowsWhetherItDescribes();
    ASSERT_TRUE(home.WaitFor(1));
    home.RunAll();
    EXPECT_THAT(delivered, ElementsAre("probe done"));
    EXPECT_TRUE(client.KnowsWhetherItDescribes());
    EXPECT_TRUE(describes);
}

} // namespace
