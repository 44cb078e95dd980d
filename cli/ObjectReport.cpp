// The words of the reports.
#include "cli/ObjectReport.h"

const char *ObjectReport::OutcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Restored:
        return "restored";
    case Outcome::WouldRestore:
        return "would restore";
    case Outcome::Failed:
        return "failed";
    case Outcome::Skipped:
        return "skipped";
    case Outcome::NotFound:
        return "not found";
    }
    return "";
}

const char *ObjectReport::ScopeName(Scope scope)
{
    switch (scope) {
    case Scope::Object:
        return "object";
    case Scope::Subtree:
        return "subtree";
    case Scope::Alone:
        return "alone";
    case Scope::InSubtree:
        return "in subtree";
    case Scope::None:
        break;
    }
    return "";
}
