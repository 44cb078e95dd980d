// The record of one restore run: when it started and ended, on which backup server and as which
// user, what it was to do on errors, whether it ran to the end, and what was asked of every
// object and done with it, in the order the run met them. The saved files, the clipboard text,
// the journal of past runs and the command line's results are all made from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/OnError.h"

// What the object's request restores: a leaf, a container with its whole subtree or alone, or
// nothing of its own since a container above it is restored with its subtree (InSubtree); None
// for an object that was not found.
enum class ObjectScope { None, Object, Subtree, Alone, InSubtree };
// What became of the object. WouldRestore is a dry run's; NotTried an object the run did not
// come to because it was stopped.
enum class ObjectOutcome { Restored, WouldRestore, Failed, Skipped, NotTried, NotFound };

struct ReportedObject {
    // The status of an object for which no request went out (skipped, not tried, not found).
    static constexpr int32_t kNotSent = -4;

    std::string name;         // the object's full name, never cut
    uint32_t version = 0;     // the backup time asked for (and picked); 0: the most recent
    std::string versionAsked; // what was asked when no version could be picked ("<=2026-...")
    ObjectScope scope = ObjectScope::Object;
    ObjectOutcome outcome = ObjectOutcome::Restored;
    int32_t status = 0;  // 0 when restored; the server's status, or kNotSent
    std::string message; // when not restored, why: the server's reason, or why not sent
    std::string note;    // when restored, what else (parents added, counts, unchanged)

    bool Restored() const { return outcome == ObjectOutcome::Restored; }
};

struct RunReport {
    int64_t started = 0; // seconds since 1970-01-01 00:00 UTC
    int64_t ended = 0;
    std::string server;
    std::string user;
    OnError onError = OnError::Continue;
    bool ranToEnd = true; // false: the run was stopped (by Stop, "End" or "Abort")
    std::vector<ReportedObject> objects;

    std::size_t RestoredCount() const;
    std::size_t FailedCount() const; // not restored, whatever the reason
};

// An object's outcome as a restore's reply gives it (status 0: restored, else failed): the
// message is kept only on failure, the note only on success.
ReportedObject MakeReportedObject(std::string_view name, uint32_t version, ObjectScope scope,
                                  int32_t status, std::string_view message,
                                  std::string_view note = {});

// The texts the files use for the on-error choice (the options dialog's own words), an
// object's outcome and its scope; the Of functions read them back (a record's older words
// too).
std::string_view OnErrorText(OnError onError);
bool OnErrorOf(std::string_view text, OnError &onError);
std::string_view OutcomeText(ObjectOutcome outcome);
bool OutcomeOf(std::string_view text, ObjectOutcome &outcome);
std::string_view ScopeText(ObjectScope scope);
bool ScopeOf(std::string_view text, ObjectScope &scope);
inline constexpr std::string_view kMostRecentText = "most recent";
// The version as the files say it: "most recent", the time, or what was asked when nothing
// could be picked.
std::string ReportedVersionText(const ReportedObject &object);
inline constexpr std::string_view kRanToEndText = "ran to the end";
inline constexpr std::string_view kStoppedText = "stopped";
