// The window's way to the server, on its own: whoever waits for a job is woken by the job's one
// completion whatever becomes of it (a restore queued behind a listing the user gave up, then
// dropped as the program ends), a requester's Stop gives up its own job and no other, what waits
// for the server to be free runs as a call of its own after the request that kept it busy, and a
// job whose requester has gone never calls back.
#include <QApplication>
#include <QTimer>
#include <gmock/gmock.h>

#include <memory>
#include <string>
#include <vector>

#include "mwlib/MW_SIGTERMClientList.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "session/ServerSession.h"
#include "tests/support/core/RequestGate.h"
#include "tests/support/core/ScriptedServer.h"
#include "toolkit/EventWait.h"

namespace
{
using testing::ElementsAre;

// Made on the program's thread at its next pass of the event loop; from the worker, in the middle
// of a request, this is how a test acts while the program waits.
void OnHome(std::function<void()> call)
{
    QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
}

ServerSession::Work<ChildListing> Listing(const std::string &container)
{
    return [container](ServerClient &client, WorkerJob &job) {
        return client.ListChildren(container, job.StopCheck());
    };
}

class ServerSessionTest : public testing::Test
{
  protected:
    ServerSessionTest() { script.SetChildren("Sales", {Leaf("Ann"), Leaf("Bob")}); }
    ~ServerSessionTest() override
    {
        gate.Release();
        session.reset();
        EXPECT_EQ(script.OutstandingReplies(), 0u);
    }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
    MW_SIGTERMClientList registry;
    RequestGate gate;
    std::unique_ptr<ServerSession> session =
        std::make_unique<ServerSession>(&client, &registry, [] { return nullptr; });
};

TEST_F(ServerSessionTest, ARestoreQueuedBehindAGivenUpListingWakesItsWaiterWhenTheProgramEnds)
{
    // A server that keeps the listing however often it is asked to let it go.
    script.OnRequest([this](const LoggedRequest &request) {
        if (request.type == ListChildren) {
            OnHome([this] { session->Stop(); });
            gate.Hold();
        }
    });
    EXPECT_FALSE(session->Run<ChildListing>("Listing Sales", Listing("Sales")));
    EXPECT_TRUE(gate.WaitUntilHeld()); // given up at once, while the server still holds it

    // The restore waits behind that listing, and the program is told to end meanwhile.
    QTimer::singleShot(0, [this] { registry.Inform(); });
    const std::optional<RestoreOutcome> restored = session->Run<RestoreOutcome>(
        "Restoring Ann.Sales",
        [](ServerClient &client, WorkerJob &) { return client.Restore("Ann.Sales", 0, false); },
        ServerWorker::Kind::Write);
    EXPECT_FALSE(restored); // never sent, so never called restored
    EXPECT_FALSE(session->Busy());
    gate.Release();
    EXPECT_TRUE(script.RequestsOf(RestoreObject).empty());
}

TEST_F(ServerSessionTest, ARequesterStopsItsOwnJobAndNoOther)
{
    script.SetSearchResults({Leaf("Ann.Sales"), Leaf("Bob.Sales")});
    script.OnRequest([this](const LoggedRequest &request) {
        if (request.type == SearchObjects) {
            gate.Hold([this] { return script.AbandonAsked(); });
        }
    });
    std::vector<std::string> ends;
    const auto noted = [&ends](const std::string &name) {
        return [&ends, name](JobEnd end, auto made) {
            ends.push_back(name + (end == JobEnd::Done && made ? " done" : " stopped"));
        };
    };
    ServerJob search = session->Start<std::size_t>(
        [](ServerClient &client, WorkerJob &job) {
            return client
                .Search(
                    "Sales", "*", false, [](FoundObject &&) {}, job.StopCheck())
                .found;
        },
        noted("search"));
    ServerJob listing = session->Start<ChildListing>(Listing("Sales"), noted("listing"));
    ASSERT_TRUE(gate.WaitUntilHeld());
    search.Stop();
    EventWait::Until([&] { return ends.size() == 2; });
    EXPECT_THAT(ends, ElementsAre("search stopped", "listing done"));
    EXPECT_EQ(script.RequestsOf(ListChildren).size(), 3u); // Ann, Bob and the end record
}

TEST_F(ServerSessionTest, AJobWhoseRequesterWentNeverCallsBack)
{
    bool called = false;
    {
        ServerJob gone = session->Start<ChildListing>(
            Listing("Sales"), [&called](JobEnd, std::optional<ChildListing>) { called = true; });
    }
    // A job started after it ends after it: once it has, the first one had its chance.
    bool next = false;
    ServerJob later = session->Start<ChildListing>(
        Listing("Sales"), [&next](JobEnd, std::optional<ChildListing>) { next = true; });
    EventWait::Until([&] { return next; });
    EXPECT_FALSE(called);
}

TEST_F(ServerSessionTest, WhatWaitsForTheServerToBeFreeRunsAfterTheRequestAsACallOfItsOwn)
{
    std::vector<std::string> order;
    // Asked while the listing is under way: the call comes before the listing's completion.
    script.OnRequest([&](const LoggedRequest &request) {
        if (request.type == ListChildren && request.lastId == 0) {
            OnHome([&] {
                session->WhenIdle([&] { order.push_back("when idle"); });
                order.push_back("asked to wait");
            });
        }
    });
    const std::optional<ChildListing> listed =
        session->Run<ChildListing>("Listing", Listing("Sales"));
    order.push_back("listing taken");
    QApplication::processEvents();
    EXPECT_TRUE(listed);
    EXPECT_THAT(order, ElementsAre("asked to wait", "listing taken", "when idle"));
}

TEST_F(ServerSessionTest, WithoutAClientEveryJobIsDroppedAndNothingIsAsked)
{
    ServerSession none(nullptr, nullptr, [] { return nullptr; });
    std::optional<JobEnd> ended;
    ServerJob job = none.Start<ChildListing>(
        Listing("Sales"), [&ended](JobEnd end, std::optional<ChildListing>) { ended = end; });
    EventWait::Until([&] { return ended.has_value(); });
    EXPECT_EQ(*ended, JobEnd::Dropped);
    EXPECT_FALSE(none.Run<ChildListing>("Listing", Listing("Sales")));
    EXPECT_TRUE(script.Requests().empty());
}

} // namespace
