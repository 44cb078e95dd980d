// MW_IniFile: section and key search, typed reads, lists, and files that are odd or broken.
#include "ProfileProbe.h"
#include "TempDir.h"

#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_IniFile.h"
#include "mwlib/MW_Results.h"
#include "tests/support/core/NamedPipe.h"

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const std::string ServerProfile = "; the servers\n"
                                  "[other]\n"
                                  "BackupServer=wrong\n"
                                  "[server]\n"
                                  "backupserver = x\n"
                                  "Note = a b ; comment\n"
                                  "Quoted = \"a;b\"\n"
                                  "EnforceLevel = 5\n"
                                  "Level = 7\n"
                                  "Empty =\n"
                                  "no equals sign here\n"
                                  "Name=" +
                                  std::string(49, 'n') + "\n" + "Name48=" + std::string(48, 'n') +
                                  "\n" +
                                  "Flag = yes ; comment\n"
                                  "Count = 12\n"
                                  "Negative = -1\n"
                                  "[Server]\n"
                                  "Later = second occurrence\n";

class IniFile : public testing::Test
{
  protected:
    MW_IniFile Profile(const std::string &bytes)
    {
        return MW_IniFile(MW_String(dir.Write("test.ini", bytes).c_str()));
    }
    TempDir dir;
};

TEST_F(IniFile, FindsSectionsAndKeysIgnoringCase)
{
    struct Case {
        const char *section;
        const char *key;
        int32_t result;
        const char *value;
        int32_t enforced;
    };
    const Case cases[] = {
        {"SERVER", "BackupServer", MW_OK, "x", 0},
        {"server", "NOTE", MW_OK, "a b ", 0},
        {"Server", "Quoted", MW_OK, "\"a;b\"", 0},
        {"SERVER", "Level", MW_OK, "5", 1}, // the Enforce line comes first and wins
        {"SERVER", "Empty", MW_OK, "", 0},
        {"SERVER", "Later", MW_NOTFOUND, "", 0}, // only the first [server] is searched
        {"SERVER", "no equals sign here", MW_NOTFOUND, "", 0},
        {"other", "BackupServer", MW_OK, "wrong", 0},
        {"other", "Note", MW_NOTFOUND, "", 0}, // the next section ends the search
        {"serve", "BackupServer", MW_NOTFOUND, "", 0},
        {"missing", "Key", MW_NOTFOUND, "", 0},
    };
    MW_IniFile file = Profile(ServerProfile);
    for (const Case &c : cases) {
        MW_String value("stale");
        int32_t enforced = -1;
        EXPECT_EQ(file.Lookup(c.section, c.key, nullptr, value, &enforced), c.result)
            << c.section << '/' << c.key;
        EXPECT_STREQ(value.Text(), c.value) << c.section << '/' << c.key;
        EXPECT_EQ(enforced, c.enforced) << c.section << '/' << c.key;
    }
    EXPECT_FALSE(file.IsOpen()); // every lookup opened and closed the file itself
}

TEST_F(IniFile, TypedReadsConvertAndCheckRanges)
{
    MW_IniFile file = Profile(ServerProfile);
    ASSERT_EQ(file.Open(), MW_OK);
    bool flag = false;
    EXPECT_EQ(file.ReadBool("SERVER", "Flag", 0, 0, &flag, nullptr), MW_NOTACCEPTED); // "yes "
    EXPECT_FALSE(flag);

    MW_String text;
    EXPECT_EQ(file.ReadString("SERVER", "Name48", 1, 48, &text, nullptr), MW_OK);
    EXPECT_EQ(text.Length(), 48);
    EXPECT_EQ(file.ReadString("SERVER", "Name", 1, 48, &text, nullptr), MW_NOTACCEPTED);
    EXPECT_EQ(text.Length(), 49); // the target keeps the refused value
    EXPECT_EQ(file.ReadString("SERVER", "Name", 1, 0, &text, nullptr), MW_OK);

    int32_t number = 0;
    int32_t enforced = -1;
    EXPECT_EQ(file.ReadInt("SERVER", "Level", 0, 10, &number, &enforced), MW_OK);
    EXPECT_EQ(number, 5);
    EXPECT_EQ(enforced, 1);
    EXPECT_EQ(file.ReadLong("SERVER", "Count", 13, 20, &number, nullptr), MW_NOTACCEPTED);
    EXPECT_EQ(number, 12);
    EXPECT_EQ(file.ReadInt("SERVER", "Negative", 0, 100, &number, nullptr), MW_NOTACCEPTED);
    EXPECT_EQ(file.ReadInt("SERVER", "Negative", 0, 0, &number, nullptr), MW_OK);
    EXPECT_EQ(number, -1);

    EXPECT_EQ(file.ReadInt("SERVER", "Count", 0, 0, nullptr, nullptr), MW_NOMEM);
    EXPECT_EQ(file.ReadString("SERVER", "Absent", 0, 0, &text, nullptr), MW_NOTFOUND);
    EXPECT_TRUE(file.IsOpen()); // opened by the caller, left open
}

TEST_F(IniFile, ListsNumberTheirValuesInFileOrder)
{
    MW_IniFile file = Profile("[SERVER]\n"
                              "BackupServer=FS1\n"
                              "BackupServer=\n"
                              "Other=1\n"
                              "EnforceBackupServer = FS2\n"
                              "backupserver = FS3 ; third\n"
                              "[NEXT]\n"
                              "BackupServer=FS4\n");
    MW_Cache list;
    EXPECT_EQ(file.ReadList("SERVER", "BackupServer", MW_ProfileKey::String, 1, 48, &list), MW_OK);
    EXPECT_EQ(TakeList(list, MW_ProfileKey::String),
              (std::vector<ListItem>{{1, "FS1", 0}, {2, "FS2", 1}, {3, "FS3 ", 0}}));
    EXPECT_EQ(file.ReadList("SERVER", "Absent", MW_ProfileKey::String, 0, 0, &list), MW_NOTFOUND);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(file.ReadList("SERVER", "BackupServer", MW_ProfileKey::String, 0, 0, nullptr),
              MW_NOMEM);
    EXPECT_EQ(file.ReadList("SERVER", "BackupServer", 9, 0, 0, &list), MW_NOMEM);
}

TEST_F(IniFile, ListStopsAtTheFirstUnacceptableValue)
{
    MW_IniFile file = Profile("[S]\nOn=yes\nOn=0\nOn=maybe\nOn=1\n"
                              "N=5\nN=-3\nN=50\nN=6\n");
    MW_Cache list;
    EXPECT_EQ(file.ReadList("S", "On", MW_ProfileKey::Bool, 0, 0, &list), MW_NOTACCEPTED);
    EXPECT_EQ(TakeList(list, MW_ProfileKey::Bool),
              (std::vector<ListItem>{{1, "1", 0}, {2, "0", 0}}));
    EXPECT_EQ(file.ReadList("S", "N", MW_ProfileKey::Int, 0, 0, &list), MW_OK);
    EXPECT_EQ(TakeList(list, MW_ProfileKey::Int),
              (std::vector<ListItem>{{1, "5", 0}, {2, "-3", 0}, {3, "50", 0}, {4, "6", 0}}));
    EXPECT_EQ(file.ReadList("S", "N", MW_ProfileKey::Long, 1, 10, &list), MW_NOTACCEPTED);
    EXPECT_EQ(TakeList(list, MW_ProfileKey::Long), (std::vector<ListItem>{{1, "5", 0}}));
}

// Out of memory at any point of a list read: a result code, the entries stored so far intact, and
// no string lost (the address sanitizer checks for leaks).
TEST_F(IniFile, ListReadWithoutMemoryReportsIt)
{
    MW_IniFile file = Profile("[S]\nKey=one\nKey=two\nKey=three\n");
    bool sawNotCreated = false;
    for (long failAt = 0; failAt < 80; ++failAt) {
        MW_Cache list;
        MW_Allocator::FailAfter(failAt);
        const int32_t result = file.ReadList("S", "Key", MW_ProfileKey::String, 0, 0, &list);
        MW_Allocator::Reset();
        EXPECT_TRUE(result == MW_OK || result == MW_NOMEM || result == MW_NOTCREATED ||
                    result == MW_NOTFOUND)
            << failAt << ": " << result;
        sawNotCreated = sawNotCreated || result == MW_NOTCREATED;
        for (const ListItem &item : TakeList(list, MW_ProfileKey::String))
            EXPECT_TRUE(item.value == "one" || item.value == "two" || item.value == "three");
    }
    EXPECT_TRUE(sawNotCreated);
}

// Files that are broken in some way give result codes, never a crash or a read past a buffer.
TEST_F(IniFile, OddFilesGiveResultCodes)
{
    std::string junk(4096, '\0');
    std::mt19937 random(3);
    for (char &c : junk)
        c = static_cast<char>(random());
    struct Case {
        const char *name;
        std::string bytes;
        int32_t result;
        const char *value;
    };
    const Case cases[] = {
        {"CRLF", "[S]\r\nKey = v \r\nOther=1\r\n", MW_OK, "v "},
        {"CRLF section", "[S]\r\n[T]\r\nKey=v\r\n", MW_NOTFOUND, ""},
        {"no final newline", "[S]\nKey=last", MW_OK, "last"},
        {"long line first", "[S]\nX=" + std::string(3000, 'x') + "\nKey=after", MW_OK, "after"},
        {"long value", "[S]\nKey=" + std::string(2000, 'v') + "\n", MW_OK, nullptr},
        {"empty", "", MW_NOTFOUND, ""},
        {"section only", "[S]", MW_NOTFOUND, ""},
        {"binary", junk, MW_NOTFOUND, ""},
        {"binary after key", "[S]\nKey=v\n" + junk, MW_OK, "v"},
        {"NUL in line", std::string("[S]\nKey=a\0b\n", 12), MW_OK, "a"},
        {"unclosed section", "[S\nKey=v\n", MW_NOTFOUND, ""},
    };
    for (const Case &c : cases) {
        MW_IniFile file = Profile(c.bytes);
        MW_String value;
        EXPECT_EQ(file.ReadString("S", "Key", 0, 0, &value, nullptr), c.result) << c.name;
        if (c.value)
            EXPECT_STREQ(value.Text(), c.value) << c.name;
        else
            EXPECT_EQ(value.Length(), 1024 - 1 - 4) << c.name; // the rest is the next line
    }
}

TEST_F(IniFile, FilesThatCannotBeOpenedSayWhy)
{
    const std::string tooLong = dir.Path(std::string(300, 'n') + ".ini");
    const std::string fifo = dir.Path("fifo.ini");
    NamedPipe pipe(fifo, "[S]\nKey=v\n");
    ASSERT_TRUE(pipe.Made());
    std::filesystem::create_directory(dir.Path("folder.ini"));
    const std::string unreadable = dir.Write("unreadable.ini", "[S]\nKey=v\n");
    chmod(unreadable.c_str(), 0);
    struct Case {
        std::string path;
        const char *fault;
    };
    std::vector<Case> cases = {
        {dir.Path("absent.ini"), "missing"},
        {dir.Path(""), "not a regular file"}, // the folder itself
        {tooLong, "the path is longer than 255 characters"},
        {"/dev/zero", "not a regular file"},
        // Nobody writes to it: opening it the usual way would wait for ever.
        {fifo, "not a regular file"},
        {dir.Path("folder.ini"), "not a regular file"},
    };
    if (geteuid() != 0) // permissions do not hold the superuser back
        cases.push_back({unreadable, "unreadable: permission denied"});
    for (const Case &c : cases) {
        MW_IniFile file(MW_String(c.path.c_str()));
        EXPECT_EQ(file.Open(), MW_NOTOPENED) << c.path;
        EXPECT_STREQ(file.OpenFault().Text(), c.fault) << c.path;
        EXPECT_FALSE(file.IsOpen());
        MW_String value;
        EXPECT_EQ(file.ReadString("S", "Key", 0, 0, &value, nullptr), MW_NOTOPENED) << c.path;
        MW_Cache list;
        EXPECT_EQ(file.ReadList("S", "Key", MW_ProfileKey::String, 0, 0, &list), MW_NOTOPENED);
    }
    pipe.Finished();
    EXPECT_FALSE(pipe.ReaderWaited());
    MW_IniFile readable(MW_String(dir.Write("fine.ini", "[S]\n").c_str()));
    EXPECT_EQ(readable.Open(), MW_OK);
    EXPECT_STREQ(readable.OpenFault().Text(), "");
}

// Editors on other systems start a UTF-8 file with a byte-order mark; it is not part of the
// first line. The same bytes anywhere else are text.
TEST_F(IniFile, ByteOrderMarkAtTheStartIsSkipped)
{
    const std::string mark = "\xEF\xBB\xBF";
    struct Case {
        const char *name;
        std::string bytes;
        const char *section;
        int32_t result;
        const char *value;
    };
    const Case cases[] = {
        {"mark before the first section", mark + "[SERVER]\nBackupServer=FS1\n", "SERVER", MW_OK,
         "FS1"},
        {"mark and CRLF", mark + "[SERVER]\r\nBackupServer=FS1\r\n", "SERVER", MW_OK, "FS1"},
        {"mark alone", mark, "SERVER", MW_NOTFOUND, ""},
        {"part of a mark", "\xEF\xBB[SERVER]\nBackupServer=FS1\n", "SERVER", MW_NOTFOUND, ""},
        {"mark inside a value", "[S]\nKey=" + mark + "x\n", "S", MW_OK, "\xEF\xBB\xBFx"},
        {"mark on a later line", "[T]\n" + mark + "[S]\nKey=v\n", "S", MW_NOTFOUND, ""},
    };
    for (const Case &c : cases) {
        MW_IniFile file = Profile(c.bytes);
        const MW_String key(std::string(c.section) == "SERVER" ? "BackupServer" : "Key");
        MW_String value;
        EXPECT_EQ(file.ReadString(c.section, key, 0, 0, &value, nullptr), c.result) << c.name;
        EXPECT_STREQ(value.Text(), c.value) << c.name;
        // Every read searches from the top again: the mark is skipped each time.
        MW_Cache list;
        EXPECT_EQ(file.ReadList(c.section, key, MW_ProfileKey::String, 0, 0, &list), c.result)
            << c.name;
        const auto items = TakeList(list, MW_ProfileKey::String);
        EXPECT_EQ(items.size(), c.result == MW_OK ? 1u : 0u) << c.name;
    }
}

TEST_F(IniFile, BackslashSeparatesDirectories)
{
    std::filesystem::create_directory(dir.Path("sub"));
    dir.Write("sub/x.ini", "[S]\nKey=v\n");
    MW_IniFile file(MW_String((dir.Path("sub") + "\\x.ini").c_str()));
    MW_String value;
    EXPECT_EQ(file.ReadString("S", "Key", 0, 0, &value, nullptr), MW_OK);
    EXPECT_STREQ(value.Text(), "v");
}

TEST_F(IniFile, HasChangedSeesANewerFile)
{
    const std::string path = dir.Write("t.ini", "[S]\n");
    MW_IniFile file(MW_String(path.c_str()));
    ASSERT_EQ(file.Open(), MW_OK);
    EXPECT_EQ(file.HasChanged(), 0);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                               std::chrono::seconds(10));
    EXPECT_EQ(file.HasChanged(), 1);
    EXPECT_EQ(file.HasChanged(), 0);
}

} // namespace
