// One changed object of a change report as plain values: what a backend finds and what the
// client hands to its callers.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "server/ServerRecords.h"

enum class ChangeKind { Deleted, Added, Modified, Moved };

struct ObjectChange {
    ChangeKind change = ChangeKind::Modified;
    std::string fullName; // at the later point; a deleted object's as it was
    std::string oldName;  // moved: at the earlier point
    bool container = false;
    // Modified or moved: the user attributes whose values differ (names only, never values).
    std::vector<std::string> attributes;
    BackupTime deletedAt = 0; // deleted: when, where the server knows it
    bool oldNameFree = false; // moved: no object holds the old name at the later point

    bool operator==(const ObjectChange &) const = default;

    static ObjectChange Of(ChangeKind kind, std::string fullName, bool container)
    {
        ObjectChange change;
        change.change = kind;
        change.fullName = std::move(fullName);
        change.container = container;
        return change;
    }
};
