#include "toolkit/AccessibleRows.h"

#include <QAccessible>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <unordered_map>

#include "toolkit/AccessibleAnnouncer.h"
#include "toolkit/AccessibleRowItem.h"
#include "toolkit/AccessibleRowsTree.h"
#include "toolkit/Window.h"

using toolkit_detail::AccessibleRowItem;
using toolkit_detail::AccessibleRowsTree;

namespace
{

// The windows that present rows; Qt asks the factory for their interfaces.
std::unordered_map<QObject *, AccessibleRows *> &Presenters()
{
    static std::unordered_map<QObject *, AccessibleRows *> presenters;
    return presenters;
}

QAccessibleInterface *RowsFactory(const QString &, QObject *object)
{
    auto found = Presenters().find(object);
    if (found == Presenters().end()) {
        return nullptr;
    }
    return new AccessibleRowsTree(static_cast<QWidget *>(object), found->second);
}

void Announce(QAccessibleInterface *iface, QAccessible::Event type)
{
    if (iface) {
        QAccessibleEvent event(iface, type);
        AccessibleAnnouncer::Announce(event);
    }
}

void AnnounceStates(QAccessibleInterface *iface, const QAccessible::State &changed)
{
    if (iface) {
        QAccessibleStateChangeEvent event(iface, changed);
        AccessibleAnnouncer::Announce(event);
    }
}

} // namespace

AccessibleRows::~AccessibleRows()
{
    if (widget_) {
        Presenters().erase(widget_);
    }
    if (tree_) {
        tree_->Detach();
    }
}

void AccessibleRows::PresentOn(Window &window)
{
    static const bool installed = [] {
        QAccessible::installFactory(RowsFactory);
        return true;
    }();
    (void)installed;
    widget_ = window.Widget();
    Presenters()[widget_] = this;
    // An interface Qt made for the window before it presented rows is replaced by the rows'.
    QAccessibleInterface *existing = QAccessible::queryAccessibleInterface(widget_);
    if (existing && !dynamic_cast<AccessibleRowsTree *>(existing)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
    }
}

// Null while nobody hears announcements: then no interface is made only to announce.
AccessibleRowsTree *AccessibleRows::Tree() const
{
    if (!AccessibleAnnouncer::IsHeard()) {
        return nullptr;
    }
    if (tree_ || !widget_) {
        return tree_;
    }
    return dynamic_cast<AccessibleRowsTree *>(QAccessible::queryAccessibleInterface(widget_));
}

void AccessibleRows::AnnounceTitle()
{
    Announce(Tree(), QAccessible::NameChanged);
}

void AccessibleRows::AnnounceSelection(int32_t oldRow, int32_t newRow)
{
    AccessibleRowsTree *tree = Tree();
    if (!tree) {
        return;
    }
    if (oldRow != newRow) {
        Announce(tree->Row(oldRow), QAccessible::SelectionRemove);
    }
    Announce(tree->Row(newRow), QAccessible::SelectionAdd);
}

void AccessibleRows::AnnounceCaret()
{
    AccessibleRowsTree *tree = Tree();
    if (tree && AccessibleHasFocus()) {
        Announce(tree->Row(AccessibleCaretRow()), QAccessible::Focus);
    }
}

// Qt tells of the focus reaching the window after the window's own reaction: the caret row is
// told afterwards, so that a tool ends up on the row rather than on the window.
void AccessibleRows::AnnounceFocus()
{
    if (!widget_) {
        return;
    }
    QMetaObject::invokeMethod(
        widget_, [this] { AnnounceCaret(); }, Qt::QueuedConnection);
}

void AccessibleRows::AnnounceChecks(int32_t firstRow, int32_t lastRow)
{
    AccessibleRowsTree *tree = Tree();
    if (!tree) {
        return;
    }
    const int32_t top = AccessibleTopRow();
    const int32_t first = std::max(firstRow, top);
    const int32_t last = std::min(lastRow, top + AccessibleShownCount() - 1);
    QAccessible::State check;
    check.checked = true;
    check.checkStateMixed = true;
    QAccessible::State enabling;
    enabling.disabled = true;
    for (int32_t row = first; row <= last; ++row) {
        AccessibleRowItem *item = tree->Row(row);
        if (!item) {
            break;
        }
        // One change per event: the bus bridge tells only the first state it finds changed.
        AnnounceStates(item, check);
        AnnounceStates(item, enabling);
    }
}

// Row interfaces made earlier stand for a row number: those whose row changed are given up,
// whether or not anybody hears, so that no tool goes on taking a new row for the old one.
void AccessibleRows::AnnounceRows(int32_t fromRow)
{
    if (tree_) {
        tree_->Forget(fromRow);
    }
    AccessibleRowsTree *tree = Tree();
    if (!tree) {
        return;
    }
    Announce(tree, QAccessible::ObjectReorder);
    // The caret row's interface may be new: tell the tools where the keyboard is.
    if (AccessibleCaretRow() >= fromRow) {
        AnnounceCaret();
    }
}

void AccessibleRows::AnnounceScrolled()
{
    if (tree_) {
        tree_->Forget(AccessibleRowCount());
    }
    Announce(Tree(), QAccessible::ObjectReorder);
}
