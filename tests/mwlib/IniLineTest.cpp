// How each profile line is read: comments, quotes, blanks, line ends and over-long lines.
#include "TempDir.h"

#include "mwlib/MW_IniLine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

std::string Tidied(const std::string &raw)
{
    char line[MW_IniLine::Size] = {};
    std::strncpy(line, raw.c_str(), sizeof line - 1);
    MW_IniLine::CutComment(line);
    MW_IniLine::TidyBlanks(line);
    MW_IniLine::StripLineEnd(line);
    return line;
}

TEST(IniLine, CommentsBlanksAndLineEnds)
{
    struct Case {
        const char *raw;
        const char *tidied;
    };
    const Case cases[] = {
        {"backupserver = x\n", "backupserver=x"},
        {"Key = a b ; note\n", "Key=a b "}, // trailing blank before the comment stays
        {"Key = \"a;b\"\n", "Key=\"a;b\""}, // ';' inside quotes is text
        {"Key = \"a;b\" ; c \"d;\n", "Key=\"a;b\" "},
        {"Key=\"open ; still quoted\n", "Key=\"open ; still quoted"},
        {"   Key   =   v  \n", "Key=v  "},
        {"Key= v\n", "Key=v"},
        {"Two words = v\n", "Twowords = v"}, // only the first run of blanks goes
        {"\tKey = v\n", "\tKey=v"},          // tabs are not blanks here
        {"Key=v\r\n", "Key=v"},
        {"Key = \r\n", "Key="},
        {"Key=v", "Key=v"}, // no line end at the end of the file
        {"; only a comment\n", ""},
        {"   \n", ""},
        {"\n", ""},
        {"", ""},
        {"  [server]  ; c\n", "[server]"}, // the first run of blanks goes, wherever it is
        {"==x\n", "==x"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Tidied(c.raw), c.tidied) << '"' << c.raw << '"';
}

TEST(IniLine, OverLongLineGoesOnAsTheNextLine)
{
    TempDir dir;
    const std::string longValue(1500, 'v');
    const std::string path = dir.Write("long.ini", "Key=" + longValue + "\nNext=1");
    std::FILE *file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    std::vector<std::string> lines;
    char line[MW_IniLine::Size];
    while (MW_IniLine::Read(file, line))
        lines.emplace_back(line);
    std::fclose(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Key=" + std::string(1019, 'v'));
    EXPECT_EQ(lines[1], std::string(481, 'v'));
    EXPECT_EQ(lines[2], "Next=1");
}

} // namespace
