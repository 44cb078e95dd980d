// A run's record as CSV (RFC 4180) and as tab-separated text: a header row, one row per object
// with the run's fields, and every text carried whole through quoting (CSV) or with its breaks
// and tabs made blanks (tab-separated).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "report/DelimitedText.h"
#include "report/ReportTable.h"
#include "report/ReportTime.h"
#include "tests/report/CsvRows.h"
#include "tests/report/SampleReports.h"

namespace
{
const std::vector<std::string> kHeader = {"Started",  "Ended",   "Server",  "User",
                                          "On error", "Run",     "Object",  "Version",
                                          "Scope",    "Outcome", "Message", "Note"};
} // namespace

TEST(DelimitedText, CsvCarriesEveryTextWholeWithTheRunOnEveryRow)
{
    const RunReport report = TrickyReport();
    std::optional<std::vector<std::vector<std::string>>> rows =
        ReadCsv(CsvText(ReportTable(report)));
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), report.objects.size() + 1);
    EXPECT_EQ((*rows)[0], kHeader);
    for (std::size_t i = 0; i < report.objects.size(); ++i) {
        SCOPED_TRACE(i);
        const std::vector<std::string> &row = (*rows)[i + 1];
        const ReportedObject &object = report.objects[i];
        ASSERT_EQ(row.size(), kHeader.size());
        EXPECT_EQ(ParseIsoTime(row[0]), report.started);
        EXPECT_EQ(ParseIsoTime(row[1]), report.ended);
        EXPECT_EQ(row[2], report.server);
        EXPECT_EQ(row[3], report.user);
        EXPECT_EQ(row[4], "Ask User");
        EXPECT_EQ(row[5], "stopped");
        EXPECT_EQ(row[6], object.name);
        if (!object.versionAsked.empty()) {
            EXPECT_EQ(row[7], object.versionAsked);
        } else if (object.version == 0) {
            EXPECT_EQ(row[7], "most recent");
        } else {
            EXPECT_EQ(ParseIsoTime(row[7]), object.version);
        }
        EXPECT_EQ(row[8], ScopeText(object.scope));
        EXPECT_EQ(row[9], OutcomeText(object.outcome));
        EXPECT_EQ(row[10], object.message);
        EXPECT_EQ(row[11], object.note);
    }
}

TEST(DelimitedText, CsvQuotesOnlyTheFieldsThatNeedIt)
{
    const struct {
        std::string field;
        std::string csv;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {"tab\tand blanks ", "tab\tand blanks "},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(CsvText({{c.field, "x"}}), c.csv + ",x\r\n");
    }
}

TEST(DelimitedText, ARunWithoutObjectsKeepsOneRowOfItsOwn)
{
    std::optional<std::vector<std::vector<std::string>>> rows =
        ReadCsv(CsvText(ReportTable(PlainReport(1714741330, 0, 0))));
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 2u);
    ASSERT_EQ((*rows)[1].size(), kHeader.size());
    EXPECT_EQ((*rows)[1][3], "admin");
    EXPECT_EQ((*rows)[1][6], "");
}

TEST(DelimitedText, TabSeparatedTextKeepsOneLinePerRowAndOneCellPerField)
{
    const RunReport report = TrickyReport();
    const std::string text = TabSeparatedText(ReportTable(report));
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), report.objects.size() + 1);
    EXPECT_EQ(text.back(), '\n');
    for (const std::string &line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 11) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos);
    }
    EXPECT_EQ(lines[0].substr(0, 14), "Started\tEnded\t");
    // The broken name and message of the fourth object stand on its line with blanks.
    EXPECT_NE(lines[4].find("\tLine break.Marrowby\t"), std::string::npos) << lines[4];
    EXPECT_NE(lines[4].find("\tfirst line  second line\t"), std::string::npos) << lines[4];
    EXPECT_NE(lines[3].find("Disk \"C\" is full, sorry"), std::string::npos) << lines[3];
}
