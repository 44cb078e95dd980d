// What became of one object of a run: one line of text, one CSV row or one JSON record.
#pragma once

#include <cstdint>
#include <string>

#include "server/ServerRecords.h"

struct ObjectReport {
    enum class Outcome { Restored, WouldRestore, Failed, Skipped, NotFound };
    // How its request restores it: a leaf, a container with its whole subtree or alone, or no
    // request of its own since a container above it is restored with its subtree.
    enum class Scope { None, Object, Subtree, Alone, InSubtree };

    std::string fullName;
    std::string version; // "newest" or the backup time in UTC
    Scope scope = Scope::None;
    Outcome outcome = Outcome::Skipped;
    std::string message;        // the server's, or why nothing was sent; in a dry run, what its
                                // restore would do ("add", "change 2 attributes", ...)
    BackupTime versionTime = 0; // the version picked; 0: the most recent
    bool withSubtree = false;   // with what lies below it (as a Marked object), or alone
    // 0 when restored (or it would be); the server's status when its own request failed;
    // otherwise kNotSent.
    int32_t status = 0;
    static constexpr int32_t kNotSent = -4;

    // The words the reports use: "restored", "would restore", "failed", "skipped", "not found";
    // "object", "subtree", "alone", "in subtree" and "" for no scope.
    static const char *OutcomeName(Outcome outcome);
    static const char *ScopeName(Scope scope);
};
