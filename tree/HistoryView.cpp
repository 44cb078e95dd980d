#include "tree/HistoryView.h"

#include "toolkit/WaitPointer.h"
#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "tree/OutlinePanel.h"
#include "model/TreeWalker.h"
#include "tree/VersionItem.h"

HistoryView::HistoryView(OutlinePanel &panel, NodeList &versions)
    : panel_(panel), versions_(versions)
{
}

void HistoryView::ShowHistory(ObjectItem &item)
{
    {
        WaitPointer wait;
        item.FillVersions(versions_, [](ObjectItem &owner, BackupTime time) {
            return std::make_unique<VersionItem>(owner, time);
        });
    }
    UpdateHistoryTitle(item);
    panel_.RefreshAll();
}

// An object covered by a Marked container, or such a container itself, is restored at its most
// recent version only: then no version can be picked.
void HistoryView::UpdateHistoryTitle(ObjectItem &item)
{
    const bool mostRecentOnly =
        !item.IsEnabled() || (item.IsContainer() && item.GetCheckState() == Marked);
    if (mostRecentOnly) {
        panel_.SetTitle(kMostRecentOnly + item.FullName());
        panel_.Disable();
    } else {
        panel_.SetTitle(item.FullName());
        panel_.Enable();
    }
}

long HistoryView::CheckHdl(OutlinePanel &panel)
{
    const int32_t clicked = panel.ClickedRow();
    TreeWalker walker(versions_);
    int32_t row = 0;
    for (DisplayItem *version = walker.NextItem(); version; version = walker.NextItem(), ++row) {
        version->SetCheckState(row == clicked ? Marked : Unmarked);
    }
    panel.RefreshCheckColumn();
    return 1;
}

void HistoryView::Refresh() { panel_.RefreshAll(); }

void HistoryView::Reset()
{
    panel_.SetTitle(kNoObjectTitle);
    panel_.Clear();
}
