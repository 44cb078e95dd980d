// Reading what a user writes: backup times, version picks, objects, lists of objects and the
// command line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sstream>

#include "cli/CommandLine.h"
#include "cli/IsoTime.h"
#include "cli/ObjectList.h"
#include "cli/VersionPick.h"
#include "cli/WantedObject.h"

using testing::HasSubstr;

namespace
{
// Local time for the length of a test: Central European, with daylight time from the last Sunday
// of March to the last Sunday of October (a rule, so no time-zone files are needed).
class LocalZone
{
  public:
    explicit LocalZone(const char *zone)
    {
        if (const char *old = std::getenv("TZ")) {
            saved_ = old;
            had_ = true;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalZone()
    {
        if (had_) {
            setenv("TZ", saved_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    std::string saved_;
    bool had_ = false;
};

constexpr const char *kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

TEST(IsoTime, ReadsUtcOffsetsAndLocalTime)
{
    LocalZone zone(kCentralEurope);
    const struct {
        const char *text;
        BackupTime expected;
    } cases[] = {
        {"2026-11-30T02:00:00Z", 1796004000u},
        {"2026-11-30t02:00:00z", 1796004000u},
        {"2026-11-30T03:00:00+01:00", 1796004000u},
        {"2026-11-29T23:30:00-02:30", 1796004000u},
        {"2026-11-30T03:00:00", 1796004000u},  // winter: one hour ahead of UTC
        {"2026-07-01T14:00:00", 1782907200u},  // summer: two hours ahead
        {"2024-02-29T00:00:00Z", 1709164800u}, // a leap day
        {"1970-01-01T00:00:01Z", 1u},          // the first time that is not "newest"
        {"2106-02-07T06:28:15Z", 4294967295u}, // the last a backup time holds
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IsoTime::Parse(c.text), std::optional<BackupTime>(c.expected)) << c.text;
    }
}

TEST(IsoTime, RefusesWhatIsNoBackupTime)
{
    for (const char *text :
         {"", "newest", "2026-11-30", "2026-11-30T02:00Z", "2026-11-30 02:00:00Z",
          "2026-11-31T02:00:00Z", "2025-02-29T00:00:00Z", "2026-13-01T00:00:00Z",
          "2026-11-30T24:00:00Z", "2026-11-30T02:60:00Z", "2026-11-30T02:00:60Z",
          "2026-11-30T02:00:00ZZ", "2026-11-30T02:00:00+1", "2026-11-30T02:00:00+24:00",
          "1970-01-01T00:00:00Z", "1969-12-31T23:59:59Z", "2106-02-07T06:28:16Z",
          "+2026-11-30T02:00:00Z", "2026-11-3OT02:00:00Z"}) {
        EXPECT_EQ(IsoTime::Parse(text), std::nullopt) << text;
    }
}

TEST(IsoTime, WritesUtcThatReadsBackTheSame)
{
    for (BackupTime time : {1u, 1796004000u, 1709164800u, 4294967295u}) {
        const std::string text = IsoTime::Format(time);
        EXPECT_EQ(text.back(), 'Z');
        EXPECT_EQ(IsoTime::Parse(text), std::optional<BackupTime>(time)) << text;
    }
    EXPECT_EQ(IsoTime::Format(1796004000u), "2026-11-30T02:00:00Z");
}

TEST(VersionPick, ChoosesTheExactOrTheNewestAtOrBefore)
{
    const std::vector<BackupTime> times = {300, 100, 0, 200, 500};
    const auto pick = [](VersionPick::Kind kind, BackupTime time) {
        return VersionPick(kind, time);
    };
    using K = VersionPick::Kind;
    const struct {
        VersionPick pick;
        std::optional<BackupTime> expected;
    } cases[] = {
        {pick(K::Exact, 200), 200},
        {pick(K::Exact, 250), std::nullopt},
        {pick(K::AtOrBefore, 250), 200},
        {pick(K::AtOrBefore, 200), 200},
        {pick(K::AtOrBefore, 9999), 500},
        {pick(K::AtOrBefore, 99), std::nullopt},
        // 0 in a history is no version one can ask for: in a request it means the newest.
        {pick(K::Exact, 0), std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.pick.Choose(times), c.expected) << c.pick.Describe();
    }
    EXPECT_EQ(VersionPick().Choose(times), std::nullopt); // the server picks the newest itself
}

TEST(VersionPick, ReadsNewestExactAndAtOrBefore)
{
    EXPECT_EQ(VersionPick::Parse("newest"), VersionPick());
    EXPECT_EQ(VersionPick::Parse("2026-11-30T02:00:00Z"),
              VersionPick(VersionPick::Kind::Exact, 1796004000u));
    EXPECT_EQ(VersionPick::Parse("<=2026-11-30T02:00:00Z"),
              VersionPick(VersionPick::Kind::AtOrBefore, 1796004000u));
    for (const char *bad : {"", "Newest", "<=", "<=newest", "<2026-11-30T02:00:00Z",
                            "=<2026-11-30T02:00:00Z", "latest"}) {
        EXPECT_EQ(VersionPick::Parse(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(VersionPick(VersionPick::Kind::AtOrBefore, 1796004000u).Describe(),
              "<=2026-11-30T02:00:00Z");
}

TEST(WantedObject, ReadsNamesContainersAloneAndVersions)
{
    using K = VersionPick::Kind;
    const struct {
        const char *text;
        std::string name;
        bool alone;
        VersionPick version;
    } cases[] = {
        {"Object-3.Contain-1.Marrowby", "Object-3.Contain-1.Marrowby", false, {}},
        {"Sales.Marrowby/", "Sales.Marrowby", true, {}},
        {"Sales.Marrowby@newest", "Sales.Marrowby", false, {}},
        {"Sales.Marrowby/@2026-11-30T02:00:00Z", "Sales.Marrowby", true, {K::Exact, 1796004000u}},
        {"x.Marrowby@<=2026-11-30T02:00:00Z", "x.Marrowby", false, {K::AtOrBefore, 1796004000u}},
        // A name holding "@" is followed by a time, so the last "@" always starts it.
        {"a@b.Marrowby@newest", "a@b.Marrowby", false, {}},
        {"Bl\xC3\xA5"
         "b\xC3\xA6r.Marrowby",
         "Bl\xC3\xA5"
         "b\xC3\xA6r.Marrowby",
         false,
         {}},
    };
    for (const auto &c : cases) {
        std::string fault;
        const std::optional<WantedObject> wanted = WantedObject::Parse(c.text, fault);
        ASSERT_TRUE(wanted) << c.text << ": " << fault;
        EXPECT_EQ(wanted->fullName, c.name);
        EXPECT_EQ(wanted->alone, c.alone) << c.text;
        EXPECT_EQ(wanted->version, c.version) << c.text;
    }
}

TEST(WantedObject, RefusesNoNameAndTimesThatAreNone)
{
    const struct {
        const char *text;
        const char *said;
    } cases[] = {
        {"", "names no object"},
        {"/", "names no object"},
        {"@newest", "names no object"},
        {"a@b.Marrowby", "'b.Marrowby' is not a version"},
        {"Sales.Marrowby@2026-11-31T02:00:00Z", "is not a version"},
        {"Sales.Marrowby@", "'' is not a version"},
    };
    for (const auto &c : cases) {
        std::string fault;
        EXPECT_FALSE(WantedObject::Parse(c.text, fault)) << c.text;
        EXPECT_THAT(fault, HasSubstr(c.said)) << c.text;
    }
}

TEST(ObjectList, SkipsBlankAndCommentLinesAndTellsTheLineOfAFault)
{
    std::istringstream good("# from ticket 4711\r\n\r\nObject-1.Sales.Marrowby\r\n"
                            "   Sales.Marrowby/   \n\t# indented comment\nlast.Marrowby");
    std::string fault;
    const std::optional<std::vector<WantedObject>> wanted = ObjectList::Read(good, "list", fault);
    ASSERT_TRUE(wanted) << fault;
    ASSERT_EQ(wanted->size(), 3u);
    EXPECT_EQ((*wanted)[0].fullName, "Object-1.Sales.Marrowby");
    EXPECT_EQ((*wanted)[1].fullName, "Sales.Marrowby");
    EXPECT_TRUE((*wanted)[1].alone);
    EXPECT_EQ((*wanted)[2].fullName, "last.Marrowby");

    std::istringstream bad("a.Marrowby\n\nb.Marrowby@yesterday\nc.Marrowby\n");
    EXPECT_FALSE(ObjectList::Read(bad, "list.txt", fault));
    EXPECT_THAT(fault, HasSubstr("list.txt:3: "));
    EXPECT_THAT(fault, HasSubstr("yesterday"));

    std::istringstream empty("# nothing today\n\n");
    const std::optional<std::vector<WantedObject>> none = ObjectList::Read(empty, "list", fault);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}

TEST(CommandLine, ReadsEveryOption)
{
    std::string fault;
    const std::optional<RestoreOptions> options =
        CommandLine::Parse({"--server", "DIR1", "--user=admin.Marrowby", "--password-file", "/p",
                            "--on-error=end", "--dry-run", "--format", "json", "--output",
                            "out.json", "a.Marrowby", "--", "-odd.Marrowby"},
                           fault);
    ASSERT_TRUE(options) << fault;
    EXPECT_EQ(options->server, "DIR1");
    EXPECT_EQ(options->user, "admin.Marrowby");
    EXPECT_EQ(options->passwordFile, "/p");
    EXPECT_EQ(options->onError, OnError::End);
    EXPECT_TRUE(options->dryRun);
    EXPECT_EQ(options->format, OutputFormat::Json);
    EXPECT_EQ(options->output, "out.json");
    EXPECT_EQ(options->objects, (std::vector<std::string>{"a.Marrowby", "-odd.Marrowby"}));

    const std::optional<RestoreOptions> defaults = CommandLine::Parse({"--from", "-"}, fault);
    ASSERT_TRUE(defaults) << fault;
    EXPECT_EQ(defaults->onError, OnError::Continue);
    EXPECT_EQ(defaults->format, OutputFormat::Text);
    EXPECT_EQ(defaults->from, "-");
    EXPECT_FALSE(defaults->dryRun);

    const std::optional<RestoreOptions> search =
        CommandLine::Parse({"--find", "-odd*", "--format=csv", "--server", "DIR1"}, fault);
    ASSERT_TRUE(search) << fault;
    EXPECT_EQ(search->find, "-odd*");
    EXPECT_TRUE(search->objects.empty());
}

TEST(CommandLine, RefusesWhatMakesNoSense)
{
    const struct {
        std::vector<std::string> words;
        const char *said;
    } cases[] = {
        {{}, "no objects to restore"},
        {{"--dry-run"}, "no objects to restore"},
        {{"--bogus", "a.M"}, "unknown option --bogus"},
        {{"-x", "a.M"}, "unknown option -x"},
        {{"a.M", "--server"}, "--server needs a value"},
        {{"--server=", "a.M"}, "--server needs a value"},
        {{"--format", "xml", "a.M"}, "--format takes one of csv, json, objects, text, not 'xml'"},
        {{"--on-error", "retry", "a.M"}, "--on-error takes one of ask, continue, end"},
        {{"--server", "A", "--server", "B", "a.M"}, "--server is given twice"},
        {{"--from", "list", "a.M"}, "either --from or objects"},
        {{"--password-file", "/p", "a.M"}, "--password-file needs --user"},
        {{"--password", "secret", "a.M"}, "unknown option --password"},
        {{"--find", "ann", "a.M"}, "either --find or objects"},
        {{"--find", "ann", "--from", "list"}, "either --find or objects"},
        {{"--find", "ann", "--dry-run"}, "--find restores nothing"},
        {{"--find", "ann", "--on-error", "end"}, "--find restores nothing"},
        {{"--find"}, "--find needs a value"},
        {{"--find", "a", "--find", "b"}, "--find is given twice"},
    };
    for (const auto &c : cases) {
        std::string fault;
        EXPECT_FALSE(CommandLine::Parse(c.words, fault)) << c.said;
        EXPECT_THAT(fault, HasSubstr(c.said));
    }
}

TEST(CommandLine, HelpAndVersionNeedNothingElse)
{
    std::string fault;
    EXPECT_TRUE(CommandLine::Parse({"--help"}, fault)->help);
    EXPECT_TRUE(CommandLine::Parse({"-h"}, fault)->help);
    EXPECT_TRUE(CommandLine::Parse({"--version"}, fault)->version);
    EXPECT_THAT(CommandLine::Help(), HasSubstr(CommandLine::kUsage));
    EXPECT_THAT(CommandLine::VersionText(), HasSubstr("Version 1.0 (Pre-release 2)"));
}
} // namespace
