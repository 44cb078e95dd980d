// MW_FileName: base name with either separator, case-insensitive tests, over-long paths refused.
#include "mwlib/MW_FileName.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(FileName, BaseNameFollowsTheLastSeparatorOfEitherKind)
{
    struct Case {
        const char *path;
        const char *base;
    };
    const Case cases[] = {
        {"/opt/tarvik/TARVIK.INI", "TARVIK.INI"},
        {"C:\\APP\\TARVIK.INI", "TARVIK.INI"},
        {"/a\\b/c\\d.ini", "d.ini"},
        {"TARVIK.INI", "TARVIK.INI"},
        {"/dir/", ""},
    };
    for (const Case &c : cases)
        EXPECT_STREQ(MW_FileName(c.path).BaseName(), c.base) << c.path;
}

TEST(FileName, ComparisonsIgnoreCase)
{
    const MW_FileName name("/Opt/Tarvik.ini");
    EXPECT_TRUE(name.StartsWith("/OPT/"));
    EXPECT_TRUE(name.StartsWith(""));
    EXPECT_FALSE(name.StartsWith("/opt/tarvik.ini.bak"));
    EXPECT_TRUE(name.Equals("/opt/TARVIK.INI"));
    EXPECT_FALSE(name.Equals("/opt/TARVIK.IN"));
    EXPECT_FALSE(name.Equals(nullptr));
}

TEST(FileName, PathsThatDoNotFitAreRefusedNotCut)
{
    const std::string fits(255, 'p');
    const std::string tooLong(256, 'p');
    EXPECT_TRUE(MW_FileName(fits.c_str()).Valid());
    EXPECT_EQ(std::string(MW_FileName(fits.c_str()).Path()), fits);
    const MW_FileName refused(tooLong.c_str());
    EXPECT_FALSE(refused.Valid());
    EXPECT_STREQ(refused.Path(), "");
    EXPECT_FALSE(MW_FileName(nullptr).Valid());
}

TEST(FileName, SystemPathTurnsBackslashesIntoSlashes)
{
    char path[MW_FileName::PathSize];
    MW_FileName("C:\\APP\\X.INI").SystemPath(path);
    EXPECT_STREQ(path, "C:/APP/X.INI");
}

} // namespace
