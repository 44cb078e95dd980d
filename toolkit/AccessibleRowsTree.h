// Internal: the accessible interface of a window that presents AccessibleRows, a tree whose
// children are the rows on screen. Row interfaces are made on demand and kept only while their
// row is on screen and unchanged, so a million loaded rows cost no more than a screenful.
#pragma once

#include <QAccessibleWidget>
#include <cstdint>
#include <map>

class AccessibleRows;

namespace toolkit_detail
{

class AccessibleRowItem;

class AccessibleRowsTree : public QAccessibleWidget
{
  public:
    AccessibleRowsTree(QWidget *widget, AccessibleRows *rows);
    ~AccessibleRowsTree() override;

    AccessibleRows *Rows() const { return rows_; }
    void Detach(); // the rows are going: answer nothing from now on

    // The interface of a row, made and kept on first use; null for a row that does not exist.
    AccessibleRowItem *Row(int32_t row);
    int32_t ChildIndexOf(int32_t row) const; // -1 for a row off screen
    // Forgets the interfaces of rows from this one on, and of those off screen.
    void Forget(int32_t fromRow);

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

  private:
    AccessibleRows *rows_;
    std::map<int32_t, QAccessible::Id> items_;
};

} // namespace toolkit_detail
