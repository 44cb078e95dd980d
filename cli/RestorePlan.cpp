// Resolving, picking and marking the objects of a run, and what became of each.
#include "cli/RestorePlan.h"

#include <algorithm>
#include <functional>

#include "cli/IsoTime.h"
#include "cli/ObjectResolver.h"
#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "model/TreeNode.h"
#include "run/RunSteps.h"
#include "server/ServerClient.h"

namespace
{
using Outcome = ObjectOutcome;

// Enough of an object's versions to choose from; the newest first.
constexpr std::size_t kVersionsNamed = 5;

std::string VersionsHeld(std::vector<BackupTime> times)
{
    times.erase(std::remove(times.begin(), times.end(), BackupTime{0}), times.end());
    if (times.empty()) {
        return "it has no versions";
    }
    std::sort(times.begin(), times.end(), std::greater<>());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    std::string held = "it has ";
    for (std::size_t i = 0; i < times.size() && i < kVersionsNamed; ++i) {
        held += (i == 0 ? "" : ", ") + IsoTime::Format(times[i]);
    }
    if (times.size() > kVersionsNamed) {
        held += " and " + std::to_string(times.size() - kVersionsNamed) + " older";
    }
    return held;
}

std::size_t Depth(const ObjectItem &object)
{
    std::size_t depth = 0;
    for (const TreeNode *node = object.Node()->Parent(); node != nullptr; node = node->Parent()) {
        ++depth;
    }
    return depth;
}

RestorePlan::Entry EntryFor(const WantedObject &wanted)
{
    RestorePlan::Entry entry;
    entry.wanted = wanted;
    return entry;
}

const ObjectItem *CoveringContainer(const ObjectItem &object)
{
    for (const TreeNode *node = object.Node()->Parent(); node != nullptr; node = node->Parent()) {
        if (node->Item()->OwnCheckState() == Marked) {
            return static_cast<const ObjectItem *>(node->Item());
        }
    }
    return nullptr;
}
} // namespace

RestorePlan::RestorePlan(RestoreSelection &selection, ObjectItem &top, ServerClient &client)
    : selection_(selection), top_(top), client_(client)
{
}

bool RestorePlan::Prepare(const std::vector<WantedObject> &wanted, const ProgressHdl &progress,
                          const StopCheck &stop)
{
    ObjectResolver resolver(top_);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (stop && stop()) {
            // Every object asked for is reported: these were never looked for.
            for (; i < wanted.size(); ++i) {
                entries_.push_back(EntryFor(wanted[i]));
            }
            return false;
        }
        if (progress) {
            progress(i + 1, wanted.size(), wanted[i].fullName);
        }
        const ObjectResolver::Found found = resolver.Resolve(wanted[i].fullName);
        Entry entry = EntryFor(wanted[i]);
        if (found.object == nullptr) {
            Settle(entry, found.uncertain ? Outcome::Failed : Outcome::NotFound, found.reason);
            entries_.push_back(std::move(entry));
            continue;
        }
        entry.object = found.object;
        AddFound(std::move(entry));
    }
    MarkAll();
    return true;
}

void RestorePlan::AddFound(Entry entry)
{
    if (const auto known = byObject_.find(entry.object); known != byObject_.end()) {
        const Entry &first = entries_[known->second];
        if (first.wanted.alone == entry.wanted.alone &&
            first.wanted.version == entry.wanted.version) {
            return; // the same object asked for again: one request, one report
        }
        Settle(entry, Outcome::Failed,
               "also asked for as " + first.wanted.Text() + ": an object is restored once");
        entries_.push_back(std::move(entry));
        return;
    }
    if (entry.wanted.alone && !entry.object->IsContainer()) {
        Settle(entry, Outcome::Failed,
               "not a container: without the trailing / the object itself is restored");
    } else {
        PickVersion(entry);
    }
    byObject_.emplace(entry.object, entries_.size());
    entries_.push_back(std::move(entry));
}

bool RestorePlan::PickVersion(Entry &entry)
{
    if (entry.wanted.version.IsNewest()) {
        return true;
    }
    const std::string name = entry.object->FullName();
    ObjectHistory history = client_.GetHistory(name);
    if (history.end == RequestEnd::NameTooLong) {
        Settle(entry, Outcome::Failed, ServerClient::NameTooLongMessage(name));
        return false;
    }
    if (history.end != RequestEnd::Answered) {
        Settle(entry, Outcome::Failed, "the backup server gave no versions of it");
        return false;
    }
    const std::optional<BackupTime> chosen = entry.wanted.version.Choose(history.times);
    if (!chosen) {
        const bool exact = entry.wanted.version.GetKind() == VersionPick::Kind::Exact;
        Settle(entry, Outcome::Failed,
               std::string(exact ? "no version at " : "no version at or before ") +
                   entry.wanted.version.Describe().substr(exact ? 0 : 2) + "; " +
                   VersionsHeld(std::move(history.times)));
        return false;
    }
    entry.version = *chosen;
    return true;
}

// Marks from the top down, so that a container's mark never takes away the marks of objects
// asked for below it (the window's rule when a container's box is ticked), and an object below a
// container restored with its subtree is covered by it whatever the order asked.
void RestorePlan::MarkAll()
{
    std::vector<Entry *> marked;
    for (auto &[object, index] : byObject_) {
        if (!entries_[index].settled) {
            marked.push_back(&entries_[index]);
        }
    }
    std::sort(marked.begin(), marked.end(), [](const Entry *a, const Entry *b) {
        return Depth(*a->object) < Depth(*b->object) ||
               (Depth(*a->object) == Depth(*b->object) && a < b);
    });
    // Which objects may take a version of their own is the selection's rule: each is tried on
    // its own before anything is marked.
    for (Entry *entry : marked) {
        if (entry->wanted.version.IsNewest()) {
            continue;
        }
        ObjectItem &object = *entry->object;
        selection_.Mark(object, entry->wanted.alone ? MarkedAlone : Marked);
        const bool mostRecentOnly = selection_.MostRecentOnly(object);
        selection_.Clear(object);
        if (mostRecentOnly) {
            Settle(*entry, Outcome::Failed,
                   "a container restored with its whole subtree is restored at its most recent "
                   "version; " +
                       entry->wanted.fullName + "/ restores the container alone at a version");
        }
    }
    for (Entry *entry : marked) {
        if (!entry->settled) {
            selection_.Mark(*entry->object, entry->wanted.alone ? MarkedAlone : Marked);
        }
    }
    for (Entry *entry : marked) {
        if (!entry->settled) {
            selection_.ChooseVersion(*entry->object, entry->version);
        }
    }
    SettleCovered();
}

void RestorePlan::SettleCovered()
{
    for (Entry &entry : entries_) {
        if (entry.settled || entry.object == nullptr || !entry.object->IsCovered()) {
            continue;
        }
        const ObjectItem *container = CoveringContainer(*entry.object);
        if (container != nullptr) {
            entry.coveredBy = byObject_.at(container);
        }
        if (!entry.wanted.version.IsNewest() || container == nullptr) {
            Settle(entry, Outcome::Failed,
                   "inside " + (container ? container->FullName() : std::string("a container")) +
                       ", which is restored with its whole subtree at its most recent version");
        }
    }
}

RestorePlan::Entry *RestorePlan::EntryOf(const ObjectItem &object)
{
    const auto found = byObject_.find(&object);
    return found != byObject_.end() ? &entries_[found->second] : nullptr;
}

void RestorePlan::Settle(Entry &entry, ObjectOutcome outcome, std::string message)
{
    entry.settled = true;
    entry.outcome = outcome;
    entry.message = std::move(message);
}

void RestorePlan::TakeRun(const RunSteps &steps)
{
    for (std::size_t i = 0; i < steps.Lines().size(); ++i) {
        if (Entry *entry = EntryOf(*steps.OwnerOf(i)); entry != nullptr && !entry->settled) {
            entry->lines.push_back(steps.Lines()[i]);
        }
    }
    for (Entry &entry : entries_) {
        if (!entry.lines.empty()) {
            entry.settled = true;
        }
    }
    for (Entry &entry : entries_) {
        if (!entry.settled && entry.coveredBy != kNone) {
            SettleFromContainer(entry);
        }
    }
}

void RestorePlan::SettleTheRest(const std::string &why)
{
    for (Entry &entry : entries_) {
        if (!entry.settled) {
            Settle(entry, Outcome::NotTried, why);
        }
    }
}

// An object inside a container restored with its whole subtree shares what became of it.
void RestorePlan::SettleFromContainer(Entry &entry)
{
    const Entry &container = entries_[entry.coveredBy];
    if (container.lines.empty()) {
        return;
    }
    const ReportedObject &own = container.lines.back();
    const std::string &name = container.wanted.fullName;
    switch (own.outcome) {
    case Outcome::Restored:
        Settle(entry, Outcome::Restored, "restored with " + name);
        break;
    case Outcome::WouldRestore:
        Settle(entry, Outcome::WouldRestore, "would be restored with " + name);
        break;
    case Outcome::Failed:
        Settle(entry, Outcome::Failed,
               "with " + name +
                   (own.status == ReportedObject::kNotSent ? ": " : ", which failed: ") +
                   own.message);
        break;
    default:
        Settle(entry, own.outcome, "with " + name + ": " + own.message);
        break;
    }
}

ReportedObject RestorePlan::Record(const Entry &entry) const
{
    ReportedObject record;
    record.name = entry.object ? entry.object->FullName() : entry.wanted.fullName;
    record.version = entry.version;
    if (entry.version == 0 && !entry.wanted.version.IsNewest()) {
        record.versionAsked = entry.wanted.version.Describe(); // none could be picked
    }
    if (entry.object == nullptr) {
        record.scope = ObjectScope::None;
    } else if (entry.coveredBy != kNone) {
        record.scope = ObjectScope::InSubtree;
    } else if (!entry.object->IsContainer()) {
        record.scope = ObjectScope::Object;
    } else {
        record.scope = entry.wanted.alone ? ObjectScope::Alone : ObjectScope::Subtree;
    }
    record.outcome = entry.outcome;
    const bool done = entry.outcome == Outcome::Restored || entry.outcome == Outcome::WouldRestore;
    record.status = done ? 0 : ReportedObject::kNotSent;
    (entry.outcome == Outcome::Restored ? record.note : record.message) = entry.message;
    return record;
}

std::vector<ReportedObject> RestorePlan::Records(const NodeList &forest) const
{
    std::vector<std::pair<std::size_t, std::size_t>> order; // (row, entry)
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::size_t row =
            entries_[i].object ? forest.RowOf(*entries_[i].object->Node()) : NodeList::NoPosition;
        order.emplace_back(row, i);
    }
    std::stable_sort(order.begin(), order.end());
    std::vector<ReportedObject> records;
    records.reserve(order.size());
    for (const auto &[row, index] : order) {
        const Entry &entry = entries_[index];
        if (entry.lines.empty()) {
            records.push_back(Record(entry));
        } else {
            records.insert(records.end(), entry.lines.begin(), entry.lines.end());
        }
    }
    return records;
}
