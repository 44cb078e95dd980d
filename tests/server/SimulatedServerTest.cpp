// The simulated server: generated listings with the program-wide cursor, fixed histories,
// successful restores, and requests of unknown types.
#include <gmock/gmock.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "server/BackupServer.h"
#include "server/RecordFields.h"
#include "server/ServerReply.h"
#include "server/SimulatedServer.h"

namespace
{
class SimulatedServerTest : public testing::Test
{
  protected:
    SimulatedServerTest() { SimulatedServer::ResetChildCursor(); }

    // Sends one ListChildren request naming lastId and returns a copy of the record.
    ObjectRecord NextChild(int32_t lastId)
    {
        ChildRequest request{};
        CopyToField(request.containerName, "Sales");
        request.lastId = lastId;
        ServerReply reply(server, ListChildren, sizeof request, &request);
        EXPECT_EQ(reply.Size(), 264);
        const ObjectRecord *record = reply.As<ObjectRecord>();
        return record != nullptr ? *record : ObjectRecord{};
    }

    // Lists until the end record, or until `limit` children when the listing is abandoned.
    std::vector<ObjectRecord> List(std::size_t limit = 100)
    {
        std::vector<ObjectRecord> children;
        int32_t lastId = 0;
        while (children.size() < limit) {
            ObjectRecord record = NextChild(lastId);
            if (record.id == 0) {
                break;
            }
            children.push_back(record);
            lastId = record.id;
        }
        return children;
    }

    std::vector<BackupTime> History()
    {
        HistoryRequest request{};
        CopyToField(request.objectName, "Object-1.Sales");
        ServerReply reply(server, GetHistory, sizeof request, &request);
        const HistoryReply *history = reply.As<HistoryReply>();
        EXPECT_NE(history, nullptr);
        if (history == nullptr) {
            return {};
        }
        EXPECT_EQ(reply.Size(), static_cast<int32_t>(HistoryReplySize(history->count)));
        std::vector<BackupTime> times;
        for (int32_t i = 0; i < history->count; ++i) {
            times.push_back(HistoryTime(*history, i));
        }
        return times;
    }

    BackupServer server;
};

TEST_F(SimulatedServerTest, CompleteListingYieldsSixNumberedChildrenThenTheEndRecord)
{
    for (int listing = 0; listing < 2; ++listing) { // the next listing starts again at -0
        std::vector<ObjectRecord> children = List();
        ASSERT_EQ(children.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            const ObjectRecord &child = children[i];
            EXPECT_EQ(child.id, i + 1);
            const std::string name = FieldText(child.name);
            const std::string suffix = "-" + std::to_string(i);
            if (child.kind == LeafObjectKind) {
                EXPECT_EQ(name, "Object" + suffix);
            } else {
                EXPECT_EQ(child.kind, ContainerObjectKind);
                EXPECT_EQ(name, "Contain" + suffix);
            }
            EXPECT_LE(child.state, 2);
        }
    }
}

TEST_F(SimulatedServerTest, AbandonedListingLeavesTheCursorForTheNextListing)
{
    ASSERT_EQ(List(3).size(), 3u);

    std::vector<ObjectRecord> rest = List();
    ASSERT_EQ(rest.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rest[i].id, i + 4);
        EXPECT_THAT(FieldText(rest[i].name), testing::EndsWith("-" + std::to_string(i + 3)));
    }
    EXPECT_EQ(List().size(), 6u);
}

TEST_F(SimulatedServerTest, DrawsEveryChildClass)
{
    // Six classes drawn with equal chance: 60 listings miss one with chance below 1e-4.
    bool seen[3][3] = {};
    for (int listing = 0; listing < 60; ++listing) {
        for (const ObjectRecord &child : List()) {
            ASSERT_TRUE(child.kind == 1 || child.kind == 2);
            ASSERT_LE(child.state, 2);
            seen[child.kind][child.state] = true;
        }
    }
    for (int kind = 1; kind <= 2; ++kind) {
        for (int state = 0; state <= 2; ++state) {
            EXPECT_TRUE(seen[kind][state]) << "kind " << kind << " state " << state;
        }
    }
}

TEST_F(SimulatedServerTest, HistoryGivesTheSameTimePerRowWhateverTheCount)
{
    // Rows of the version table: year, month, day.
    const int dates[10][3] = {{1987, 2, 2}, {1994, 9, 9},  {1988, 3, 3}, {1986, 1, 1},
                              {1990, 5, 5}, {1991, 6, 6},  {1992, 7, 7}, {1989, 4, 4},
                              {1993, 8, 8}, {1995, 10, 10}};
    std::vector<BackupTime> longest;
    for (int request = 0; request < 60; ++request) {
        std::vector<BackupTime> times = History();
        ASSERT_GE(times.size(), 1u);
        ASSERT_LE(times.size(), 10u);
        for (std::size_t i = 0; i < times.size(); ++i) {
            if (i < longest.size()) {
                EXPECT_EQ(times[i], longest[i]) << "row " << i;
            }
            const std::time_t time = times[i];
            const std::tm *local = std::localtime(&time);
            EXPECT_EQ(local->tm_year + 1900, dates[i][0]) << "row " << i;
            EXPECT_EQ(local->tm_mon + 1, dates[i][1]) << "row " << i;
            EXPECT_EQ(local->tm_mday, dates[i][2]) << "row " << i;
        }
        if (times.size() > longest.size()) {
            longest = times;
        }
    }
    EXPECT_GT(longest.size(), 5u); // 60 draws of 1 to 10
}

TEST_F(SimulatedServerTest, RestoreAlwaysSucceedsWithAnEmptyMessage)
{
    RestoreRequest request{};
    CopyToField(request.objectName, "Contain-2.Sales");
    request.version = 12345;
    request.flags = RestoreWithSubtree;
    ServerReply reply(server, RestoreObject, sizeof request, &request);
    EXPECT_EQ(reply.Size(), 260);
    const RestoreReply *restored = reply.As<RestoreReply>();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->status, 0);
    EXPECT_EQ(FieldText(restored->message), "");
}

TEST_F(SimulatedServerTest, OpensEveryServerName)
{
    EXPECT_EQ(server.Open("FS1"), 0);
    EXPECT_EQ(server.Open(""), 0);
}

TEST_F(SimulatedServerTest, RefusesEverySearchWithoutHandingOutAnObject)
{
    SearchRequest request{};
    std::memcpy(request.pattern, "Object", 6);
    int32_t replySize = 0;
    void *reply = nullptr;
    server.Request(SearchObjects, sizeof request, &request, replySize, reply);
    ASSERT_EQ(replySize, static_cast<int32_t>(sizeof(SearchMatch)));
    const auto *end = static_cast<const SearchMatch *>(reply);
    EXPECT_EQ(end->id, 0);
    EXPECT_EQ(end->status, SearchUnsupported);
    server.FreeReply(reply);
    EXPECT_EQ(NextChild(0).id, 1); // the child cursor did not move
}

TEST_F(SimulatedServerTest, UnknownRequestTypeLeavesTheOutParametersUntouched)
{
    ChildRequest request{};
    int marker = 0;
    for (int32_t type : {7, -1, 1000}) {
        int32_t replySize = -7;
        void *reply = &marker;
        server.Request(type, sizeof request, &request, replySize, reply);
        EXPECT_EQ(replySize, -7) << "type " << type;
        EXPECT_EQ(reply, &marker) << "type " << type;
    }
    // Nothing was handed out either: the cursor did not move.
    EXPECT_EQ(NextChild(0).id, 1);
}
} // namespace
