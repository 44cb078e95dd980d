// Internal: the accessible interface of one row of an AccessibleRowsTree, a tree item that reads
// its text and states from the rows each time it is asked, and offers the row's click and the
// click on its check box as actions.
#pragma once

#include <QAccessibleInterface>
#include <cstdint>

namespace toolkit_detail
{

class AccessibleRowsTree;

class AccessibleRowItem : public QAccessibleInterface, public QAccessibleActionInterface
{
  public:
    AccessibleRowItem(AccessibleRowsTree *tree, int32_t row) : tree_(tree), row_(row) {}

    int32_t RowIndex() const { return row_; }
    AccessibleRowsTree *Tree() const { return tree_; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::TreeItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

  private:
    AccessibleRowsTree *tree_;
    int32_t row_;
};

} // namespace toolkit_detail
