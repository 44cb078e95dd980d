// From a report's rows to the marks of a restore.
#include "changes/ChangeMarks.h"

#include <algorithm>

namespace
{
bool IsBelow(const std::string &fullName, const std::string &container)
{
    return fullName.size() > container.size() + 1 && fullName.ends_with(container) &&
           fullName[fullName.size() - container.size() - 1] == '.';
}
} // namespace

// A deleted container whose deleted objects are rows of their own comes back alone at the earlier
// version, and they with it; one without them comes back with its subtree, which a restore takes
// at its most recent version.
std::vector<ChangeMark> ChangeMarks::Of(const std::vector<const ObjectChange *> &rows,
                                        std::vector<UnmarkedChange> &unmarked)
{
    std::vector<const std::string *> deleted;
    for (const ObjectChange *row : rows) {
        if (row->change == ChangeKind::Deleted) {
            deleted.push_back(&row->fullName);
        }
    }
    const auto holdsDeletedRows = [&](const std::string &container) {
        return std::any_of(deleted.begin(), deleted.end(), [&](const std::string *fullName) {
            return IsBelow(*fullName, container);
        });
    };
    std::vector<ChangeMark> marks;
    for (const ObjectChange *row : rows) {
        switch (row->change) {
        case ChangeKind::Deleted:
            marks.push_back(
                {row->fullName, row->container && !holdsDeletedRows(row->fullName), row});
            break;
        case ChangeKind::Modified:
            marks.push_back({row->fullName, false, row});
            break;
        case ChangeKind::Moved:
            if (row->oldNameFree) {
                marks.push_back({row->oldName, false, row});
            } else {
                unmarked.push_back({row, kOldNameTaken});
            }
            break;
        case ChangeKind::Added:
            unmarked.push_back({row, kAddedOnly});
            break;
        }
    }
    return marks;
}

std::string ChangeMarks::ObjectLine(const ChangeMark &mark, const std::string &version)
{
    if (mark.subtree) {
        return mark.object;
    }
    const bool alone = mark.row != nullptr && mark.row->container;
    return mark.object + (alone ? "/" : "") + "@" + version;
}
