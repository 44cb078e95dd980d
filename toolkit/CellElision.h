// How a table's cells show a text wider than the cell: a full name loses its middle (its own
// name at the start and its top at the end are what tell two apart), another text its end.
// Resting the pointer on a cut cell shows its whole text; a cell that shows everything has no
// tip of its own.
#pragma once

#include <set>

#include <QStyledItemDelegate>

class CellElision : public QStyledItemDelegate
{
  public:
    explicit CellElision(QObject *parent) : QStyledItemDelegate(parent) {}

    void ElideInMiddle(int column) { middle_.insert(column); }
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

  protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

  private:
    bool IsCut(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    std::set<int> middle_;
};
