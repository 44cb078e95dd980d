// What the restore of each object of a run would do, and every other entry it writes.
#include "model/RestorePreview.h"

#include <algorithm>

#include "model/ObjectItem.h"
#include "model/TreeNode.h"

namespace
{
std::string ParentNameOf(const ObjectItem &object)
{
    const TreeNode *parent = object.Node() != nullptr ? object.Node()->Parent() : nullptr;
    return parent != nullptr ? static_cast<const ObjectItem *>(parent->Item())->FullName() : "";
}

// What a restore does to an entry the version holds: add it, change it, or nothing.
void Classify(PreviewLine &line, const ObjectDescription &description)
{
    line.compared = AttributeComparison::Of(description);
    if (!description.inBackup) {
        line.action = PreviewAction::CannotRestore;
        line.reason = "no backup holds this version";
    } else if (!description.live) {
        line.action = PreviewAction::Add;
        line.lacks = description.lacks;
    } else {
        line.changes = AttributeComparison::Changes(line.compared);
        line.action = line.changes > 0 ? PreviewAction::Change : PreviewAction::NothingToChange;
    }
}

PreviewLine EntryLine(const ObjectItem &object, BackupTime version, const WrittenEntry &entry)
{
    PreviewLine line;
    line.object = &object;
    line.name = entry.fullName;
    line.version = version;
    line.part = entry.parent ? PreviewPart::Parent : PreviewPart::Below;
    Classify(line, entry.description);
    return line;
}

std::string Counted(std::size_t count, const char *one, const char *more)
{
    return std::to_string(count) + (count == 1 ? one : more);
}

std::string AddCount(const PreviewCounts &counts)
{
    return std::to_string(counts.add) + " to add" +
           (counts.inPart > 0 ? " (" + std::to_string(counts.inPart) + " only in part)" : "");
}

// The action on the line's own entry.
std::string OwnAction(const PreviewLine &line)
{
    switch (line.action) {
    case PreviewAction::Add:
        return line.lacks.empty() ? "add" : "add without " + line.lacks;
    case PreviewAction::Change:
        return "change " + Counted(line.changes, " attribute", " attributes");
    case PreviewAction::NothingToChange:
        return "nothing to change";
    case PreviewAction::ParentMissing:
        return "cannot restore: its parent is missing and not marked";
    case PreviewAction::Restore:
        return "restore";
    default:
        return "cannot restore: " + line.reason;
    }
}
} // namespace

std::vector<PreviewLine> RestorePreview::Lines(const ObjectItem &object, BackupTime version,
                                               CheckState mark, const DescribedObject &described)
{
    std::vector<PreviewLine> lines = LinesOf(object, version, mark, described);
    for (const PreviewLine &line : lines) {
        if (line.action == PreviewAction::Add) {
            comingBack_.insert(line.name);
        }
    }
    return lines;
}

const PreviewLine &RestorePreview::OwnLine(const std::vector<PreviewLine> &lines)
{
    // Lines always holds the object's own line: after its parents, before its subtree.
    return *std::find_if(lines.begin(), lines.end(),
                         [](const PreviewLine &line) { return line.part == PreviewPart::Object; });
}

std::vector<PreviewLine> RestorePreview::LinesOf(const ObjectItem &object, BackupTime version,
                                                 CheckState mark,
                                                 const DescribedObject &described) const
{
    const bool parentComesBack = comingBack_.contains(ParentNameOf(object));
    PreviewLine own = LineOf(object, version, mark, described, parentComesBack);
    if (own.action == PreviewAction::ParentMissing || own.action == PreviewAction::CannotRestore ||
        own.action == PreviewAction::Restore) {
        return {own};
    }
    std::vector<PreviewLine> parents;
    std::vector<PreviewLine> below{own};
    for (const WrittenEntry &entry : described.entries) {
        // A parent that an earlier object of the run puts back is there by then.
        if (entry.parent && (parentComesBack || comingBack_.contains(entry.fullName))) {
            continue;
        }
        (entry.parent ? parents : below).push_back(EntryLine(object, version, entry));
    }
    PreviewLine &line = below.front();
    if (!described.entries.empty()) {
        line.addsParents = !parents.empty(); // the server names them
    }
    line.written = Count(below);
    line.inPart = Count(parents).inPart + line.written.inPart > 0;
    std::vector<PreviewLine> lines = std::move(parents);
    lines.insert(lines.end(), below.begin(), below.end());
    return lines;
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
    if (described.end == RequestEnd::NotOffered) {
        line.action = PreviewAction::Restore;
        return line;
    }
    if (described.end != RequestEnd::Answered) {
        line.action = PreviewAction::CannotRestore;
        line.reason = described.end == RequestEnd::NameTooLong
                          ? ServerClient::NameTooLongMessage(line.name)
                          : described.failure;
        return line;
    }
    Classify(line, description);
    if (line.action == PreviewAction::Add) {
        const bool parentThere =
            !description.parentMissing || description.parentAddable || parentComesBack;
        line.action = parentThere ? PreviewAction::Add : PreviewAction::ParentMissing;
        line.addsParents = description.parentMissing && !parentComesBack;
    }
    return line;
}

bool RestorePreview::Restorable(const PreviewLine &line)
{
    return (line.action == PreviewAction::Add || line.action == PreviewAction::Change ||
            line.action == PreviewAction::NothingToChange ||
            line.action == PreviewAction::Restore) &&
           !line.inPart && line.lacks.empty();
}

PreviewCounts RestorePreview::Count(const std::vector<PreviewLine> &lines)
{
    PreviewCounts counts;
    for (const PreviewLine &line : lines) {
        switch (line.action) {
        case PreviewAction::Add:
            ++counts.add;
            counts.inPart += line.lacks.empty() ? 0 : 1;
            break;
        case PreviewAction::Change:
            ++counts.change;
            break;
        case PreviewAction::NothingToChange:
            ++counts.unchanged;
            break;
        case PreviewAction::Restore:
            ++counts.unknown;
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
    std::string text = OwnAction(line);
    if (line.part == PreviewPart::Parent && line.object != nullptr) {
        return text + ", as the parent of " + line.object->FullName();
    }
    const bool written = line.action == PreviewAction::Add ||
                         line.action == PreviewAction::Change ||
                         line.action == PreviewAction::NothingToChange;
    if (line.part != PreviewPart::Object || !written) {
        return text;
    }
    if (line.addsParents) {
        text += ", after its missing parents";
    }
    if (line.subtree) {
        const PreviewCounts &counts = line.written;
        text += ", with its subtree: " + AddCount(counts) + ", " + std::to_string(counts.change) +
                " to change, " + std::to_string(counts.unchanged) + " unchanged";
    }
    return text;
}

std::string RestorePreview::CountsText(const PreviewCounts &counts)
{
    const std::string cannot = std::to_string(counts.cannot) + " cannot be restored";
    if (counts.unknown > 0) {
        return std::string(ServerClient::kCannotCompare) + " " +
               Counted(counts.unknown, " object", " objects") + " to restore, " + cannot + ".";
    }
    return AddCount(counts) + ", " + std::to_string(counts.change) + " to change, " +
           std::to_string(counts.unchanged) + " unchanged, " + cannot;
}
