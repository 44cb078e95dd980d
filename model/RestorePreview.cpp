// What the restore of each object of a run would do.
#include "model/RestorePreview.h"

#include "model/ObjectItem.h"
#include "model/TreeNode.h"

namespace
{
const ObjectItem *ParentOf(const ObjectItem &object)
{
    const TreeNode *parent = object.Node() != nullptr ? object.Node()->Parent() : nullptr;
    return parent != nullptr ? static_cast<const ObjectItem *>(parent->Item()) : nullptr;
}
} // namespace

PreviewLine RestorePreview::Line(const ObjectItem &object, BackupTime version, CheckState mark,
                                 const DescribedObject &described)
{
    const bool parentComesBack = comingBack_.contains(ParentOf(object));
    PreviewLine line = LineOf(object, version, mark, described, parentComesBack);
    if (line.action == PreviewAction::Add) {
        comingBack_.insert(&object);
    }
    return line;
}

PreviewLine RestorePreview::LineOf(const ObjectItem &object, BackupTime version, CheckState mark,
                                   const DescribedObject &described, bool parentComesBack) const
{
    PreviewLine line;
    line.object = &object;
    line.name = object.FullName();
    line.version = version;
    line.subtree = mark == Marked && object.IsContainer();
    const ObjectDescription &description = described.description;
    if (described.end != RequestEnd::Answered) {
        line.action = PreviewAction::CannotRestore;
        line.reason = described.end == RequestEnd::NameTooLong
                          ? ServerClient::NameTooLongMessage(line.name)
                          : described.failure;
        return line;
    }
    line.compared = AttributeComparison::Of(description);
    if (!description.inBackup) {
        line.action = PreviewAction::CannotRestore;
        line.reason = "no backup holds this version";
    } else if (!description.live) {
        const bool parentThere =
            !description.parentMissing || description.parentAddable || parentComesBack;
        line.action = parentThere ? PreviewAction::Add : PreviewAction::ParentMissing;
        line.addsParents = description.parentMissing && !parentComesBack;
    } else {
        line.changes = AttributeComparison::Changes(line.compared);
        line.action = line.changes > 0 ? PreviewAction::Change : PreviewAction::NothingToChange;
    }
    return line;
}

bool RestorePreview::Restorable(const PreviewLine &line)
{
    return line.action == PreviewAction::Add || line.action == PreviewAction::Change ||
           line.action == PreviewAction::NothingToChange;
}

PreviewCounts RestorePreview::Count(const std::vector<PreviewLine> &lines)
{
    PreviewCounts counts;
    for (const PreviewLine &line : lines) {
        switch (line.action) {
        case PreviewAction::Add:
            ++counts.add;
            break;
        case PreviewAction::Change:
            ++counts.change;
            break;
        case PreviewAction::NothingToChange:
            ++counts.unchanged;
            break;
        default:
            ++counts.cannot;
            break;
        }
    }
    return counts;
}

std::string RestorePreview::ActionText(const PreviewLine &line)
{
    const std::string below = line.subtree ? ", with everything below it" : "";
    switch (line.action) {
    case PreviewAction::Add:
        return (line.addsParents ? "add, after its missing parents" : "add") + below;
    case PreviewAction::Change:
        return "change " + std::to_string(line.changes) +
               (line.changes == 1 ? " attribute" : " attributes") + below;
    case PreviewAction::NothingToChange:
        return "nothing to change" + below;
    case PreviewAction::ParentMissing:
        return "cannot restore: its parent is missing and not marked";
    default:
        return "cannot restore: " + line.reason;
    }
}

std::string RestorePreview::CountsText(const PreviewCounts &counts)
{
    return std::to_string(counts.add) + " to add, " + std::to_string(counts.change) +
           " to change, " + std::to_string(counts.unchanged) + " unchanged, " +
           std::to_string(counts.cannot) + " cannot be restored";
}
