#include "tree/TreeViewReactions.h"

#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "model/TreeNode.h"
#include "server/ServerClient.h"
#include "session/ServerSession.h"
#include "toolkit/EventWait.h"
#include "toolkit/MessageBox.h"
#include "tree/HistoryViewReactions.h"
#include "tree/OutlinePanel.h"
#include "tree/TreeViewReactionsHost.h"

namespace
{
constexpr std::chrono::microseconds kReclaimSlice{1000};
} // namespace

TreeViewReactions::TreeViewReactions(OutlinePanel &panel, NodeList &forest,
                                     RestoreSelection &selection, HistoryViewReactions &history,
                                     TreeViewReactionsHost &host, ServerSession &session)
    : panel_(panel), forest_(forest), selection_(selection), history_(history), host_(host),
      session_(session)
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

TreeViewReactions::~TreeViewReactions()
{
    forest_.SetReclaimer(nullptr);
}

ObjectItem *TreeViewReactions::TopItem() const
{
    return static_cast<ObjectItem *>(forest_.ItemAt(0));
}

ObjectItem *TreeViewReactions::SelectedItem() const
{
    return static_cast<ObjectItem *>(forest_.ItemAt(static_cast<size_t>(panel_.SelectedRow())));
}

void TreeViewReactions::SetTopContext(const std::string &name, ServerClient *client,
                                      MW_SIGTERMClientList *registry)
{
    panel_.SetTitle(name);
    panel_.Clear();
    history_.Reset();
    topContext_ = name;
    auto top = std::make_unique<ObjectItem>(name, DisplayItem::ContainerKind, client, registry);
    ObjectItem &item = *top;
    forest_.AppendItem(std::move(top));
    OpenWithWarning(item);
}

// A container whose full name does not fit a request, or that the server could not list, stays
// closed, and the user is told why; opening it again asks the server again. A listing that the
// server cut short is opened, and the user is told so.
void TreeViewReactions::OpenWithWarning(ObjectItem &item)
{
    if (item.IsInformed()) {
        return; // a program that is ending asks nothing more
    }
    const std::string name = item.FullName();
    // The activity lasts until the rows are in: while a large listing is made into rows the
    // window goes on, and nothing may change the tree meanwhile.
    session_.Begin("Listing " + name);
    std::optional<ChildListing> listing =
        session_.Run<ChildListing>("Listing " + name, [name](ServerClient &client, WorkerJob &job) {
            return client.ListChildren(name, job.StopCheck());
        });
    if (!listing) {
        session_.End();
        return; // stopped: the container stays closed, nothing of the listing is inserted
    }
    std::string failure;
    std::string note;
    const ObjectItem::OpenResult result =
        item.ApplyListing(std::move(*listing), failure, note, [] { EventWait::Pass(); });
    session_.End();
    if (result == ObjectItem::OpenResult::NameTooLong) {
        WarningBox(host_.QueryParent(), WB_OK, ServerClient::NameTooLongMessage(item.FullName()))
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
    if (result == ObjectItem::OpenResult::Opened && !note.empty()) {
        WarningBox(host_.QueryParent(), WB_OK, note).Execute();
    }
}

long TreeViewReactions::SelectHdl(OutlinePanel &)
{
    if (session_.Busy()) {
        // The versions are asked for once the server is free, for whatever is selected then.
        if (!historyDue_) {
            historyDue_ = true;
            session_.WhenIdle([this] {
                historyDue_ = false;
                SelectHdl(panel_);
            });
        }
        return 1;
    }
    ObjectItem *item = SelectedItem();
    if (!item) {
        return 0;
    }
    UpdateSubtreeEntry(item);
    history_.ShowHistory(*item);
    return 1;
}

long TreeViewReactions::OpenHdl(OutlinePanel &)
{
    if (session_.TurnsAway()) {
        return 0; // nothing opens or closes under a run
    }
    ObjectItem *item = SelectedItem();
    if (!item || !item->IsContainer()) {
        return 0;
    }
    if (item->IsOpen()) {
        bool close = !selection_.ClosingLosesMarks(*item);
        if (!close) {
            close = QueryBox(host_.QueryParent(), WB_YES_NO, kCloseQuery).Execute() == RET_YES;
        }
        if (close) {
            item->Close();
        }
    } else {
        OpenWithWarning(*item);
    }
    return 1;
}

long TreeViewReactions::CheckHdl(OutlinePanel &, const CheckClick &click)
{
    if (session_.TurnsAway()) {
        return 0; // no mark changes under a run
    }
    auto *item = static_cast<ObjectItem *>(forest_.ItemAt(static_cast<size_t>(click.row)));
    if (!item) {
        return 0;
    }
    ObjectItem *current = SelectedItem();
    selection_.Mark(*item, click.state);
    if (current) {
        // The mark may cover or free the shown object, or reset its chosen version.
        history_.MarksChanged(*current);
    }
    UpdateSubtreeEntry(current);
    return 1;
}

namespace
{
// Whether `name` ends with "." and `tail`, that dot not escaped (a dot inside an object's own
// name stands behind a backslash).
bool EndsWithLevels(const std::string &name, const std::string &tail)
{
    if (name.size() <= tail.size() ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0) {
        return false;
    }
    std::size_t dot = name.size() - tail.size() - 1;
    if (name[dot] != '.') {
        return false;
    }
    std::size_t backslashes = 0;
    while (dot > backslashes && name[dot - 1 - backslashes] == '\\') {
        ++backslashes;
    }
    return backslashes % 2 == 0;
}
} // namespace

ObjectItem *TreeViewReactions::ChildOnPath(ObjectItem &container, const std::string &fullName) const
{
    const std::string below = "." + container.FullName();
    NodeList &children = container.Node()->Children();
    ObjectItem *ancestor = nullptr;
    for (std::size_t i = 0; i < children.Count(); ++i) {
        auto *child = static_cast<ObjectItem *>(children.ElementAt(i)->Item());
        const std::string childName = child->StoredText() + below;
        if (childName == fullName) {
            return child;
        }
        if (ancestor == nullptr && child->IsContainer() && EndsWithLevels(fullName, childName)) {
            ancestor = child;
        }
    }
    return ancestor;
}

bool TreeViewReactions::GoTo(const std::string &fullName)
{
    if (session_.Busy()) {
        return false;
    }
    ObjectItem *item = TopItem();
    if (item == nullptr ||
        (item->FullName() != fullName && !EndsWithLevels(fullName, item->FullName()))) {
        return false;
    }
    while (item->FullName() != fullName) {
        if (!item->IsOpen()) {
            OpenWithWarning(*item);
            if (!item->IsOpen()) {
                return false;
            }
        }
        item = ChildOnPath(*item, fullName);
        if (item == nullptr) {
            return false;
        }
    }
    panel_.ShowAndSelectRow(static_cast<int32_t>(forest_.RowOf(*item->Node())));
    return true;
}

bool TreeViewReactions::ClearBelow(ObjectItem &item)
{
    if (session_.Busy() || !selection_.HasMarks(item)) {
        return false;
    }
    if (QueryBox(host_.QueryParent(), WB_YES_NO, kClearQuery).Execute() != RET_YES) {
        return false;
    }
    return selection_.Clear(item);
}

bool TreeViewReactions::ClearAll()
{
    ObjectItem *root = TopItem();
    if (root && ClearBelow(*root)) {
        history_.ShowHistory(*root);
    }
    return true;
}

bool TreeViewReactions::ClearSubtree()
{
    ObjectItem *item = SelectedItem();
    if (item && ClearBelow(*item)) {
        history_.ShowHistory(*item);
    }
    return true;
}

void TreeViewReactions::UpdateSubtreeEntry(ObjectItem *item)
{
    host_.EnableClearSubtree(item && selection_.CanClearSubtree(*item));
}
