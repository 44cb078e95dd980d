// MW_Profile: the default/global/local chain, Enforce, registered keys and Load's results.
#include "ChildProcess.h"
#include "ProfileProbe.h"
#include "TempDir.h"

#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_Application.h"
#include "mwlib/MW_Profile.h"
#include "mwlib/MW_Results.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

// A profile whose default file is given directly, instead of beside the program.
class FixtureProfile : public MW_Profile
{
  public:
    explicit FixtureProfile(std::string defaultPath)
        : MW_Profile(nullptr), defaultPath(std::move(defaultPath))
    {
    }
    int32_t BuildDefaultName() override
    {
        defaultName = defaultPath.c_str();
        return MW_OK;
    }

  private:
    std::string defaultPath;
};

class Profile : public testing::Test
{
  protected:
    void TearDown() override { MW_Allocator::Reset(); }

    // The default profile names the global one, which names the local one.
    void WriteChain(const std::string &global, const std::string &local)
    {
        dir.Write("DEFAULT.INI", "[GLOBALINI]\nName=" + dir.Path("GLOBAL.INI") + "\n");
        dir.Write("GLOBAL.INI", "[LOCALINI]\nName=" + dir.Path("LOCAL.INI") + "\n" + global);
        dir.Write("LOCAL.INI", local);
    }
    std::string DefaultPath() const { return dir.Path("DEFAULT.INI"); }

    MW_ProfileKey Key(uint32_t flags, uint32_t type, void *target, uint32_t minimum = 0,
                      uint32_t maximum = 0)
    {
        return MW_ProfileKey{&section, &key, flags, type, target, minimum, maximum};
    }

    TempDir dir;
    MW_String section{"SERVER"};
    MW_String key{"BackupServer"};
};

TEST_F(Profile, GlobalAndLocalCombine)
{
    WriteChain("[S]\nEnforceLevel=5\nPlain=1\nText=global\nOnlyGlobal=g\nBad=maybe\n",
               "[S]\nLevel=7\nPlain=2\nOnlyLocal=l\nBad=yes\n");
    FixtureProfile profile(DefaultPath());
    ASSERT_EQ(profile.Load(), MW_OK);
    int32_t number = 0;
    EXPECT_EQ(profile.ReadInt("S", "Level", 0, 0, &number), MW_OK);
    EXPECT_EQ(number, 5); // enforced in the global profile
    EXPECT_EQ(profile.ReadInt("s", "plain", 0, 0, &number), MW_OK);
    EXPECT_EQ(number, 2); // the local profile wins
    EXPECT_EQ(profile.ReadInt("S", "OnlyLocal", 0, 0, &number), MW_OK);

    MW_String text("stale");
    EXPECT_EQ(profile.ReadString("S", "OnlyGlobal", 0, 0, &text), MW_NOTFOUND);
    EXPECT_EQ(text.Length(), 0); // the local profile lacks it: empty and -2
    EXPECT_EQ(profile.ReadString("S", "Text", 0, 0, &text), MW_NOTFOUND);

    bool flag = false;
    EXPECT_EQ(profile.ReadBool("S", "Bad", 0, 0, &flag), MW_NOTACCEPTED); // global error stands
    profile.CloseAll();
}

TEST_F(Profile, WithoutLocalProfileTheGlobalAnswers)
{
    dir.Write("DEFAULT.INI", "[GLOBALINI]\nName=" + dir.Path("GLOBAL.INI") + "\n");
    dir.Write("GLOBAL.INI", "[S]\nKey=5\n");
    FixtureProfile profile(DefaultPath());
    ASSERT_EQ(profile.Load(), MW_OK);
    EXPECT_STREQ(profile.GlobalName().Text(), dir.Path("GLOBAL.INI").c_str());
    EXPECT_EQ(profile.LocalName().Length(), 0);
    int32_t number = 0;
    EXPECT_EQ(profile.ReadInt("S", "Key", 0, 0, &number), MW_OK);
    EXPECT_EQ(number, 5);
    EXPECT_EQ(profile.ReadInt("S", "Absent", 0, 0, &number), MW_NOTFOUND);
}

TEST_F(Profile, DefaultWithoutGlobalSectionIsTheGlobalProfile)
{
    dir.Write("LOCAL.INI", "[S]\nKey=local\n");
    dir.Write("DEFAULT.INI", "[S]\nKey=default\n[LOCALINI]\nName=" + dir.Path("LOCAL.INI") + "\n");
    FixtureProfile profile(DefaultPath());
    ASSERT_EQ(profile.Load(), MW_OK);
    EXPECT_STREQ(profile.GlobalName().Text(), DefaultPath().c_str());
    EXPECT_EQ(profile.DefaultName().Length(), 0);
    EXPECT_STREQ(profile.LocalName().Text(), dir.Path("LOCAL.INI").c_str());
    MW_String text;
    EXPECT_EQ(profile.ReadString("S", "Key", 0, 0, &text), MW_OK);
    EXPECT_STREQ(text.Text(), "local");
}

TEST_F(Profile, ReadingWithoutLoadGivesNoProfile)
{
    FixtureProfile profile(DefaultPath());
    int32_t number = 0;
    MW_Cache list;
    EXPECT_EQ(profile.ReadInt("S", "Key", 0, 0, &number), MW_NOMEM);
    EXPECT_EQ(profile.ReadList("S", "Key", MW_ProfileKey::Int, 0, 0, &list), MW_NOMEM);
}

TEST_F(Profile, ListsTakeGlobalValuesThenLocalOnes)
{
    WriteChain("[SERVER]\nBackupServer=G1\nEnforceBackupServer=G2\n",
               "[SERVER]\nBackupServer=L1\nBackupServer=\nBackupServer=L2\n");
    MW_Cache servers;
    FixtureProfile profile(DefaultPath());
    profile.RegisterKey(Key(0x61, MW_ProfileKey::String, &servers, 1, 48));
    EXPECT_EQ(profile.Load(), MW_OK);
    profile.CloseAll();
    EXPECT_EQ(TakeList(servers, MW_ProfileKey::String),
              (std::vector<ListItem>{{1, "G1", 0}, {2, "G2", 1}, {1, "L1", 0}, {2, "L2", 0}}));
}

// Load's result for whole profile setups; the list key is the program's server list.
TEST_F(Profile, LoadResults)
{
    const std::string value48(48, 's');
    struct Case {
        const char *name;
        std::string global; // null chain parts are not written
        std::string local;
        int32_t result;
        size_t values;
    };
    const Case cases[] = {
        {"values in both", "[SERVER]\nBackupServer=a\n", "[SERVER]\nBackupServer=b\n", 0, 2},
        {"local decides: no lines there", "[SERVER]\nBackupServer=a\n", "[SERVER]\n", 1, 1},
        {"no lines at all", "[SERVER]\n", "", 1, 0},
        {"48 characters", "", "[SERVER]\nBackupServer=" + value48 + "\n", 0, 1},
        {"49 characters", "", "[SERVER]\nBackupServer=" + value48 + "x\n", 3, 0},
        {"only empty values: found, though none is kept", "", "[SERVER]\nBackupServer=\n", 0, 0},
    };
    for (const Case &c : cases) {
        WriteChain(c.global, c.local);
        MW_Cache servers;
        FixtureProfile profile(DefaultPath());
        profile.RegisterKey(Key(0x61, MW_ProfileKey::String, &servers, 1, 48));
        EXPECT_EQ(profile.Load(), c.result) << c.name;
        EXPECT_EQ(TakeList(servers, MW_ProfileKey::String).size(), c.values) << c.name;
    }
}

// What the owner reports when the profile cannot be used: the file Load stopped at and why.
TEST_F(Profile, LoadNamesTheFileAndTheReasonItStoppedAt)
{
    const std::string value49(49, 's');
    struct Case {
        const char *name;
        std::string defaultText; // "" : DEFAULT.INI is not written
        std::string global;
        std::string local;
        int32_t result;
        const char *file; // in the scratch directory; "" : none
        const char *reason;
    };
    const std::string chain = "[GLOBALINI]\nName=" + dir.Path("GLOBAL.INI") + "\n";
    const std::string toLocal = "[LOCALINI]\nName=" + dir.Path("LOCAL.INI") + "\n";
    const Case cases[] = {
        {"no default profile", "", "", "", MW_NOTOPENED, "DEFAULT.INI", "missing"},
        {"global missing", "[GLOBALINI]\nName=" + dir.Path("NONE.INI") + "\n", "", "", MW_NOTOPENED,
         "NONE.INI", "missing"},
        {"global is a folder", "[GLOBALINI]\nName=" + dir.Path("FOLDER") + "\n", "", "",
         MW_NOTOPENED, "FOLDER", "not a regular file"},
        {"no server line anywhere", chain, "[SERVER]\n", "", 1, "GLOBAL.INI",
         "no BackupServer line in section [SERVER]"},
        {"local decides: no line there", chain, toLocal + "[SERVER]\nBackupServer=a\n",
         "[SERVER]\n", 1, "LOCAL.INI", "no BackupServer line in section [SERVER]"},
        {"too long in the global", chain, toLocal + "[SERVER]\nBackupServer=" + value49 + "\n",
         "[SERVER]\nBackupServer=b\n", 3, "GLOBAL.INI",
         "a value of BackupServer in section [SERVER] is not acceptable (1 to 48 characters)"},
        {"too long in the local", chain, toLocal + "[SERVER]\nBackupServer=a\n",
         "[SERVER]\nBackupServer=" + value49 + "\n", 3, "LOCAL.INI",
         "a value of BackupServer in section [SERVER] is not acceptable (1 to 48 characters)"},
        {"loads", chain, "[SERVER]\nBackupServer=a\n", "", MW_OK, "", ""},
    };
    std::filesystem::create_directory(dir.Path("FOLDER"));
    for (const Case &c : cases) {
        std::filesystem::remove(DefaultPath());
        if (!c.defaultText.empty())
            dir.Write("DEFAULT.INI", c.defaultText);
        dir.Write("GLOBAL.INI", c.global);
        dir.Write("LOCAL.INI", c.local);
        MW_Cache servers;
        FixtureProfile profile(DefaultPath());
        profile.RegisterKey(Key(0x61, MW_ProfileKey::String, &servers, 1, 48));
        EXPECT_EQ(profile.Load(), c.result) << c.name;
        const std::string file = *c.file ? dir.Path(c.file) : "";
        EXPECT_EQ(profile.FaultFile().Text(), file) << c.name;
        EXPECT_STREQ(profile.FaultReason().Text(), c.reason) << c.name;
        TakeList(servers, MW_ProfileKey::String);
    }
}

// A scalar key that is not acceptable is named with its range, in its own kind of unit.
TEST_F(Profile, UnacceptableScalarIsNamedWithItsRange)
{
    dir.Write("DEFAULT.INI", "[SERVER]\nCount=500\n");
    MW_String countKey("Count");
    int32_t count = 0;
    FixtureProfile profile(DefaultPath());
    profile.RegisterKey(
        MW_ProfileKey{&section, &countKey, 0x01, MW_ProfileKey::Int, &count, 1, 99});
    EXPECT_EQ(profile.Load(), 3);
    EXPECT_EQ(profile.FaultFile().Text(), DefaultPath());
    EXPECT_STREQ(profile.FaultReason().Text(),
                 "a value of Count in section [SERVER] is not acceptable (1 to 99)");
}

TEST_F(Profile, MissingFilesEndLoadWithMinusFour)
{
    {
        FixtureProfile profile(dir.Path("ABSENT.INI"));
        EXPECT_EQ(profile.Load(), MW_NOTOPENED);
    }
    dir.Write("DEFAULT.INI", "[GLOBALINI]\nName=" + dir.Path("NOGLOBAL.INI") + "\n");
    {
        FixtureProfile profile(DefaultPath());
        EXPECT_EQ(profile.Load(), MW_NOTOPENED);
    }
    dir.Write("DEFAULT.INI", "[LOCALINI]\nName=" + dir.Path("NOLOCAL.INI") + "\n");
    {
        FixtureProfile profile(DefaultPath());
        EXPECT_EQ(profile.Load(), MW_NOTOPENED);
    }
}

TEST_F(Profile, ProfileObjectThatCannotBeCreatedGivesTwo)
{
    dir.Write("DEFAULT.INI", "[S]\n");
    FixtureProfile profile(DefaultPath());
    MW_Allocator::FailAfter(0, true);
    EXPECT_EQ(profile.Load(), 2);
}

TEST_F(Profile, ReadKeysFillsScalarTargetsAndSkipsInactiveOrOptionalKeys)
{
    dir.Write("DEFAULT.INI", "[SERVER]\nFlag=on\nText=hello\nCount=42\nBad=x\n");
    MW_String flagKey("Flag"), textKey("Text"), countKey("Count"), absentKey("Absent"),
        badKey("Bad");
    bool flag = false;
    MW_String text;
    int32_t count = 0, untouched = 7, bad = 0;
    FixtureProfile profile(DefaultPath());
    auto add = [&](MW_String &name, uint32_t flags, uint32_t type, void *target) {
        profile.RegisterKey(MW_ProfileKey{&section, &name, flags, type, target, 0, 0});
    };
    add(flagKey, 0x01, MW_ProfileKey::Bool, &flag);
    add(textKey, 0x21, MW_ProfileKey::String, &text);
    add(countKey, 0x01, MW_ProfileKey::Long, &count);
    add(absentKey, 0x01, MW_ProfileKey::Int, &untouched); // optional: -2 is ignored
    add(countKey, 0x00, MW_ProfileKey::Int, &untouched);  // inactive
    add(badKey, 0x01, 17, &bad);                          // unknown type: ignored
    EXPECT_EQ(profile.Load(), MW_OK);
    EXPECT_TRUE(flag);
    EXPECT_STREQ(text.Text(), "hello");
    EXPECT_EQ(count, 42);
    EXPECT_EQ(untouched, 7);

    add(absentKey, 0x21, MW_ProfileKey::Int, &untouched); // required and missing
    add(badKey, 0x01, MW_ProfileKey::Bool, &flag);        // never reached
    EXPECT_EQ(profile.ReadKeys(), 1);
}

TEST_F(Profile, UnacceptableScalarStopsReadKeysWithThree)
{
    dir.Write("DEFAULT.INI", "[SERVER]\nFlag=maybe\nCount=5\n");
    MW_String flagKey("Flag"), countKey("Count");
    bool flag = false;
    int32_t count = 0;
    FixtureProfile profile(DefaultPath());
    profile.RegisterKey(MW_ProfileKey{&section, &flagKey, 0x01, MW_ProfileKey::Bool, &flag, 0, 0});
    profile.RegisterKey(MW_ProfileKey{&section, &countKey, 0x01, MW_ProfileKey::Int, &count, 0, 0});
    EXPECT_EQ(profile.Load(), 3);
    EXPECT_EQ(count, 0); // reading stopped before it
}

// The default profile's name comes from the program path and the application name that
// MW_Application recorded; this runs in a child, which the application object's hooks touch.
TEST_F(Profile, DefaultNameSitsBesideTheProgram)
{
    struct Case {
        const char *programPath;
        const char *defaultName;
    };
    const Case cases[] = {
        {"/opt/tarvik/bin/tarvik", "/opt/tarvik/bin/TARVIK.INI"},
        {"C:\\APP\\X.EXE", "C:\\APP\\TARVIK.INI"},
        {"/mixed\\dir/x", "/mixed\\dir/TARVIK.INI"},
        {"tarvik", "TARVIK.INI"}, // no directory part: the current directory
    };
    for (const Case &c : cases) {
        const ChildOutcome child = RunInChild([&](std::FILE *out) {
            MW_Application app("TARVIK", c.programPath);
            MW_Profile profile(&app);
            profile.BuildDefaultName();
            std::fputs(profile.DefaultName().Text(), out);
        });
        EXPECT_EQ(child.output, c.defaultName) << c.programPath;
    }
}

TEST_F(Profile, LoadFindsTheProfileBesideTheProgram)
{
    dir.Write("TARVIK.INI", "[SERVER]\nBackupServer=FS1\n");
    const std::string program = dir.Path("tarvik");
    const ChildOutcome child = RunInChild([&](std::FILE *out) {
        MW_Application app("TARVIK", program.c_str());
        MW_String section("SERVER"), key("BackupServer");
        MW_Cache servers;
        MW_Profile profile(&app);
        profile.RegisterKey(MW_ProfileKey{&section, &key, 0x61, 1, &servers, 1, 48});
        std::fprintf(out, "%d", profile.Load());
        profile.CloseAll();
        for (const ListItem &item : TakeList(servers, MW_ProfileKey::String))
            std::fprintf(out, " %s", item.value.c_str());
    });
    EXPECT_EQ(child.output, "0 FS1");
}

} // namespace
