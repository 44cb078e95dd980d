// The argument vector the application's Main receives.
#include <gtest/gtest.h>

#include "toolkit/Application.h"

TEST(BuildArguments, SplitsTheCommandLineAtRunsOfBlanks)
{
    struct Case {
        std::vector<std::string> words;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{}, {"/p/tarvik"}},
        {{"FS1"}, {"/p/tarvik", "FS1"}},
        {{"FS1", "extra"}, {"/p/tarvik", "FS1", "extra"}},
        {{"  FS1   two  "}, {"/p/tarvik", "FS1", "two"}},
        {{"\"My", "Server\""}, {"/p/tarvik", "\"My", "Server\""}},
        {{""}, {"/p/tarvik"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(BuildArguments("/p/tarvik", c.words), c.expected);
    }
}

TEST(BuildArguments, KeepsTheRestOfTheLineInTheFortiethEntry)
{
    std::vector<std::string> words;
    for (int i = 1; i <= 45; ++i) {
        words.push_back("w" + std::to_string(i));
    }
    std::vector<std::string> arguments = BuildArguments("/p/tarvik", words);
    ASSERT_EQ(arguments.size(), 40u);
    EXPECT_EQ(arguments[38], "w38");
    EXPECT_EQ(arguments[39], "w39 w40 w41 w42 w43 w44 w45");
}
