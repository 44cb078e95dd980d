// Describing an object through the typed client: values longer than a record come back whole,
// binary bytes untouched, the end record's presence bits and failures read, the simulation's
// refusal recognised, and every reply given back.
#include <gmock/gmock.h>

#include <string>

#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "tests/support/core/ScriptedServer.h"

namespace
{
using testing::ElementsAre;

class DescribeTest : public testing::Test
{
  protected:
    ~DescribeTest() override { EXPECT_EQ(script.OutstandingReplies(), 0u); }

    ScriptedServer script;
    BackupServer server{script};
    ServerClient client{server};
};

TEST_F(DescribeTest, LongAndBinaryValuesComeBackWholeOverSeveralRecords)
{
    std::string photo(3 * ValuePieceSize + 17, '\0');
    for (std::size_t i = 0; i < photo.size(); ++i) {
        photo[i] = static_cast<char>(i * 7);
    }
    const std::string exactlyOnePiece(ValuePieceSize, 'x');
    ObjectDescription description;
    description.inBackup = true;
    description.live = true;
    description.backup = {{"cn", {"Ann", ""}}, {"jpegPhoto", {photo, exactlyOnePiece}}};
    description.current = {{"cn", {"Ann"}}, {"description", {"new"}}};
    script.SetDescription("Ann.Sales", description);

    const DescribedObject described = client.Describe("Ann.Sales", 1000);
    EXPECT_EQ(described.end, RequestEnd::Answered) << described.failure;
    EXPECT_EQ(described.description.backup, description.backup);
    EXPECT_EQ(described.description.current, description.current);
    EXPECT_TRUE(described.description.inBackup);
    EXPECT_TRUE(described.description.live);
    EXPECT_FALSE(described.description.parentMissing);

    // Record by record, as a listing: each request names the id received last.
    std::vector<int32_t> lastIds;
    for (const LoggedRequest &request : script.RequestsOf(DescribeObject)) {
        EXPECT_EQ(request.requestSize, 268);
        EXPECT_EQ(request.version, 1000u);
        EXPECT_TRUE(request.zeroFilled);
        lastIds.push_back(request.lastId);
    }
    // cn: 2 values; the photo: 4 pieces, the value of exactly one record: 1; live cn and
    // description; then the end record.
    EXPECT_THAT(lastIds, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9));
}

TEST_F(DescribeTest, PresenceBitsOfAnObjectThatIsNotLive)
{
    ObjectDescription description;
    description.inBackup = true;
    description.parentMissing = true;
    description.parentAddable = true;
    description.backup = {{"cn", {"Cid"}}};
    script.SetDescription("Cid.East", description);
    const DescribedObject described = client.Describe("Cid.East", 0);
    EXPECT_EQ(described.end, RequestEnd::Answered);
    EXPECT_FALSE(described.description.live);
    EXPECT_TRUE(described.description.parentMissing);
    EXPECT_TRUE(described.description.parentAddable);
    EXPECT_TRUE(described.description.current.empty());
}

TEST_F(DescribeTest, FailuresAndNamesThatCannotBeSent)
{
    script.SetDescriptionFailure("Gone.Sales", 32, "No snapshot holds cn=Gone");
    const DescribedObject failed = client.Describe("Gone.Sales", 0);
    EXPECT_EQ(failed.end, RequestEnd::Failed);
    EXPECT_EQ(failed.failure, "No snapshot holds cn=Gone");

    const std::size_t sent = script.RequestCount();
    EXPECT_EQ(client.Describe(std::string(256, 'n'), 0).end, RequestEnd::NameTooLong);
    EXPECT_EQ(script.RequestCount(), sent);
    // A server that offers descriptions says so for a name that names nothing.
    EXPECT_TRUE(client.CanDescribe());
}

TEST_F(DescribeTest, StopEndsTheDescriptionWithoutFurtherRequests)
{
    ObjectDescription description;
    description.backup = {{"cn", {"a", "b", "c", "d"}}};
    script.SetDescription("Ann", description);
    int asked = 0;
    const DescribedObject described = client.Describe("Ann", 0, [&] { return ++asked == 2; });
    EXPECT_EQ(described.end, RequestEnd::Stopped);
    EXPECT_EQ(script.RequestsOf(DescribeObject).size(), 2u);
}

TEST(DescribeRefusalTest, SimulatedServerCannotCompareVersions)
{
    BackupServer simulated;
    ServerClient client(simulated);
    const DescribedObject described = client.Describe("Object-1.Marrowby", 0);
    EXPECT_EQ(described.end, RequestEnd::NotOffered);
    EXPECT_EQ(described.failure, "This backup server cannot compare versions.");
    EXPECT_FALSE(client.CanDescribe());

    ScriptedServer script; // as the simulation until it is given a description
    BackupServer scripted(script);
    ServerClient asked(scripted);
    EXPECT_FALSE(asked.CanDescribe());
    EXPECT_FALSE(asked.CanDescribe());
    EXPECT_EQ(script.RequestsOf(DescribeObject).size(), 1u); // asked once, then known
    EXPECT_EQ(script.OutstandingReplies(), 0u);
}
} // namespace
