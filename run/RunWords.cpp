#include "run/RunWords.h"

std::string RunWords::ParentAdded(std::string_view childName)
{
    return "added as the parent of " + std::string(childName);
}

std::string RunWords::Subtree(uint64_t added, uint64_t changed)
{
    return "with its subtree: " + std::to_string(added) + (added == 1 ? " object" : " objects") +
           " added, " + std::to_string(changed) + " changed";
}

std::string RunWords::RestoredNote(bool container, const std::optional<RestoreReport> &written)
{
    if (!written) {
        return {};
    }
    // Only a server that counts what it changed can say that nothing did.
    const bool nothing =
        written->addedCount == 0 && written->changedCount == 0 && written->parentsAdded.empty();
    if (written->changesCounted && nothing) {
        return kUnchanged;
    }
    // A leaf is always sent with its "subtree", which is the leaf alone.
    return written->subtree && container ? Subtree(written->addedCount, written->changedCount)
                                         : std::string();
}

std::string RunWords::BelowFailed(std::string_view name, bool preview)
{
    return "below " + std::string(name) +
           (preview ? ", which cannot be restored" : ", which failed");
}

std::string RunWords::AfterFailureOf(std::string_view name)
{
    return "after the failure of " + std::string(name);
}

std::string RunWords::EndedAt(std::string_view name)
{
    return "the run ended at the failure of " + std::string(name);
}

std::string RunWords::StoppedAfter(std::string_view name)
{
    return "the run was stopped after the failure of " + std::string(name);
}
