#include "tree/HistoryViewReactions.h"

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "model/TreeWalker.h"
#include "session/ServerSession.h"
#include "tree/OutlinePanel.h"
#include "tree/VersionItem.h"

HistoryViewReactions::HistoryViewReactions(OutlinePanel &panel, NodeList &versions,
                                           RestoreSelection &selection, ServerSession &session)
    : panel_(panel), versions_(versions), selection_(selection), session_(session)
{
}

void HistoryViewReactions::ShowHistory(ObjectItem &item)
{
    const ObjectItem::VersionFactory makeRow = [](ObjectItem &owner, BackupTime time) {
        return std::make_unique<VersionItem>(owner, time);
    };
    std::string unlisted;
    if (item.IsInformed()) {
        versions_.Clear(); // a program that is ending asks nothing more
    } else {
        const std::string name = item.FullName();
        std::optional<ObjectHistory> history = session_.Run<ObjectHistory>(
            "Reading the versions of " + name,
            [name](ServerClient &client, WorkerJob &) { return client.GetHistory(name); });
        if (history) {
            unlisted = item.ShowVersions(versions_, makeRow, std::move(*history));
        } else {
            versions_.Clear();
            unlisted = item.IsInformed() ? "" : kVersionsNotRead;
        }
    }
    MarksChanged(item);
    if (!unlisted.empty()) {
        // An empty list must not pass for an object without backups. The title is shortened in
        // its middle, so the reason at its end stays in view.
        panel_.SetTitle(item.FullName() + " : " + unlisted);
    }
}

void HistoryViewReactions::MarksChanged(ObjectItem &item)
{
    UpdateHistoryTitle(item);
    ShowChosenVersion(item);
}

void HistoryViewReactions::ShowChosenVersion(ObjectItem &item)
{
    auto *first = static_cast<VersionItem *>(versions_.ItemAt(0));
    if (first == nullptr || &first->Owner() != &item) {
        return; // the view lists another object's versions, or none
    }
    const BackupTime chosen = selection_.MostRecentOnly(item) ? 0 : item.ChosenVersion();
    TreeWalker walker(versions_);
    for (DisplayItem *row = walker.NextItem(); row; row = walker.NextItem()) {
        const BackupTime time = static_cast<VersionItem *>(row)->Time();
        row->SetCheckState(chosen != 0 && time == chosen ? Marked : Unmarked);
    }
}

// An object restored at its most recent version only offers no version to pick.
void HistoryViewReactions::UpdateHistoryTitle(ObjectItem &item)
{
    if (selection_.MostRecentOnly(item)) {
        panel_.SetTitle(kMostRecentOnly + item.FullName());
        panel_.Disable();
    } else {
        panel_.SetTitle(item.FullName());
        panel_.Enable();
    }
}

long HistoryViewReactions::CheckHdl(OutlinePanel &, const CheckClick &click)
{
    if (session_.TurnsAway()) {
        return 0; // nothing changes under a run
    }
    const int32_t clicked = click.row;
    auto *chosen = static_cast<VersionItem *>(versions_.ItemAt(static_cast<std::size_t>(clicked)));
    if (chosen == nullptr) {
        return 0;
    }
    // The clicked version is chosen, also when the click had just unticked its box.
    selection_.ChooseVersion(chosen->Owner(), chosen->Time());
    TreeWalker walker(versions_);
    int32_t row = 0;
    for (DisplayItem *version = walker.NextItem(); version; version = walker.NextItem(), ++row) {
        version->SetCheckState(row == clicked ? Marked : Unmarked);
    }
    return 1;
}

void HistoryViewReactions::Reset()
{
    panel_.SetTitle(kNoObjectTitle);
    panel_.Clear();
}
