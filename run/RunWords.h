// The words of a restore run's lines beside the server's own: what a restore did besides the
// object itself, and why an object was not restored. The window and the command line take them
// from here, so that their lines and records read the same.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/RestoreReport.h"

class RunWords
{
  public:
    static constexpr const char *kUnchanged = "unchanged: nothing differed";
    static constexpr const char *kStopped = "the run was stopped";
    static constexpr const char *kProgramEnding = "the program is ending";

    // "added as the parent of Bob.Sales.Marrowby"
    static std::string ParentAdded(std::string_view childName);
    // "with its subtree: 3 objects added, 1 changed"
    static std::string Subtree(uint64_t added, uint64_t changed);
    // The note of a restored object from what the server says it wrote (nothing when it does
    // not say): what a subtree's restore added and changed, or that nothing differed.
    static std::string RestoredNote(bool container, const std::optional<RestoreReport> &written);

    // Why an object below another was not sent: "below Sales.Marrowby, which failed" (in a
    // preview: "which cannot be restored"), or passed over at the user's word after a failure.
    static std::string BelowFailed(std::string_view name, bool preview);
    static std::string AfterFailureOf(std::string_view name);
    // Why the rest of a run was not tried: "the run ended at the failure of X" (the "end"
    // choice), "the run was stopped after the failure of X" (the user's answer).
    static std::string EndedAt(std::string_view name);
    static std::string StoppedAfter(std::string_view name);
};
