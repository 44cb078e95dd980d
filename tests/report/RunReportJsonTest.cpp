// A run's record as JSON, in both layouts: written and read back unchanged, and refused when a
// member is missing, of the wrong kind or says something impossible.
#include <gtest/gtest.h>

#include <string>

#include "report/JsonParser.h"
#include "report/RunReportJson.h"
#include "tests/report/SampleReports.h"

TEST(RunReportJson, BothLayoutsReadBackTheSameRun)
{
    const RunReport report = TrickyReport();
    for (JsonLayout layout : {JsonLayout::OneLine, JsonLayout::Indented}) {
        const std::string json = RunReportToJson(report, layout);
        EXPECT_EQ(json.find('\n') == std::string::npos, layout == JsonLayout::OneLine);
        std::optional<RunReport> read = RunReportFromJson(json);
        ASSERT_TRUE(read.has_value()) << json;
        ExpectSameRun(*read, report);
    }
}

TEST(RunReportJson, NamesItsFieldsInWordsAReaderUnderstands)
{
    RunReport report = PlainReport(1714741330, 2, 1);
    report.onError = OnError::End;
    report.ranToEnd = false;
    report.objects[1].version = 1714000000;
    const std::optional<JsonValue> json =
        JsonParser::Parse(RunReportToJson(report, JsonLayout::OneLine));
    ASSERT_TRUE(json.has_value());
    EXPECT_EQ(*json->Member("onError")->AsString(), "End");
    EXPECT_EQ(*json->Member("run")->AsString(), "stopped");
    EXPECT_EQ(*json->Member("server")->AsString(), report.server);
    const std::vector<JsonValue> &objects = *json->Member("objects")->AsArray();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(*objects[0].Member("outcome")->AsString(), "failed");
    EXPECT_EQ(*objects[0].Member("message")->AsString(), "Locked");
    EXPECT_EQ(*objects[0].Member("version")->AsString(), "most recent");
    EXPECT_EQ(*objects[0].Member("scope")->AsString(), "subtree");
    EXPECT_EQ(objects[0].Member("status")->AsInteger(), 5);
    EXPECT_EQ(*objects[1].Member("outcome")->AsString(), "restored");
    EXPECT_EQ(*objects[1].Member("scope")->AsString(), "alone");
    EXPECT_NE(*objects[1].Member("version")->AsString(), "most recent");
}

TEST(RunReportJson, ARunWithoutObjectsReadsBack)
{
    const RunReport report = PlainReport(1714741330, 0, 0);
    for (JsonLayout layout : {JsonLayout::OneLine, JsonLayout::Indented}) {
        std::optional<RunReport> read = RunReportFromJson(RunReportToJson(report, layout));
        ASSERT_TRUE(read.has_value());
        ExpectSameRun(*read, report);
    }
}

TEST(RunReportJson, IgnoresMembersItDoesNotKnow)
{
    const std::string json = RunReportToJson(PlainReport(1714741330, 1, 0), JsonLayout::OneLine);
    const std::string extended = "{\"writtenBy\":{\"program\":\"later\"}," + json.substr(1);
    std::optional<RunReport> read = RunReportFromJson(extended);
    ASSERT_TRUE(read.has_value());
    ExpectSameRun(*read, PlainReport(1714741330, 1, 0));
}

// Each case changes one thing in a good record; every one must be refused.
TEST(RunReportJson, RefusesARecordWithAMissingWrongOrImpossibleMember)
{
    const std::string good = RunReportToJson(PlainReport(1714741330, 1, 1), JsonLayout::OneLine);
    ASSERT_TRUE(RunReportFromJson(good).has_value());
    auto replaced = [&good](const std::string &from, const std::string &to) {
        const std::size_t at = good.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        std::string changed = good;
        return at == std::string::npos ? changed : changed.replace(at, from.size(), to);
    };
    const std::string cases[] = {
        replaced("\"started\"", "\"begun\""),
        replaced("\"ended\":\"", "\"ended\":\"yesterday"),
        replaced("\"server\":\"FS", "\"server\":1,\"x\":\"FS"),
        replaced("\"user\"", "\"who\""),
        replaced("\"onError\":\"Continue\"", "\"onError\":\"Retry\""),
        replaced("\"run\":\"ran to the end\"", "\"run\":true"),
        replaced("\"objects\":[", "\"objects\":{\"a\":["),
        replaced("\"name\"", "\"nom\""),
        replaced("\"version\":\"most recent\"", "\"version\":\"latest\""),
        replaced("\"version\":\"most recent\"", "\"version\":\"1969-12-31T23:59:59Z\""),
        replaced("\"scope\":\"subtree\"", "\"scope\":\"all\""),
        replaced("\"version\":\"most recent\"", "\"version\":\"<=yesterday\""),
        replaced("\"outcome\":\"failed\"", "\"outcome\":\"lost\""),
        replaced("\"outcome\":\"failed\"", "\"outcome\":\"restored\""), // status 5 says failed
        replaced("\"status\":5", "\"status\":0"),                       // outcome says failed
        replaced("\"status\":5", "\"status\":5.5"),
        replaced("\"status\":5", "\"status\":4294967296"),
        replaced("\"message\":\"Locked\"", "\"message\":null"),
        replaced("\"note\":\"\"", "\"remark\":\"\""),
        good.substr(0, good.size() - 1),
        "[" + good + "]",
    };
    for (const std::string &json : cases) {
        EXPECT_FALSE(RunReportFromJson(json).has_value()) << json;
    }
}

// What records of earlier versions said still reads: a scope of "with its subtree" for whatever was
// sent with the flag, and only "restored" or "failed".
TEST(RunReportJson, ReadsTheWordsOfEarlierRecords)
{
    const std::string earlier =
        R"({"started":"2024-05-03T14:22:10Z","ended":"2024-05-03T14:23:15Z","server":"FS1",)"
        R"("user":"admin","onError":"Continue","run":"ran to the end","objects":[)"
        R"({"name":"A.Marrowby","version":"most recent","scope":"with its subtree",)"
        R"("outcome":"restored","status":0,"message":"","note":""},)"
        R"({"name":"B.Marrowby","version":"most recent","scope":"alone",)"
        R"("outcome":"failed","status":-4,"message":"skipped: below A","note":""}]})";
    const std::optional<RunReport> read = RunReportFromJson(earlier);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->objects.size(), 2u);
    EXPECT_EQ(read->objects[0].scope, ObjectScope::Subtree);
    EXPECT_TRUE(read->objects[0].Restored());
    EXPECT_EQ(read->objects[1].scope, ObjectScope::Alone);
    EXPECT_EQ(read->objects[1].outcome, ObjectOutcome::Failed);
}
