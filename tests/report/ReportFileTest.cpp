// Saving a run's record: the format chosen by the file name, both formats read back unchanged,
// and a file that cannot be written leaves nothing half-written behind.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "report/ReportFile.h"
#include "report/ReportTable.h"
#include "report/RunReportJson.h"
#include "tests/mwlib/ChildProcess.h"
#include "tests/mwlib/TempDir.h"
#include "tests/report/CsvRows.h"
#include "tests/report/SampleReports.h"

namespace
{

std::string Contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t FilesIn(const std::string &folder)
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

} // namespace

TEST(ReportFile, ChoosesJsonByTheNameAndCsvOtherwise)
{
    const struct {
        const char *path;
        ReportFormat format;
    } cases[] = {
        {"run.json", ReportFormat::Json}, {"/tmp/RUN.JSON", ReportFormat::Json},
        {"a.b.Json", ReportFormat::Json}, {"run.csv", ReportFormat::Csv},
        {"run", ReportFormat::Csv},       {"run.txt", ReportFormat::Csv},
        {"json", ReportFormat::Csv},      {"run.json.bak", ReportFormat::Csv},
        {"run.jsonl", ReportFormat::Csv}, {"", ReportFormat::Csv},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ReportFormatOf(c.path), c.format) << c.path;
    }
}

TEST(ReportFile, BothFormatsReadBackAsTheRun)
{
    TempDir folder;
    const RunReport report = TrickyReport();

    const std::string json = folder.Path("run.json");
    ASSERT_EQ(SaveReport(json, report), "");
    std::optional<RunReport> read = RunReportFromJson(Contents(json));
    ASSERT_TRUE(read.has_value());
    ExpectSameRun(*read, report);

    const std::string csv = folder.Path("run.csv");
    ASSERT_EQ(SaveReport(csv, report), "");
    std::optional<std::vector<std::vector<std::string>>> rows = ReadCsv(Contents(csv));
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(*rows, ReportTable(report));
    EXPECT_EQ(FilesIn(folder.Path("")), 2u); // nothing left beside them
}

// A report names objects and users: whatever the user's umask lets others see, a new one is
// its owner's alone.
TEST(ReportFile, ANewReportIsReadableByItsOwnerAlone)
{
    TempDir folder;
    const mode_t previous = umask(022);
    const std::string path = folder.Path("run.json");
    const std::string reason = SaveReport(path, PlainReport(1714741330, 1, 0));
    umask(previous);
    ASSERT_EQ(reason, "");
    struct stat written {
    };
    ASSERT_EQ(stat(path.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 07777, 0600u);
}

TEST(ReportFile, ReplacesAnEarlierFileKeepingItsPermissions)
{
    TempDir folder;
    const std::string path = folder.Write("run.csv", "an older report that is much longer");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(SaveReport(path, PlainReport(1714741330, 1, 0)), "");
    EXPECT_EQ(Contents(path), ReportFileText(PlainReport(1714741330, 1, 0), ReportFormat::Csv));
    struct stat written {
    };
    ASSERT_EQ(stat(path.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 07777, 0640u);
}

TEST(ReportFile, AFileThatCannotBeWrittenGivesTheReasonAndLeavesNothing)
{
    TempDir folder;
    folder.Write("plain-file", "x");
    std::filesystem::create_directory(folder.Path("a-folder"));
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {folder.Path("missing/run.csv"), "No such file or directory"},
        {folder.Path("plain-file/run.csv"), "Not a directory"},
        {folder.Path("a-folder"), "Is a directory"},
        // Nobody may create files here, whoever runs the test.
        {"/proc/tarvik-run.csv", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        const std::string reason = SaveReport(c.path, TrickyReport());
        EXPECT_FALSE(reason.empty());
        if (!c.reason.empty()) {
            EXPECT_EQ(reason, c.reason);
        }
    }
    EXPECT_EQ(FilesIn(folder.Path("")), 2u);
    EXPECT_EQ(FilesIn(folder.Path("a-folder")), 0u);
}

// A disk that fills up halfway: the earlier file stays whole under its name and no part of the
// new one is left. The file size limit of a child process stands in for the full disk.
TEST(ReportFile, AWriteThatFailsHalfwayKeepsTheEarlierFile)
{
    TempDir folder;
    const std::string path = folder.Write("run.json", "the earlier report");
    RunReport large = PlainReport(1714741330, 2000, 3);
    ChildOutcome child = RunInChild([&](std::FILE *out) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::fputs(SaveReport(path, large).c_str(), out);
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.output, "File too large");
    EXPECT_EQ(Contents(path), "the earlier report");
    EXPECT_EQ(FilesIn(folder.Path("")), 1u);
}
