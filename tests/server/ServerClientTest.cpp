// The typed client over the record protocol: what each call sends, in what order, what it makes
// of faulty or missing replies, and that every reply is given back.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "server/BackupServer.h"
#include "server/SearchRun.h"
#include "server/ServerClient.h"
#include "server/SimulatedServer.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;

std::vector<std::string> Names(const ChildListing &listing)
{
    std::vector<std::string> names;
    for (const ListedObject &child : listing.children) {
        names.push_back(child.name);
    }
    return names;
}

class ServerClientTest : public testing::Test
{
  protected:
    ~ServerClientTest() override { EXPECT_EQ(script.OutstandingReplies(), 0u); }

    std::vector<int32_t> LastIds() const
    {
        std::vector<int32_t> ids;
        for (const LoggedRequest &request : script.RequestsOf(ListChildren)) {
            EXPECT_EQ(request.requestSize, 268);
            EXPECT_TRUE(request.zeroFilled);
            ids.push_back(request.lastId);
        }
        return ids;
    }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
};

TEST_F(ServerClientTest, ListsRecordByRecordUntilTheEndRecordInDeliveryOrder)
{
    script.SetChildren(
        "Sales",
        {Leaf("Object-0"), Container("Contain-1", false), Leaf("Object-2", false), {"Odd", 7, 2}});
    const ChildListing listing = client.ListChildren("Sales");
    EXPECT_EQ(listing.end, RequestEnd::Answered);
    EXPECT_THAT(Names(listing), ElementsAre("Object-0", "Contain-1", "Object-2", "Odd"));
    // Kind 1 is a leaf and anything else a container; state 0 is deleted, anything else present.
    const std::vector<std::pair<bool, bool>> kinds = {
        {false, true}, {true, false}, {false, false}, {true, true}};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(listing.children[i].container, kinds[i].first) << i;
        EXPECT_EQ(listing.children[i].present, kinds[i].second) << i;
    }
    EXPECT_THAT(LastIds(), ElementsAre(0, 1, 2, 3, 4));
}

TEST_F(ServerClientTest, AnEmptyContainerTakesOneRequest)
{
    const ChildListing listing = client.ListChildren("Sales");
    EXPECT_EQ(listing.end, RequestEnd::Answered);
    EXPECT_TRUE(listing.children.empty());
    EXPECT_THAT(LastIds(), ElementsAre(0));
}

TEST_F(ServerClientTest, AStopDuringARequestEndsTheListingWithoutItsReply)
{
    script.SetChildren("Sales", {Leaf("C"), Leaf("B"), Leaf("A"), Leaf("D")});
    bool stopping = false;
    script.OnRequest([&stopping](const LoggedRequest &request) { stopping = request.lastId == 2; });
    const ChildListing listing = client.ListChildren("Sales", [&stopping] { return stopping; });
    EXPECT_EQ(listing.end, RequestEnd::Stopped);
    EXPECT_THAT(Names(listing), ElementsAre("C", "B"));
    EXPECT_THAT(LastIds(), ElementsAre(0, 1, 2));
}

TEST_F(ServerClientTest, NamesThatDoNotFitARequestAreNeverSent)
{
    // 255 characters and the NUL fill a name field.
    for (const std::size_t length : {255u, 256u}) {
        script.ClearLog();
        const std::string name(length, 'n');
        const bool fits = length == 255;
        const RequestEnd expected = fits ? RequestEnd::Answered : RequestEnd::NameTooLong;
        EXPECT_EQ(client.ListChildren(name).end, expected);
        EXPECT_EQ(client.GetHistory(name).end, expected);
        const RestoreOutcome restored = client.Restore(name, 0, true);
        EXPECT_EQ(restored.status, fits ? 0 : ServerClient::NameTooLongStatus);
        EXPECT_EQ(script.RequestCount(), fits ? 3u : 0u);
        if (!fits) {
            EXPECT_EQ(restored.message, "Name too long for the backup server: " +
                                            std::string(40, 'n') + "..." + std::string(40, 'n'));
        }
    }
}

TEST_F(ServerClientTest, TheNameInAMessageIsCutBetweenCharacters)
{
    // 39 ASCII characters, then a two-byte one across the 40-byte mark.
    const std::string name = std::string(39, 'a') + "\xC3\xA9" + std::string(300, 'b');
    EXPECT_EQ(ServerClient::NameTooLongMessage(name),
              "Name too long for the backup server: " + std::string(39, 'a') + "..." +
                  std::string(40, 'b'));
    // The end, where the name says where the object lies, is cut between characters too.
    const std::string deep = std::string(300, 'a') + "\xC3\xA9" + std::string(39, 'b');
    EXPECT_EQ(ServerClient::NameTooLongMessage(deep),
              "Name too long for the backup server: " + std::string(40, 'a') + "..." +
                  std::string(39, 'b'));
    // Nothing is left out of a name that the cut would not shorten.
    const std::string middling = std::string(40, 'a') + "xyz" + std::string(40, 'b');
    EXPECT_EQ(ServerClient::NameTooLongMessage(middling),
              "Name too long for the backup server: " + middling);
    EXPECT_EQ(ServerClient::NameTooLongMessage("short"),
              "Name too long for the backup server: short");
}

TEST_F(ServerClientTest, TextsOfAFaultyReplyAreReadOnlyWithinTheirFields)
{
    script.SetChildren("Sales", {Leaf(std::string(300, 'n'))});
    script.SetRestoreOutcome("Sales", 7, std::string(400, 'm'));
    EXPECT_THAT(Names(client.ListChildren("Sales")), ElementsAre(std::string(256, 'n')));
    const RestoreOutcome restored = client.Restore("Sales", 0, false);
    EXPECT_EQ(restored.status, 7);
    EXPECT_EQ(restored.message, std::string(256, 'm'));
}

TEST_F(ServerClientTest, HistoryKeepsTheReplysOrder)
{
    script.SetHistory("Object-1.Sales", {300, 100, 0x80000000u, 200});
    const ObjectHistory history = client.GetHistory("Object-1.Sales");
    EXPECT_EQ(history.end, RequestEnd::Answered);
    EXPECT_THAT(history.times, ElementsAre(300u, 100u, 0x80000000u, 200u));
    ASSERT_EQ(script.Requests().size(), 1u);
    EXPECT_EQ(script.Requests()[0].type, GetHistory);
    EXPECT_EQ(script.Requests()[0].requestSize, 256);
    EXPECT_TRUE(script.Requests()[0].zeroFilled);
}

TEST_F(ServerClientTest, RestoreSendsTheVersionAndTheSubtreeFlag)
{
    script.SetRestoreOutcome("Sales", 2, "Object is locked");
    struct Case {
        BackupTime version;
        bool withSubtree;
        uint32_t flags;
    };
    for (const Case &c : {Case{0, true, RestoreWithSubtree}, Case{1234, false, 0}}) {
        script.ClearLog();
        const RestoreOutcome restored = client.Restore("Sales", c.version, c.withSubtree);
        EXPECT_EQ(restored.status, 2);
        EXPECT_EQ(restored.message, "Object is locked");
        ASSERT_EQ(script.RequestCount(), 1u);
        const LoggedRequest request = script.Requests()[0];
        EXPECT_EQ(request.type, RestoreObject);
        EXPECT_EQ(request.requestSize, 264);
        EXPECT_TRUE(request.zeroFilled);
        EXPECT_EQ(request.version, c.version);
        EXPECT_EQ(request.flags, c.flags);
    }
    script.SetRestoreOutcome("Sales", 0, "ignored on success");
    const RestoreOutcome restored = client.Restore("Sales", 0, false);
    EXPECT_EQ(restored.status, 0);
    EXPECT_EQ(restored.message, "");
}

// A server that answers with nothing, or with less than a whole record, after `good` replies.
class FailingServer : public ScriptedServer
{
  public:
    FailingServer(std::size_t good, bool shortReply) : good_(good), short_(shortReply) {}
    void *ListChildren(const ChildRequest &request, int32_t size, int32_t &replySize) override
    {
        return Fail(ScriptedServer::ListChildren(request, size, replySize), replySize);
    }
    void *GetHistory(const HistoryRequest &request, int32_t size, int32_t &replySize) override
    {
        void *reply = ScriptedServer::GetHistory(request, size, replySize);
        if (overcount_) {
            static_cast<HistoryReply *>(reply)->count = 1000;
            return reply;
        }
        return Fail(reply, replySize);
    }
    void *RestoreObject(const RestoreRequest &request, int32_t size, int32_t &replySize) override
    {
        return Fail(ScriptedServer::RestoreObject(request, size, replySize), replySize);
    }
    bool overcount_ = false;

  private:
    void *Fail(void *reply, int32_t &replySize)
    {
        if (good_ > 0) {
            --good_;
            return reply;
        }
        if (short_) {
            replySize = 2;
            return reply;
        }
        FreeReply(reply);
        return nullptr;
    }
    std::size_t good_;
    bool short_;
};

TEST(ServerClientFaults, AMissingOrShortReplyEndsTheRequestAsNoReply)
{
    for (const bool shortReply : {false, true}) {
        FailingServer failing(2, shortReply);
        failing.SetChildren("Sales", {Leaf("A"), Leaf("B"), Leaf("C")});
        failing.SetHistory("Sales", {5});
        BackupServer server(failing);
        ServerClient client(server);
        const ChildListing listing = client.ListChildren("Sales");
        EXPECT_EQ(listing.end, RequestEnd::NoReply) << shortReply;
        EXPECT_THAT(Names(listing), ElementsAre("A", "B")) << shortReply;
        EXPECT_EQ(client.GetHistory("Sales").end, RequestEnd::NoReply);
        EXPECT_TRUE(client.GetHistory("Sales").times.empty());
        const RestoreOutcome restored = client.Restore("Sales", 0, false);
        EXPECT_EQ(restored.status, ServerClient::NoReplyStatus);
        EXPECT_EQ(restored.message, "No reply from the backup server.");
        EXPECT_EQ(failing.OutstandingReplies(), 0u);
    }
}

TEST(ServerClientFaults, HistoryIsReadOnlyAsFarAsTheReplyGoes)
{
    FailingServer lying(100, false);
    lying.overcount_ = true;
    lying.SetHistory("Sales", {5, 6});
    BackupServer server(lying);
    EXPECT_THAT(ServerClient(server).GetHistory("Sales").times, ElementsAre(5u, 6u));
    EXPECT_EQ(lying.OutstandingReplies(), 0u);
}

TEST(ServerClientSimulation, AListingOfTheSimulationIsItsSixGeneratedChildren)
{
    SimulatedServer::ResetChildCursor();
    BackupServer server;
    ServerClient client(server);
    for (int listing = 0; listing < 2; ++listing) {
        const ChildListing children = client.ListChildren("Marrowby");
        ASSERT_EQ(children.children.size(), 6u);
        for (std::size_t i = 0; i < 6; ++i) {
            const ListedObject &child = children.children[i];
            EXPECT_EQ(child.name, (child.container ? "Contain-" : "Object-") + std::to_string(i));
        }
    }
}
} // namespace

namespace
{
std::vector<std::string> FullNames(const std::vector<FoundObject> &found)
{
    std::vector<std::string> names;
    for (const FoundObject &object : found) {
        names.push_back(object.fullName);
    }
    return names;
}

class ServerClientSearchTest : public ServerClientTest
{
  protected:
    ServerClientSearchTest()
    {
        script.SetSearchResults({Leaf("Ann.Sales.Marrowby"),
                                 Container("Old.Sales.Marrowby", false),
                                 Leaf("Joanne.Staff.Marrowby", false),
                                 {"Odd.Marrowby", 7, 2}});
    }

    std::vector<int32_t> SearchLastIds() const
    {
        std::vector<int32_t> ids;
        for (const LoggedRequest &request : script.RequestsOf(SearchObjects)) {
            EXPECT_EQ(request.requestSize, 520);
            EXPECT_TRUE(request.zeroFilled);
            ids.push_back(request.lastId);
        }
        return ids;
    }

    std::vector<FoundObject> found;
    std::function<void(FoundObject &&)> keep = [this](FoundObject &&o) {
        found.push_back(std::move(o));
    };
};

TEST_F(ServerClientSearchTest, DeliversEachMatchAsItArrivesUntilTheEndRecord)
{
    const SearchOutcome outcome = client.Search("Marrowby", "an", false, keep);
    EXPECT_EQ(outcome.end, RequestEnd::Answered);
    EXPECT_EQ(outcome.found, 4u);
    EXPECT_THAT(FullNames(found), ElementsAre("Ann.Sales.Marrowby", "Old.Sales.Marrowby",
                                              "Joanne.Staff.Marrowby", "Odd.Marrowby"));
    const std::vector<std::pair<bool, bool>> kinds = {
        {false, true}, {true, false}, {false, false}, {true, true}};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(found[i].container, kinds[i].first) << i;
        EXPECT_EQ(found[i].present, kinds[i].second) << i;
    }
    EXPECT_THAT(SearchLastIds(), ElementsAre(0, 1, 2, 3, 4));
    const LoggedRequest first = script.RequestsOf(SearchObjects).front();
    EXPECT_EQ(first.name, "Marrowby");
    EXPECT_EQ(first.pattern, "an");
    EXPECT_EQ(first.flags, 0u);
}

TEST_F(ServerClientSearchTest, DeletedOnlyIsAskedOfTheServer)
{
    client.Search("Marrowby", "*", true, keep);
    for (const LoggedRequest &request : script.RequestsOf(SearchObjects)) {
        EXPECT_EQ(request.flags, SearchDeletedOnly);
    }
}

TEST_F(ServerClientSearchTest, AStopEndsTheSearchBeforeTheNextRequest)
{
    const SearchOutcome outcome =
        client.Search("Marrowby", "an", false, keep, [this] { return found.size() == 2; });
    EXPECT_EQ(outcome.end, RequestEnd::Stopped);
    EXPECT_EQ(outcome.found, 2u);
    EXPECT_THAT(SearchLastIds(), ElementsAre(0, 1));
}

TEST_F(ServerClientSearchTest, BatchesGoOnWhereTheLastOneStopped)
{
    SearchRun run(server, "Marrowby", "an", 0);
    EXPECT_TRUE(run.Next(3, keep));
    EXPECT_EQ(found.size(), 3u);
    // Other requests between batches do not disturb the search.
    script.SetChildren("Marrowby", {Container("Sales")});
    EXPECT_EQ(client.ListChildren("Marrowby").children.size(), 1u);
    EXPECT_FALSE(run.Next(3, keep));
    EXPECT_EQ(run.End(), RequestEnd::Answered);
    EXPECT_EQ(run.Found(), 4u);
    EXPECT_THAT(SearchLastIds(), ElementsAre(0, 1, 2, 3, 4));
    EXPECT_FALSE(run.Next(3, keep)); // an ended run sends nothing more
    EXPECT_EQ(script.RequestsOf(SearchObjects).size(), 5u);
}

TEST_F(ServerClientSearchTest, AFailureKeepsWhatWasFoundAndSaysWhy)
{
    script.SetSearchFailure(2, "Server is unwilling to perform");
    const SearchOutcome outcome = client.Search("Marrowby", "an", false, keep);
    EXPECT_EQ(outcome.end, RequestEnd::Failed);
    EXPECT_EQ(outcome.failure, "Server is unwilling to perform");
    EXPECT_EQ(found.size(), 2u);
}

TEST_F(ServerClientSearchTest, AServerThatCannotSearchSaysSoAndFindsNothing)
{
    EXPECT_TRUE(client.CanSearch());
    EXPECT_EQ(script.RequestsOf(SearchObjects).back().flags, SearchProbe);
    script.SetCannotSearch(true);
    EXPECT_FALSE(client.CanSearch());
    EXPECT_EQ(client.Search("Marrowby", "an", false, keep).end, RequestEnd::NotOffered);
    EXPECT_TRUE(found.empty());
}

TEST_F(ServerClientSearchTest, AContextOrPatternThatDoesNotFitIsNeverSent)
{
    const std::string tooLong(256, 'x');
    EXPECT_EQ(client.Search(tooLong, "an", false, keep).end, RequestEnd::NameTooLong);
    const SearchOutcome pattern = client.Search("Marrowby", tooLong, false, keep);
    EXPECT_EQ(pattern.end, RequestEnd::NameTooLong);
    EXPECT_FALSE(pattern.failure.empty());
    EXPECT_TRUE(script.RequestsOf(SearchObjects).empty());
    EXPECT_TRUE(found.empty());
}

TEST_F(ServerClientSearchTest, AFullNameWithoutItsNulIsReadWithinItsField)
{
    script.SetSearchResults({Leaf(std::string(300, 'y'))});
    client.Search("Marrowby", "y", false, keep);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].fullName, std::string(256, 'y'));
}

TEST(ServerClientSimulation, TheSimulationCannotSearch)
{
    BackupServer server;
    ServerClient client(server);
    EXPECT_FALSE(client.CanSearch());
    EXPECT_EQ(client.Search("Marrowby", "Object", false, [](FoundObject &&) {}).end,
              RequestEnd::NotOffered);
}
} // namespace
