// tarvik-restore --find against the scripted server: what it asks, what it prints in each format,
// and its exit status when nothing matches, the search fails, is interrupted or cannot be made.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/CommandFixture.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace
{
// A full name holding every character that needs care in CSV, JSON and a directory's names.
const std::string kOdd = "O\"Hara\\, Zoë.Sales.Marrowby";

void Matches(ScriptedServer &script)
{
    script.SetSearchResults(
        {Leaf("Ann.Sales.Marrowby"), Container("Gone.Marrowby", false), Leaf(kOdd, false)});
}

TEST(FindCommand, AsksBelowTheTopContextAndListsTheMatchesInEachFormat)
{
    CommandRun run;
    Matches(run.script);
    EXPECT_EQ(run.Run({"--format=csv", "--find", "a*"}), 0) << run.err.str();
    const std::vector<LoggedRequest> asked = run.script.RequestsOf(SearchObjects);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0].name, "Marrowby");
    EXPECT_EQ(asked[0].pattern, "a*");
    EXPECT_EQ(asked[0].flags, 0u);
    EXPECT_THAT(run.Rows(), ElementsAre(ElementsAre("Ann.Sales.Marrowby", "leaf", "present"),
                                        ElementsAre("Gone.Marrowby", "container", "deleted"),
                                        ElementsAre(kOdd, "leaf", "deleted")));
    EXPECT_THAT(run.script.RequestsOf(RestoreObject), IsEmpty());
    EXPECT_EQ(run.script.OutstandingReplies(), 0u);

    EXPECT_EQ(run.Run({"--find=a*", "--format", "json"}), 0) << run.err.str();
    const std::optional<readback::Json> json = readback::JsonReader(run.out.str()).Document();
    ASSERT_TRUE(json) << run.out.str();
    ASSERT_EQ(json->items.size(), 3u);
    EXPECT_EQ(json->items[2].Member("object")->string, kOdd);
    EXPECT_EQ(json->items[1].Member("kind")->string, "container");
    EXPECT_EQ(json->items[1].Member("state")->string, "deleted");

    EXPECT_EQ(run.Run({"--find", "a*"}), 0) << run.err.str();
    // Columns line up by characters: the widest name has 27 (its "ë" is two bytes).
    EXPECT_EQ(run.out.str(), "OBJECT" + std::string(23, ' ') + "KIND       STATE\n" +
                                 "Ann.Sales.Marrowby" + std::string(11, ' ') +
                                 "leaf       present\n" + "Gone.Marrowby" + std::string(16, ' ') +
                                 "container  deleted\n" + kOdd + "  leaf       deleted\n" +
                                 "3 found, 2 of them deleted\n");
    EXPECT_EQ(run.err.str(), "");
}

TEST(FindCommand, ExitsWithOneWhenTheSearchFindsNothingOrDoesNotEndWell)
{
    const struct {
        const char *what;
        std::function<void(ScriptedServer &)> server;
        bool interrupt;
        const char *said;
        std::size_t listed;
    } cases[] = {
        {"no match", [](ScriptedServer &) {}, false, "no object below Marrowby matches \"a*\"", 0},
        {"cannot search", [](ScriptedServer &script) { script.SetCannotSearch(true); }, false,
         "This backup server cannot search.", 0},
        {"failed halfway",
         [](ScriptedServer &script) {
             Matches(script);
             script.SetSearchFailure(1, "Timed out");
         },
         false, "the search failed: Timed out", 1},
        {"interrupted", Matches, true, "interrupted: 1 found, 0 of them deleted", 1},
    };
    for (const auto &c : cases) {
        CommandRun run;
        c.server(run.script);
        InterruptFlag::Set(c.interrupt);
        EXPECT_EQ(run.Run({"--format=csv", "--find", "a*"}), 1) << c.what;
        EXPECT_THAT(run.err.str(), HasSubstr(c.said)) << c.what;
        EXPECT_EQ(run.Rows().size(), c.listed) << c.what;
        EXPECT_EQ(run.script.OutstandingReplies(), 0u) << c.what;
    }
}

TEST(FindCommand, ASearchThatCannotBeMadeWritesNoResults)
{
    CommandRun run;
    run.script.SetCannotSearch(true);
    EXPECT_EQ(run.Run({"--find", "ann"}), 1);
    EXPECT_EQ(run.out.str(), "");
    EXPECT_EQ(run.err.str(), "tarvik-restore: This backup server cannot search.\n");
}
} // namespace
