// Runs whose texts hold what files and journals must carry unchanged: commas, quotes, line
// breaks, tabs and characters beyond ASCII, in names and in the server's messages.
#pragma once

#include <string>

#include "report/RunReport.h"

inline RunReport TrickyReport()
{
    RunReport report;
    report.started = 1714741330; // 2024-05-03
    report.ended = 1714741395;
    report.server = "FS1, \"main\" site";
    report.user = "J\xC3\xB6rg.\xC3\x85lesund";
    report.onError = OnError::Ask;
    report.ranToEnd = false;
    ReportedObject notTried =
        MakeReportedObject("Later, \"next\".Marrowby", 1714000000, ObjectScope::Alone,
                           ReportedObject::kNotSent, "the run was stopped");
    notTried.outcome = ObjectOutcome::NotTried;
    ReportedObject notPicked =
        MakeReportedObject("Old.Marrowby", 0, ObjectScope::InSubtree, ReportedObject::kNotSent,
                           "no version at or before 2001-01-01T00:00:00Z; it has none");
    notPicked.versionAsked = "<=2001-01-01T00:00:00Z";
    ReportedObject notFound =
        MakeReportedObject("Nobody.Marrowby", 0, ObjectScope::None, ReportedObject::kNotSent,
                           "no object of that name below Marrowby");
    notFound.outcome = ObjectOutcome::NotFound;
    report.objects = {
        MakeReportedObject("Printer.Marrowby", 0, ObjectScope::Object, 0, "", ""),
        MakeReportedObject("Sales, East.Marrowby", 1714000000, ObjectScope::Subtree, 0, "",
                           "with its subtree: 3 objects added, 1 changed"),
        MakeReportedObject("\"Quoted\".Marrowby", 0, ObjectScope::Object, 5,
                           "Disk \"C\" is full, sorry", ""),
        MakeReportedObject("Line\nbreak.Marrowby", 1600000000, ObjectScope::Subtree, -3,
                           "first line\r\nsecond\tline", ""),
        MakeReportedObject("\xE6\x9D\xB1\xE4\xBA\xAC.Gr\xC3\xBC\xC3\x9F"
                           "e.Marrowby",
                           0, ObjectScope::Object, 7,
                           "Zugriff verweigert: \xE2\x80\x9E"
                           "kein Recht\xE2\x80\x9C",
                           ""),
        notTried,
        notPicked,
        notFound,
    };
    return report;
}

// Another run, told apart from the tricky one by its times, server and outcomes.
inline RunReport PlainReport(int64_t started, int objects, int failures)
{
    RunReport report;
    report.started = started;
    report.ended = started + 10;
    report.server = "FS" + std::to_string(started % 7);
    report.user = "admin";
    report.onError = OnError::Continue;
    for (int i = 0; i < objects; ++i) {
        const bool fails = i < failures;
        report.objects.push_back(
            MakeReportedObject("Object-" + std::to_string(i) + ".Marrowby", 0,
                               i % 2 == 0 ? ObjectScope::Subtree : ObjectScope::Alone,
                               fails ? 5 : 0, fails ? "Locked" : "", ""));
    }
    return report;
}

inline bool SameObject(const ReportedObject &a, const ReportedObject &b)
{
    return a.name == b.name && a.version == b.version && a.versionAsked == b.versionAsked &&
           a.scope == b.scope && a.outcome == b.outcome && a.status == b.status &&
           a.message == b.message && a.note == b.note;
}

inline void ExpectSameRun(const RunReport &actual, const RunReport &expected)
{
    EXPECT_EQ(actual.started, expected.started);
    EXPECT_EQ(actual.ended, expected.ended);
    EXPECT_EQ(actual.server, expected.server);
    EXPECT_EQ(actual.user, expected.user);
    EXPECT_EQ(actual.onError, expected.onError);
    EXPECT_EQ(actual.ranToEnd, expected.ranToEnd);
    ASSERT_EQ(actual.objects.size(), expected.objects.size());
    for (std::size_t i = 0; i < expected.objects.size(); ++i) {
        EXPECT_TRUE(SameObject(actual.objects[i], expected.objects[i]))
            << "object " << i << ": " << actual.objects[i].name;
    }
}
