// A change of a report as a test expects it, made short to write and printed readably when an
// expectation fails; and a whole report taken from a server through the client.
#pragma once

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "changes/ChangeFilter.h"
#include "server/ChangeRun.h"
#include "server/ObjectChange.h"

inline void PrintTo(const ObjectChange &change, std::ostream *out)
{
    *out << ChangeFilter::NameOf(change.change) << " " << change.fullName
         << (change.container ? " (container)" : " (leaf)");
    if (!change.oldName.empty()) {
        *out << " from " << change.oldName << (change.oldNameFree ? " (free)" : " (taken)");
    }
    for (const std::string &name : change.attributes) {
        *out << " " << name;
    }
    if (change.deletedAt != 0) {
        *out << " at " << change.deletedAt;
    }
}

inline ObjectChange Deleted(std::string name, bool container = false, BackupTime at = 0)
{
    return ObjectChange{ChangeKind::Deleted, std::move(name), {}, container, {}, at, false};
}

inline ObjectChange Added(std::string name, bool container = false)
{
    return ObjectChange{ChangeKind::Added, std::move(name), {}, container, {}, 0, false};
}

inline ObjectChange Modified(std::string name, std::vector<std::string> attributes,
                             bool container = false)
{
    return ObjectChange{
        ChangeKind::Modified, std::move(name), {}, container, std::move(attributes), 0, false};
}

inline ObjectChange Moved(std::string name, std::string from, std::vector<std::string> attributes,
                          bool oldNameFree = true, bool container = false)
{
    return ObjectChange{ChangeKind::Moved, std::move(name),       std::move(from),
                        container,         std::move(attributes), 0,
                        oldNameFree};
}

// Every change of a report, its attribute names sorted (the order is the server's own); the
// end goes to `end` and a failure's reason to `failure`.
inline std::vector<ObjectChange> ChangesOf(ChangeRun &run, RequestEnd &end, std::string &failure,
                                           const ServerClient::StopCheck &stop = {})
{
    std::vector<ObjectChange> changes;
    while (run.Next(
        16,
        [&](ObjectChange &&change) {
            std::sort(change.attributes.begin(), change.attributes.end());
            changes.push_back(std::move(change));
        },
        stop)) {
    }
    end = run.End();
    failure = run.Failure();
    return changes;
}
