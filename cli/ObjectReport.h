// What became of one object of a run as the command line writes it: one line of text, one CSV
// row or one JSON record, made from the run's record of the object.
#pragma once

#include <string>
#include <vector>

#include "report/RunReport.h"

struct ObjectReport {
    using Outcome = ObjectOutcome;
    using Scope = ObjectScope;

    std::string fullName;
    std::string version; // "newest", the backup time in UTC, or what was asked when none fitted
    Scope scope = Scope::None;
    Outcome outcome = Outcome::Skipped;
    std::string message; // the server's, why nothing was sent, or what else a restore did; in
                         // a dry run, what its restore would do ("add", "change 2 attributes")

    static ObjectReport Of(const ReportedObject &object);
    static std::vector<ObjectReport> Of(const std::vector<ReportedObject> &objects);
    // The words the reports use: "restored", "would restore", "failed", "skipped", "not tried",
    // "not found"; "object", "subtree", "alone", "in subtree" and "" for no scope.
    static std::string OutcomeName(Outcome outcome);
    static std::string ScopeName(Scope scope);
};
