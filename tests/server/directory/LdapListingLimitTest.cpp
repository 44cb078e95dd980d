// Listings of a user whom the server limits: pages as small as the server wants them, and a
// note that names the container and the limit when the server still cuts a listing short.
#include <gmock/gmock.h>

#include "tests/server/directory/DirectoryFixture.h"

namespace
{
using testing::HasSubstr;
using testing::IsEmpty;

// ou=Big with seven people, none of them in a snapshot, and a reader who may see them all.
std::string BigSeed()
{
    std::string seed = MarrowbySeed() +
                       "\ndn: cn=reader,o=Marrowby\nobjectClass: person\n"
                       "objectClass: simpleSecurityObject\ncn: reader\nsn: Reader\n"
                       "userPassword: r3ad.me\n\n"
                       "dn: ou=Big,o=Marrowby\nobjectClass: organizationalUnit\nou: Big\n";
    for (int i = 1; i <= 7; ++i) {
        const std::string name = "P" + std::to_string(i);
        seed += "\ndn: cn=" + name + ",ou=Big,o=Marrowby\nobjectClass: person\ncn: " + name +
                "\nsn: S\n";
    }
    return seed;
}

std::vector<Listed> SevenPeople()
{
    std::vector<Listed> people;
    for (int i = 1; i <= 7; ++i) {
        people.push_back({"P" + std::to_string(i), false, true});
    }
    return people;
}

class LimitedReaderTest : public DirectoryFixture
{
  protected:
    // The manager over the socket is never limited; the reader over TCP is.
    explicit LimitedReaderTest(std::string limits) : DirectoryFixture(BigSeed(), limits) {}

    void LogInAsReader()
    {
        LdapSettings settings = Settings();
        settings.uri = slapd.Uri();
        settings.allowPlainBind = true;
        settings.saslMechanism.clear();
        ASSERT_EQ(Open(settings), 0) << Log();
        ASSERT_EQ(ldap->Login("reader.Marrowby", "r3ad.me"), 0) << Log();
    }
};

// Five entries a page, as many pages as wanted; larger pages are refused.
class SmallPagesTest : public LimitedReaderTest
{
  protected:
    SmallPagesTest()
        : LimitedReaderTest("sizelimit size.soft=5 size.hard=5 size.pr=5 size.prtotal=unlimited\n")
    {
    }
};

TEST_F(SmallPagesTest, ListingAsksForPagesTheServerAcceptsAndShowsEveryLiveChild)
{
    LogInAsReader();
    EXPECT_EQ(List("Big.Marrowby"), SevenPeople()) << Log();
    EXPECT_THAT(server->TakeListingNote(), IsEmpty());
}

// Five entries in all, paged or not (the base's four children are within it).
class HardLimitTest : public LimitedReaderTest
{
  protected:
    HardLimitTest() : LimitedReaderTest("sizelimit 5\n") {}
};

TEST_F(HardLimitTest, ListingCutShortSaysSoNamingTheContainerAndTheLimit)
{
    LogInAsReader();
    EXPECT_EQ(List("Big.Marrowby").size(), 5u) << Log();
    const std::string note = server->TakeListingNote();
    EXPECT_THAT(note, HasSubstr("Big.Marrowby"));
    EXPECT_THAT(note, HasSubstr("size limit of 5 entries"));
    EXPECT_THAT(server->TakeListingNote(), IsEmpty()) << "a note is given once";
    EXPECT_THAT(Log(), HasSubstr("size limit of 5 entries"));
    // A listing that is whole leaves no note behind.
    EXPECT_EQ(List("Sales.Marrowby").size(), 2u);
    EXPECT_THAT(server->TakeListingNote(), IsEmpty());
}

// A listing that fails is a failure with the server's reason, not a listing cut short.
TEST_F(HardLimitTest, ListingThatFailsSaysWhy)
{
    LogInAsReader();
    slapd.Stop();
    EXPECT_THAT(List("Big.Marrowby"), IsEmpty());
    EXPECT_THAT(server->LastFailure(), HasSubstr("Can't contact LDAP server"));
    EXPECT_THAT(server->TakeListingNote(), IsEmpty());
}
} // namespace
