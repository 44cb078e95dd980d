#include "toolkit/AccessibleRowsTree.h"

#include <QWidget>
#include <algorithm>

#include "toolkit/AccessibleRowItem.h"
#include "toolkit/AccessibleRows.h"
#include "toolkit/QtText.h"

namespace toolkit_detail
{

AccessibleRowsTree::AccessibleRowsTree(QWidget *widget, AccessibleRows *rows)
    : QAccessibleWidget(widget, QAccessible::Tree), rows_(rows)
{
    rows_->SetTree(this);
}

AccessibleRowsTree::~AccessibleRowsTree()
{
    Detach();
}

void AccessibleRowsTree::Detach()
{
    if (rows_) {
        rows_->SetTree(nullptr);
        rows_ = nullptr;
    }
    Forget(0);
}

bool AccessibleRowsTree::isValid() const
{
    return rows_ && QAccessibleWidget::isValid();
}

AccessibleRowItem *AccessibleRowsTree::Row(int32_t row)
{
    if (!rows_ || row < 0 || row >= rows_->AccessibleRowCount()) {
        return nullptr;
    }
    auto found = items_.find(row);
    if (found != items_.end()) {
        // Qt may have let go of it (when it cleans up): then a new one is made.
        if (QAccessibleInterface *known = QAccessible::accessibleInterface(found->second)) {
            return static_cast<AccessibleRowItem *>(known);
        }
        items_.erase(found);
    }
    auto *item = new AccessibleRowItem(this, row);
    items_[row] = QAccessible::registerAccessibleInterface(item);
    return item;
}

int32_t AccessibleRowsTree::ChildIndexOf(int32_t row) const
{
    if (!rows_) {
        return -1;
    }
    const int32_t index = row - rows_->AccessibleTopRow();
    return index >= 0 && index < rows_->AccessibleShownCount() ? index : -1;
}

void AccessibleRowsTree::Forget(int32_t fromRow)
{
    for (auto it = items_.begin(); it != items_.end();) {
        if (it->first >= fromRow || ChildIndexOf(it->first) < 0) {
            QAccessible::deleteAccessibleInterface(it->second);
            it = items_.erase(it);
        } else {
            ++it;
        }
    }
}

QString AccessibleRowsTree::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && rows_) {
        return ToQt(rows_->AccessibleTitle());
    }
    return QAccessibleWidget::text(t);
}

int AccessibleRowsTree::childCount() const
{
    if (!rows_) {
        return 0;
    }
    const int32_t left = rows_->AccessibleRowCount() - rows_->AccessibleTopRow();
    return std::max(0, std::min(rows_->AccessibleShownCount(), left));
}

QAccessibleInterface *AccessibleRowsTree::child(int index) const
{
    if (!rows_ || index < 0 || index >= childCount()) {
        return nullptr;
    }
    // Made on demand: asking is what creates the row's interface.
    return const_cast<AccessibleRowsTree *>(this)->Row(rows_->AccessibleTopRow() + index);
}

int AccessibleRowsTree::indexOfChild(const QAccessibleInterface *child) const
{
    auto *item = dynamic_cast<const AccessibleRowItem *>(child);
    if (!item || item->Tree() != this) {
        return -1;
    }
    return ChildIndexOf(item->RowIndex());
}

QAccessibleInterface *AccessibleRowsTree::childAt(int x, int y) const
{
    const int count = childCount();
    for (int index = 0; index < count; ++index) {
        QAccessibleInterface *row = child(index);
        if (row && row->rect().contains(x, y)) {
            return row;
        }
    }
    return nullptr;
}

QAccessibleInterface *AccessibleRowsTree::focusChild() const
{
    if (!rows_ || !rows_->AccessibleHasFocus()) {
        return nullptr;
    }
    return const_cast<AccessibleRowsTree *>(this)->Row(rows_->AccessibleCaretRow());
}

} // namespace toolkit_detail
