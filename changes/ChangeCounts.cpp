// Counting a report's rows by kind.
#include "changes/ChangeCounts.h"

void ChangeCounts::Count(const ObjectChange &change)
{
    switch (change.change) {
    case ChangeKind::Deleted:
        ++deleted;
        break;
    case ChangeKind::Added:
        ++added;
        break;
    case ChangeKind::Modified:
        ++modified;
        break;
    case ChangeKind::Moved:
        ++moved;
        break;
    }
}

std::string ChangeCounts::Summary() const
{
    return std::to_string(Total()) + (Total() == 1 ? " change: " : " changes: ") +
           std::to_string(deleted) + " deleted, " + std::to_string(added) + " added, " +
           std::to_string(modified) + " modified, " + std::to_string(moved) + " moved";
}

ChangeCounts ChangeCounts::Of(const std::vector<ObjectChange> &rows)
{
    ChangeCounts counts;
    for (const ObjectChange &row : rows) {
        counts.Count(row);
    }
    return counts;
}
