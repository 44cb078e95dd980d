// The three forms of the results, each read back by an independent reader.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CsvReport.h"
#include "cli/JsonReport.h"
#include "cli/TextReport.h"
#include "tests/cli/ReadBack.h"

using testing::ElementsAre;
using testing::HasSubstr;

namespace
{
using Outcome = ObjectReport::Outcome;
using Scope = ObjectReport::Scope;

// Texts that a careless writer gets wrong: separators, quotes, line ends, backslashes, control
// characters, UTF-8 and a byte that is no UTF-8.
std::vector<ObjectReport> Awkward()
{
    return {
        {"Object-1.Sales.Marrowby", "newest", Scope::Object, Outcome::Restored, ""},
        {"Smith\\, John.Sales.Marrowby", "2026-11-30T02:00:00Z", Scope::Subtree, Outcome::Failed,
         "refused: \"no such parent\", see log\r\nline two\ttab"},
        {"Bl\xC3\xA5"
         "b\xC3\xA6r.Marrowby",
         "<=2026-11-30T02:00:00Z", Scope::None, Outcome::NotFound, "control \x01 and latin-1 \xE9"},
        {"C.Marrowby", "newest", Scope::InSubtree, Outcome::Skipped, "below X, which failed"},
    };
}

TEST(CsvReport, ReadsBackFieldForField)
{
    const std::vector<ObjectReport> reports = Awkward();
    const std::optional<std::vector<readback::Row>> rows =
        readback::Csv(CsvReport::Render(reports));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), reports.size() + 1);
    EXPECT_THAT((*rows)[0], ElementsAre("object", "version", "scope", "outcome", "message"));
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const ObjectReport &r = reports[i];
        EXPECT_THAT((*rows)[i + 1],
                    ElementsAre(r.fullName, r.version, ObjectReport::ScopeName(r.scope),
                                ObjectReport::OutcomeName(r.outcome), r.message));
    }
    EXPECT_EQ(CsvReport::Render({}), "object,version,scope,outcome,message\r\n");
}

TEST(JsonReport, IsOneArrayOfRecordsWithStableKeys)
{
    const std::vector<ObjectReport> reports = Awkward();
    const std::optional<readback::Json> document =
        readback::JsonReader(JsonReport::Render(reports)).Document();
    ASSERT_TRUE(document);
    ASSERT_EQ(document->kind, readback::Json::Kind::Array);
    ASSERT_EQ(document->items.size(), reports.size());
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const readback::Json &record = document->items[i];
        EXPECT_THAT(record.Keys(), ElementsAre("object", "version", "scope", "outcome", "message"));
        EXPECT_EQ(record.Member("object")->string, reports[i].fullName);
        EXPECT_EQ(record.Member("outcome")->string, ObjectReport::OutcomeName(reports[i].outcome));
    }
    EXPECT_EQ(document->items[1].Member("message")->string, reports[1].message);
    // Kept as it is: valid UTF-8. Replaced: a control character is escaped, a stray byte
    // becomes U+FFFD.
    EXPECT_EQ(document->items[2].Member("object")->string, reports[2].fullName);
    EXPECT_EQ(document->items[2].Member("message")->string,
              "control \x01 and latin-1 \xEF\xBF\xBD");

    const std::optional<readback::Json> empty =
        readback::JsonReader(JsonReport::Render({})).Document();
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->items.empty());
}

TEST(JsonReport, NeverLetsABrokenSequenceThrough)
{
    // Cut, overlong, surrogate and out-of-range sequences each become U+FFFD per byte taken.
    for (const char *text : {"\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                             "\xF8\x88\x80\x80\x80", "\x80"}) {
        const std::string json = JsonReport::Render(
            {{"a.Marrowby", "newest", Scope::Object, Outcome::Failed, std::string(text)}});
        const std::optional<readback::Json> read = readback::JsonReader(json).Document();
        ASSERT_TRUE(read && read->items.size() == 1) << json;
        const std::string &message = read->items[0].Member("message")->string;
        EXPECT_FALSE(message.empty()) << json;
        EXPECT_EQ(message.find_first_not_of("\xEF\xBF\xBD"), std::string::npos) << json;
    }
}

TEST(TextReport, AlignsColumnsByCharactersAndSumsUp)
{
    const std::vector<ObjectReport> reports = Awkward();
    const std::string text = TextReport::Render(reports, false);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        lines.push_back(text.substr(at, end - at));
    }
    ASSERT_EQ(lines.size(), reports.size() + 2);
    // The version column starts at the same character on every line, UTF-8 names included.
    const auto column = [](const std::string &line, const std::string &cell) {
        const std::size_t bytes = line.find(cell);
        std::size_t characters = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            characters += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
        }
        return characters;
    };
    EXPECT_EQ(column(lines[0], "VERSION"), column(lines[1], "newest"));
    EXPECT_EQ(column(lines[0], "VERSION"), column(lines[3], "<=2026"));
    EXPECT_EQ(column(lines[0], "OUTCOME"), column(lines[3], "not found"));
    // A message's own line end does not break the table.
    EXPECT_THAT(lines[2], HasSubstr("see log  line two tab"));
    EXPECT_EQ(lines.back(), "1 restored, 1 failed, 1 skipped, 1 not found");
}

TEST(TextReport, SummaryCountsEachOutcome)
{
    const auto with = [](std::vector<Outcome> outcomes, bool dryRun = false) {
        std::vector<ObjectReport> reports;
        for (Outcome outcome : outcomes) {
            reports.push_back({"a.M", "newest", Scope::Object, outcome, ""});
        }
        return TextReport::Summary(reports, dryRun);
    };
    EXPECT_EQ(with({}), "0 restored, 0 failed, 0 skipped");
    EXPECT_EQ(with({Outcome::Restored, Outcome::Restored, Outcome::Skipped}),
              "2 restored, 0 failed, 1 skipped");
    EXPECT_EQ(with({Outcome::WouldRestore, Outcome::Failed}, true),
              "1 would be restored, 1 failed, 0 skipped");
    EXPECT_EQ(with({Outcome::NotFound}, true),
              "0 would be restored, 0 failed, 0 skipped, 1 not found");
    EXPECT_EQ(with({Outcome::NotFound, Outcome::NotFound}),
              "0 restored, 0 failed, 0 skipped, 2 not found");
}
} // namespace
