// What a restore writes: the differences between a live entry and its snapshot, and the
// attributes the directory keeps for itself.
#include <gmock/gmock.h>

#include "server/directory/DirectoryRestore.h"
#include "server/directory/OperationalAttributes.h"

namespace
{
using Kind = LdapModification::Kind;

std::vector<std::pair<Kind, std::string>> Changes(const std::vector<LdapModification> &mods)
{
    std::vector<std::pair<Kind, std::string>> changes;
    for (const LdapModification &mod : mods) {
        changes.emplace_back(mod.kind, mod.description);
    }
    return changes;
}

TEST(DirectoryRestoreRules, ReplacesWhatDiffersAndRemovesWhatTheSnapshotLacks)
{
    const OperationalAttributes operational;
    const LdapAttributes live = {{"objectClass", {"person", "top"}},
                                 {"cn", {"Ann", "Annie"}},
                                 {"sn", {"Smith"}},
                                 {"description", {"new"}},
                                 {"modifyTimestamp", {"20240101000000Z"}}};
    const LdapAttributes snapshot = {{"objectclass", {"top", "person"}},
                                     {"cn", {"Ann"}},
                                     {"SN", {"Smith"}},
                                     {"telephoneNumber", {"1", "2"}},
                                     {"entryUUID", {"x"}}};
    EXPECT_THAT(Changes(DirectoryRestore::Differences(live, snapshot, operational)),
                testing::UnorderedElementsAre(std::pair{Kind::Replace, "cn"},
                                              std::pair{Kind::Replace, "telephoneNumber"},
                                              std::pair{Kind::Delete, "description"}));
    // An entry that matches its snapshot is left alone.
    EXPECT_TRUE(DirectoryRestore::Differences(snapshot, snapshot, operational).empty());
}

TEST(OperationalAttributes, LearnsOperationalTypesFromSchemaDefinitions)
{
    OperationalAttributes operational;
    operational.LearnDefinition("( 1.3.6.1.4.1.4203.666.1.7 NAME 'entryCSN' DESC 'change "
                                "sequence number' EQUALITY CSNMatch NO-USER-MODIFICATION "
                                "USAGE directoryOperation )");
    operational.LearnDefinition("( 2.5.18.99 NAME ( 'oneName' 'otherName' ) "
                                "USAGE dSAOperation )");
    operational.LearnDefinition("( 2.5.4.3 NAME ( 'cn' 'commonName' ) SUP name )");
    operational.LearnDefinition("( 2.5.4.13 NAME 'description' USAGE userApplications )");
    operational.LearnDefinition("not a definition");
    for (const char *name : {"entrycsn", "1.3.6.1.4.1.4203.666.1.7", "OneName", "otherName",
                             "otherName;x-option", "createTimestamp"}) {
        EXPECT_TRUE(operational.Contains(name)) << name;
    }
    for (const char *name : {"cn", "commonName", "description", "2.5.4.3", "sn"}) {
        EXPECT_FALSE(operational.Contains(name)) << name;
    }
}
} // namespace
