// Times in the saved files and the journal: ISO 8601 with the writer's offset, read back to the
// same instant whatever the time zone.
#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <string>

#include "report/ReportTime.h"
#include "tests/support/core/ScopedEnvironment.h"

namespace
{

// The process's time zone for one test case, and the earlier one again after it.
class TimeZone
{
  public:
    explicit TimeZone(const char *zone) : variable_(std::in_place, "TZ", zone) { tzset(); }
    ~TimeZone()
    {
        variable_.reset();
        tzset();
    }

  private:
    std::optional<ScopedEnvironment> variable_;
};

} // namespace

TEST(ReportTime, ReadsTheInstantWhateverTheOffset)
{
    // 2024-01-01T00:00:00Z is 19723 days after 1970-01-01.
    const int64_t newYear2024 = 19723LL * 86400;
    const struct {
        const char *text;
        int64_t expected;
    } cases[] = {
        {"1970-01-01T00:00:00Z", 0},
        {"2024-01-01T00:00:00Z", newYear2024},
        {"2024-01-01T02:00:00+02:00", newYear2024},
        {"2023-12-31T18:15:00-05:45", newYear2024},
        {"2024-02-29T12:00:00Z", newYear2024 + 59 * 86400 + 12 * 3600},
        {"2106-02-07T06:28:15Z", 4294967295LL}, // the last second a backup time holds
        {"1969-12-31T23:59:59Z", -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseIsoTime(c.text), c.expected);
    }
}

TEST(ReportTime, RefusesAnythingButTheWholeForm)
{
    for (const char *text :
         {"", "2024-01-01", "2024-01-01T00:00:00", "2024-01-01 00:00:00Z", "2024-13-01T00:00:00Z",
          "2023-02-29T00:00:00Z", "2024-04-31T00:00:00Z", "2024-01-01T24:00:00Z",
          "2024-01-01T00:60:00Z", "2024-01-01T00:00:60Z", "2024-01-01T00:00:00+2:00",
          "2024-01-01T00:00:00+02:00x", "2024-01-01T00:00:00Zx", "2024-01-01T00:00:00+24:00",
          "+024-01-01T00:00:00Z", "2024-1-01T00:00:00Z", "2024-01-0aT00:00:00Z"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseIsoTime(text).has_value());
    }
}

TEST(ReportTime, WritesLocalTimeWithItsOffsetAndReadsItBack)
{
    const struct {
        const char *zone;
        int64_t time;
        const char *expected;
    } cases[] = {
        {"UTC0", 0, "1970-01-01T00:00:00+00:00"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 19723LL * 86400, "2024-01-01T01:00:00+01:00"},
        // In summer the same zone is two hours ahead.
        {"CET-1CEST,M3.5.0,M10.5.0/3", 19723LL * 86400 + 182 * 86400, "2024-07-01T02:00:00+02:00"},
        {"NPT-5:45", 19723LL * 86400, "2024-01-01T05:45:00+05:45"},
        {"EST5", 19723LL * 86400, "2023-12-31T19:00:00-05:00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.zone);
        TimeZone zone(c.zone);
        EXPECT_EQ(IsoTime(c.time), c.expected);
        EXPECT_EQ(ParseIsoTime(IsoTime(c.time)), c.time);
    }
}
