#include "toolkit/AccessibleRowItem.h"

#include <QWidget>

#include "toolkit/AccessibleRows.h"
#include "toolkit/AccessibleRowsTree.h"
#include "toolkit/QtText.h"

namespace toolkit_detail
{

bool AccessibleRowItem::isValid() const
{
    AccessibleRows *rows = tree_->Rows();
    return rows && row_ < rows->AccessibleRowCount();
}

QWindow *AccessibleRowItem::window() const
{
    return tree_->window();
}

QAccessibleInterface *AccessibleRowItem::parent() const
{
    return tree_;
}

QString AccessibleRowItem::text(QAccessible::Text t) const
{
    if (!isValid()) {
        return {};
    }
    switch (t) {
    case QAccessible::Name:
        return ToQt(tree_->Rows()->AccessibleRowText(row_));
    case QAccessible::Description:
        return ToQt(tree_->Rows()->AccessibleRowDescription(row_));
    default:
        return {};
    }
}

QRect AccessibleRowItem::rect() const
{
    if (!isValid()) {
        return {};
    }
    const Rectangle rect = tree_->Rows()->AccessibleRowRect(row_);
    QWidget *widget = static_cast<QWidget *>(tree_->object());
    return {widget->mapToGlobal(QPoint(rect.left, rect.top)), QSize(rect.Width(), rect.Height())};
}

QAccessible::State AccessibleRowItem::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    AccessibleRows &rows = *tree_->Rows();
    const RowStates row = rows.AccessibleRowStates(row_);
    const QAccessible::State area = tree_->state();
    state.disabled = !row.enabled || area.disabled;
    state.invisible = area.invisible;
    state.offscreen = tree_->ChildIndexOf(row_) < 0;
    state.focusable = true;
    state.focused = rows.AccessibleHasFocus() && rows.AccessibleCaretRow() == row_;
    state.selectable = true;
    state.selected = row.selected;
    state.checkable = row.checkable;
    state.checked = row.checkable && row.check == 1;
    state.checkStateMixed = row.checkable && row.check == 2;
    state.expandable = row.expandable;
    state.expanded = row.expandable && row.expanded;
    state.collapsed = row.expandable && !row.expanded;
    return state;
}

void *AccessibleRowItem::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                : nullptr;
}

// Press is a click on the row (it selects it); toggle is a click on its check box.
QStringList AccessibleRowItem::actionNames() const
{
    if (!isValid()) {
        return {};
    }
    QStringList names{pressAction()};
    const QAccessible::State now = state();
    if (now.checkable && !now.disabled) {
        names << toggleAction();
    }
    return names;
}

void AccessibleRowItem::doAction(const QString &actionName)
{
    if (!actionNames().contains(actionName)) {
        return;
    }
    AccessibleRows &rows = *tree_->Rows();
    if (actionName == pressAction()) {
        rows.AccessibleSelect(row_);
    } else {
        rows.AccessibleToggle(row_);
    }
}

} // namespace toolkit_detail
