// The scripted server that the tree, restore and start-up tests rely on.
#include <gmock/gmock.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "server/BackupServer.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;

class ScriptedServerTest : public testing::Test
{
  protected:
    ObjectRecord Child(const char *container, int32_t lastId)
    {
        ChildRequest request{};
        CopyToField(request.containerName, container);
        request.lastId = lastId;
        ServerReply reply(server, ListChildren, sizeof request, &request);
        return *reply.As<ObjectRecord>();
    }

    ScriptedServer script;
    BackupServer server{script};
};

TEST_F(ScriptedServerTest, DeliversTheChildAfterLastIdAndEndsWithIdZero)
{
    script.SetChildren("Sales", {Container("B"), Leaf("A", false)});

    ObjectRecord second = Child("Sales", 1);
    EXPECT_EQ(second.id, 2);
    EXPECT_EQ(FieldText(second.name), "A");
    EXPECT_EQ(second.kind, LeafObjectKind);
    EXPECT_EQ(second.state, DeletedState);
    EXPECT_EQ(Child("Sales", 0).id, 1);
    EXPECT_EQ(Child("Sales", 2).id, 0);
    EXPECT_EQ(Child("Unknown", 0).id, 0);
    EXPECT_EQ(script.OutstandingReplies(), 0u);

    std::vector<int32_t> lastIds;
    for (const LoggedRequest &request : script.RequestsOf(ListChildren)) {
        EXPECT_EQ(request.requestSize, 268);
        EXPECT_TRUE(request.zeroFilled);
        lastIds.push_back(request.lastId);
    }
    EXPECT_THAT(lastIds, ElementsAre(1, 0, 2, 0));
}

TEST_F(ScriptedServerTest, ShuffledLeavesAreEveryNameOnceInNoSortedOrder)
{
    ScriptedServer::ChildGenerator generate = ScriptedServer::ShuffledLeaves(1000, 7);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < 1000; ++i) {
        names.push_back(generate(i).name);
    }
    EXPECT_FALSE(std::is_sorted(names.begin(), names.end()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names.front(), "Item-000");
    EXPECT_EQ(names[427], "Item-427");
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
}

TEST_F(ScriptedServerTest, OverlongTextsFillTheirFieldsWithoutNul)
{
    script.SetChildren("Sales", {Leaf(std::string(300, 'n'))});
    script.SetRestoreOutcome("Sales", 5, std::string(256, 'm'));

    ObjectRecord record = Child("Sales", 0);
    EXPECT_EQ(std::memchr(record.name, '\0', sizeof record.name), nullptr);

    RestoreRequest request{};
    CopyToField(request.objectName, "Sales");
    ServerReply reply(server, RestoreObject, sizeof request, &request);
    ASSERT_NE(reply.As<RestoreReply>(), nullptr);
    EXPECT_EQ(reply.As<RestoreReply>()->status, 5);
    EXPECT_EQ(FieldText(reply.As<RestoreReply>()->message), std::string(256, 'm'));
}

TEST_F(ScriptedServerTest, ShortRequestReadsAsZeroBehindWhatWasGiven)
{
    ChildRequest request{};
    std::strcpy(request.containerName, "Sales");
    request.lastId = 5;
    int32_t size = 0;
    void *reply = nullptr;
    server.Request(ListChildren, 8, &request, size, reply);
    server.FreeReply(reply);
    ASSERT_EQ(script.Requests().size(), 1u);
    EXPECT_EQ(script.Requests()[0].name, "Sales");
    EXPECT_EQ(script.Requests()[0].lastId, 0);
}

TEST_F(ScriptedServerTest, OpenResultsArePerServerName)
{
    script.SetOpenResult("FS2", -1);
    EXPECT_EQ(server.Open("FS1"), 0);
    EXPECT_EQ(server.Open("FS2"), -1);
    EXPECT_THAT(script.OpenedNames(), ElementsAre("FS1", "FS2"));
}
} // namespace

namespace
{
// A failure belongs to the request it came with: the server object forgets it at the next one,
// whatever its type.
TEST_F(ScriptedServerTest, RequestFailureLastsUntilTheNextRequest)
{
    script.SetChildren("Sales", {Leaf("A"), Leaf("B")});
    script.SetListingFailure("Sales", 1, "server gone");
    EXPECT_EQ(Child("Sales", 0).id, 1);
    EXPECT_EQ(server.LastFailure(), "");
    EXPECT_EQ(Child("Sales", 1).id, 0);
    EXPECT_EQ(server.LastFailure(), "server gone");
    HistoryRequest history{};
    CopyToField(history.objectName, "A.Sales");
    {
        ServerReply reply(server, GetHistory, sizeof history, &history);
        EXPECT_EQ(server.LastFailure(), "");
    }
    EXPECT_EQ(Child("Sales", 1).id, 0);
    EXPECT_EQ(server.LastFailure(), "server gone");
    EXPECT_EQ(Child("Other", 0).id, 0);
    EXPECT_EQ(server.LastFailure(), "");
    script.SetNotices({"one", "two"});
    EXPECT_THAT(server.TakeNotices(), ElementsAre("one", "two"));
    EXPECT_TRUE(server.TakeNotices().empty());
}
// As the window's worker does: requests on one thread while the test reads the log and changes
// the hook on its own (ThreadSanitizer watches this one in `make test-threads`).
TEST_F(ScriptedServerTest, TheLogAndTheHookServeATestWhileAnotherThreadRequests)
{
    constexpr int kRequests = 300;
    script.SetChildren("Sales", {Leaf("A")});
    std::atomic<int> hooked{0};
    std::thread requester([this] {
        for (int i = 0; i < kRequests; ++i) {
            Child("Sales", 0);
        }
    });
    for (int i = 0; i < kRequests; ++i) {
        script.OnRequest([&hooked](const LoggedRequest &) { ++hooked; });
        const std::size_t logged = script.RequestsOf(ListChildren).size(); // counted first
        EXPECT_LE(logged, script.RequestCount());
        script.OnRequest({});
    }
    requester.join();
    EXPECT_EQ(script.Requests().size(), static_cast<std::size_t>(kRequests));
    EXPECT_EQ(script.RequestCount(), static_cast<std::size_t>(kRequests));
    EXPECT_EQ(script.OutstandingReplies(), 0u);
    EXPECT_LE(hooked.load(), kRequests);
}
} // namespace
