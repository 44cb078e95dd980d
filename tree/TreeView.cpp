#include "tree/TreeView.h"

#include "restore/server/BackupServer.h"
#include "toolkit/MessageBox.h"
#include "toolkit/WaitPointer.h"
#include "tree/HistoryView.h"
#include "tree/NodeList.h"
#include "tree/ObjectItem.h"
#include "tree/OutlinePanel.h"
#include "tree/TreeNode.h"
#include "tree/TreeViewHost.h"
#include "tree/TreeWalker.h"

namespace
{
constexpr std::chrono::microseconds kReclaimSlice{1000};
} // namespace

TreeView::TreeView(OutlinePanel &panel, NodeList &forest, HistoryView &history, TreeViewHost &host)
    : panel_(panel), forest_(forest), history_(history), host_(host)
{
    reclaimTimer_.SetTimeout(0);
    reclaimTimer_.SetTimeoutHdl([this](Timer &timer) {
        if (reclaimer_.ReclaimFor(kReclaimSlice)) {
            timer.Start();
        }
        return 1L;
    });
    reclaimer_.SetWorkHdl([this] { reclaimTimer_.Start(); });
    forest_.SetReclaimer(&reclaimer_);
}

TreeView::~TreeView()
{
    forest_.SetReclaimer(nullptr);
}

ObjectItem *TreeView::TopItem() const
{
    return static_cast<ObjectItem *>(forest_.ItemAt(0));
}

ObjectItem *TreeView::SelectedItem() const
{
    return static_cast<ObjectItem *>(forest_.ItemAt(static_cast<size_t>(panel_.SelectedRow())));
}

void TreeView::SetTopContext(const std::string &name, BackupServer *server,
                             MW_SIGTERMClientList *registry)
{
    panel_.SetTitle(name);
    panel_.Clear();
    history_.Reset();
    topContext_ = name;
    auto top = std::make_unique<ObjectItem>(name, DisplayItem::ContainerKind, server, registry);
    ObjectItem &item = *top;
    forest_.AppendItem(std::move(top));
    OpenWithWarning(item);
    panel_.RefreshAll();
    host_.UpdateCounts();
}

// A container whose full name does not fit a request, or that the server could not list, stays
// closed, and the user is told why; opening it again asks the server again. A listing that the
// server cut short is opened, and the user is told so.
void TreeView::OpenWithWarning(ObjectItem &item)
{
    ObjectItem::OpenResult result;
    std::string failure;
    {
        WaitPointer wait;
        result = item.Open(failure);
    }
    if (result == ObjectItem::OpenResult::NameTooLong) {
        WarningBox(host_.QueryParent(), WB_OK, ObjectItem::NameTooLongMessage(item.FullName()))
            .Execute();
        return;
    }
    if (result == ObjectItem::OpenResult::Failed) {
        ErrorBox(host_.QueryParent(), WB_OK,
                 kUnableToOpenContainer + item.FullName() + "\n" + failure)
            .Execute();
        return;
    }
    // A listing the server cut short must not pass for a whole one.
    const std::string note = result == ObjectItem::OpenResult::Opened && item.Server() != nullptr
                                 ? item.Server()->TakeListingNote()
                                 : std::string();
    if (!note.empty()) {
        WarningBox(host_.QueryParent(), WB_OK, note).Execute();
    }
}

long TreeView::SelectHdl(OutlinePanel &)
{
    ObjectItem *item = SelectedItem();
    if (!item) {
        return 0;
    }
    UpdateSubtreeEntry(item);
    history_.ShowHistory(*item);
    host_.UpdateCounts();
    return 1;
}

long TreeView::OpenHdl(OutlinePanel &)
{
    ObjectItem *item = SelectedItem();
    if (!item || !item->IsContainer()) {
        return 0;
    }
    if (item->IsOpen()) {
        bool close = item->GetCheckState() == Marked || !item->HasMarkedDescendant();
        if (!close) {
            close = QueryBox(host_.QueryParent(), WB_YES_NO, kCloseQuery).Execute() == RET_YES;
        }
        if (close) {
            item->Close();
        }
    } else {
        OpenWithWarning(*item);
    }
    panel_.RefreshFromRow(panel_.SelectedRow());
    host_.UpdateCounts();
    return 1;
}

void TreeView::ApplyChildDefaults(ObjectItem &item)
{
    if (!item.Node()) {
        return;
    }
    CheckState state;
    bool enabled;
    item.ChildDefaults(state, enabled);
    TreeWalker walker(item.Node()->Children());
    for (DisplayItem *child = walker.NextItem(); child; child = walker.NextItem()) {
        child->SetCheckState(state);
        child->SetEnabled(enabled);
    }
}

long TreeView::CheckHdl(OutlinePanel &panel)
{
    const int32_t row = panel.ClickedRow();
    auto *item = static_cast<ObjectItem *>(forest_.ItemAt(static_cast<size_t>(row)));
    if (!item) {
        return 0;
    }
    ObjectItem *current = SelectedItem();
    item->SetCheckState(static_cast<CheckState>(panel.ClickedState()));
    if (item->IsContainer()) {
        ApplyChildDefaults(*item);
        panel_.RefreshCheckColumnFromRow(row);
        if (current) {
            history_.UpdateHistoryTitle(*current);
        }
        history_.Refresh();
    }
    UpdateSubtreeEntry(current);
    host_.UpdateCounts();
    return 1;
}

bool TreeView::ClearBelow(ObjectItem &item)
{
    if (item.GetCheckState() == Unmarked && !item.HasMarkedDescendant()) {
        return false;
    }
    if (QueryBox(host_.QueryParent(), WB_YES_NO, kClearQuery).Execute() != RET_YES) {
        return false;
    }
    item.SetCheckState(Unmarked);
    ApplyChildDefaults(item);
    return true;
}

bool TreeView::ClearAll()
{
    ObjectItem *root = TopItem();
    if (root && ClearBelow(*root)) {
        panel_.RefreshCheckColumn();
        history_.ShowHistory(*root);
        host_.UpdateCounts();
    }
    return true;
}

bool TreeView::ClearSubtree()
{
    ObjectItem *item = SelectedItem();
    if (item && ClearBelow(*item)) {
        panel_.RefreshCheckColumnFromRow(panel_.SelectedRow());
        history_.ShowHistory(*item);
        host_.UpdateCounts();
    }
    return true;
}

void TreeView::UpdateSubtreeEntry(ObjectItem *item)
{
    host_.EnableClearSubtree(item && item->IsEnabled() && item->IsContainer() && item->IsOpen() &&
                             item->HasMarkedDescendant());
}

// A Marked container covers its loaded descendants, which are disabled and do not count, and a
// subtree without marks has nothing to count: the walk skips both.
MarkCounts TreeView::CountMarked() const
{
    MarkCounts counts;
    TreeWalker walker(forest_);
    DisplayItem *item = walker.NextItem();
    while (item) {
        auto *object = static_cast<ObjectItem *>(item);
        const bool counted = item->GetCheckState() != Unmarked && item->IsEnabled();
        if (counted) {
            (object->IsContainer() ? counts.containers : counts.objects) += 1;
        }
        const bool covers = counted && item->GetCheckState() == Marked;
        const bool skip = (covers || item->MarkedBelow() == 0) && item->Node() != nullptr &&
                          item->Node()->Children().Count() > 0;
        item = skip ? walker.NextItemOutsideSubtree() : walker.NextItem();
    }
    return counts;
}

bool TreeView::HasMarks() const
{
    ObjectItem *top = TopItem();
    return top && (top->GetCheckState() != Unmarked || top->HasMarkedDescendant());
}
