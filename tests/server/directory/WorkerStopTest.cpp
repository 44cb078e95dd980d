// The directory server behind the server worker: Stop gives up a request that a frozen server
// never answers at once, long before its time-out, and the connection serves the next request
// once the server answers again.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "server/ServerClient.h"
#include "server/ServerWorker.h"
#include "tests/server/directory/DirectoryFixture.h"
#include "tests/support/core/HomeQueue.h"

namespace
{
using Clock = std::chrono::steady_clock;

class DirectoryWorkerStopTest : public DirectoryFixture
{
  protected:
    ServerWorker::Work Listing(const std::string &container)
    {
        return [this, container](WorkerJob &job) {
            ChildListing listing = client->ListChildren(container, job.StopCheck());
            job.Deliver([this, listing] { listed.push_back(listing); });
        };
    }

    HomeQueue home;
    std::unique_ptr<ServerClient> client;
    std::vector<ChildListing> listed;
    std::unique_ptr<ServerWorker> worker;
};

TEST_F(DirectoryWorkerStopTest, StopGivesUpARequestTheServerNeverAnswersAtOnce)
{
    LdapSettings settings = Settings();
    settings.timeoutSeconds = 30;
    ASSERT_EQ(Open(settings), 0) << Log();
    ASSERT_EQ(ldap->LoginCurrent(LoginRecord{}), 0) << Log();
    client = std::make_unique<ServerClient>(*server);
    worker = std::make_unique<ServerWorker>(
        [this](std::function<void()> call) { home.Post(std::move(call)); });
    client->WatchAbandon(&worker->AbandonFlag());

    slapd.Freeze();
    const uint64_t job = worker->Start(Listing("Sales.Marrowby"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const Clock::time_point stopped = Clock::now();
    worker->Stop(job);
    worker->Start([](WorkerJob &next) { next.Deliver([] {}); }); // runs once the worker is free
    ASSERT_TRUE(home.WaitFor(1));
    EXPECT_LT(Clock::now() - stopped, std::chrono::seconds(2)); // not the 30 s time-out
    home.RunAll();
    EXPECT_TRUE(listed.empty()); // the stopped listing's result never arrives

    slapd.Thaw();
    worker->Start(Listing("Sales.Marrowby"));
    ASSERT_TRUE(home.WaitFor(1));
    home.RunAll();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].end, RequestEnd::Answered) << listed[0].failure;
    EXPECT_EQ(listed[0].children.size(), 2u);
    worker.reset(); // before the client it drives
}

TEST_F(DirectoryWorkerStopTest, ATimeOutSaysSoNamingTheServerAndTheTime)
{
    LdapSettings settings = Settings();
    settings.timeoutSeconds = 1;
    ASSERT_EQ(Open(settings), 0) << Log();
    ASSERT_EQ(ldap->LoginCurrent(LoginRecord{}), 0) << Log();
    client = std::make_unique<ServerClient>(*server);
    slapd.Freeze();
    const ChildListing listing = client->ListChildren("Sales.Marrowby");
    slapd.Thaw();
    EXPECT_EQ(listing.end, RequestEnd::Failed);
    EXPECT_THAT(listing.failure, testing::HasSubstr("Timed out"));
    EXPECT_THAT(listing.failure, testing::HasSubstr(settings.uri));
    EXPECT_THAT(listing.failure, testing::HasSubstr("within 1 s"));
}

} // namespace
