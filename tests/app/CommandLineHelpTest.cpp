// --help and --version: answered with a text and exit code 0; any other first word is a server
// name and left to start-up.
#include <gtest/gtest.h>
#include <sstream>

#include "app/CommandLineHelp.h"

namespace
{
std::optional<int> AnswerTo(std::vector<std::string> words, std::string &out)
{
    std::vector<char *> argv;
    for (std::string &word : words) {
        argv.push_back(word.data());
    }
    std::ostringstream stream;
    std::optional<int> code =
        CommandLineHelp::Answer(static_cast<int>(argv.size()), argv.data(), "/opt/tarvik", stream);
    out = stream.str();
    return code;
}
} // namespace

TEST(CommandLineHelp, HelpAndVersionAreAnsweredAndAServerNameIsNot)
{
    std::string out;
    EXPECT_EQ(AnswerTo({"tarvik", "--help"}, out), 0);
    EXPECT_EQ(out.rfind("Usage: tarvik [SERVER] [Qt options]\n", 0), 0u) << out;
    EXPECT_NE(out.find("/opt/tarvik/TARVIK.INI"), std::string::npos) << out;
    EXPECT_NE(out.find("-platform"), std::string::npos) << out;
    EXPECT_EQ(AnswerTo({"tarvik", "-h"}, out), 0);

    EXPECT_EQ(AnswerTo({"tarvik", "--version"}, out), 0);
    EXPECT_EQ(out, "TARVIK Version 1.0 (Pre-release 2)\n");

    for (std::vector<std::string> words : std::vector<std::vector<std::string>>{
             {"tarvik"}, {"tarvik", "FS1"}, {"tarvik", "FS1", "--help"}}) {
        EXPECT_EQ(AnswerTo(words, out), std::nullopt) << words.size();
        EXPECT_EQ(out, "");
    }
}
