// The record of one restore run: when it started and ended, on which backup server and as which
// user, what it was to do on errors, whether it ran to the end, and the outcome of every object
// in the order the run met them. The saved files, the clipboard text and the journal of past
// runs are all made from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/OnErrorMode.h"

struct ReportedObject {
    std::string name;         // the object's full name, never cut
    uint32_t version = 0;     // the backup time asked for; 0: the most recent version
    bool withSubtree = false; // restored with its subtree, or alone
    int32_t status = 0;       // the server's status: 0 = restored
    std::string message;      // on failure, the server's message
    std::string note;         // on success, what else the restore did (parents added, counts)

    bool Restored() const { return status == 0; }
};

struct RunReport {
    int64_t started = 0; // seconds since 1970-01-01 00:00 UTC
    int64_t ended = 0;
    std::string server;
    std::string user;
    OnErrorMode onError = OnErrorContinue;
    bool ranToEnd = true; // false: the run was stopped (by "End" or "Abort")
    std::vector<ReportedObject> objects;

    std::size_t RestoredCount() const;
    std::size_t FailedCount() const;
};

// An object's outcome as the run records it: the message is kept only on failure, the note only
// on success.
ReportedObject MakeReportedObject(std::string_view name, uint32_t version, bool withSubtree,
                                  int32_t status, std::string_view message,
                                  std::string_view note = {});

// The texts the files use for the on-error choice (the options dialog's own words), an
// object's outcome and its scope; the Of functions read them back.
std::string_view OnErrorText(OnErrorMode mode);
bool OnErrorOf(std::string_view text, OnErrorMode &mode);
inline constexpr std::string_view kRestoredText = "restored";
inline constexpr std::string_view kFailedText = "failed";
inline constexpr std::string_view kWithSubtreeText = "with its subtree";
inline constexpr std::string_view kAloneText = "alone";
inline constexpr std::string_view kMostRecentText = "most recent";
inline constexpr std::string_view kRanToEndText = "ran to the end";
inline constexpr std::string_view kStoppedText = "stopped";
