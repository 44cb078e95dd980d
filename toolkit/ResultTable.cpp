#include "toolkit/ResultTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

#include "toolkit/Bitmap.h"
#include "toolkit/CellElision.h"
#include "toolkit/ColumnWidths.h"
#include "toolkit/QtText.h"

namespace
{
constexpr int KeyRole = Qt::UserRole + 1;
constexpr int SortRole = Qt::UserRole + 2;

// A row that sorts by a cell's number where it has one, else by its text.
class SortedItem : public QTreeWidgetItem
{
  public:
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant mine = data(column, SortRole);
        const QVariant theirs = other.data(column, SortRole);
        if (mine.isValid() && theirs.isValid()) {
            return mine.toLongLong() < theirs.toLongLong();
        }
        return QTreeWidgetItem::operator<(other);
    }
};

// Return on a row activates it and goes no further: the dialog's default button must not take
// it as well.
class ActivatingTree : public QTreeWidget
{
  protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            currentIndex().isValid()) {
            Q_EMIT itemActivated(currentItem(), currentColumn());
            event->accept();
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }
};
} // namespace

ResultTable::ResultTable(Dialog *dialog, ResId id)
    : Control(dialog, Kind, id, new ActivatingTree), elision_(new CellElision(Widget())),
      widths_(std::make_unique<ColumnWidths>(Tree()))
{
    QTreeWidget *tree = Tree();
    tree->setItemDelegate(elision_);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSortingEnabled(true);
    tree->sortByColumn(0, Qt::AscendingOrder);
    QObject::connect(tree, &QTreeWidget::itemActivated, [this](QTreeWidgetItem *item, int) {
        activatedKey_ = item ? item->data(0, KeyRole).toInt() : -1;
        CallLink(activateHdl_, *this);
    });
}

QTreeWidget *ResultTable::Tree() const
{
    return static_cast<QTreeWidget *>(Widget());
}

ResultTable::~ResultTable() = default;

void ResultTable::SetColumns(const std::vector<std::string> &headers)
{
    QStringList labels;
    for (const std::string &header : headers) {
        labels << ToQt(header);
    }
    Tree()->setHeaderLabels(labels);
    widths_->Fit();
}

void ResultTable::ElideInMiddle(int column)
{
    elision_->ElideInMiddle(column);
}

void ResultTable::FitColumns()
{
    widths_->Fit();
}

std::vector<int> ResultTable::ColumnWidthsShown() const
{
    std::vector<int> widths;
    for (int column = 0; column < Tree()->columnCount(); ++column) {
        widths.push_back(Tree()->columnWidth(column));
    }
    return widths;
}

std::vector<int> ResultTable::StateToKeep() const
{
    return widths_->UserWidths();
}

void ResultTable::Recall(const std::vector<int> &widths)
{
    widths_->UseWidths(widths);
}

void ResultTable::AddRows(const std::vector<Row> &rows)
{
    QList<QTreeWidgetItem *> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const Row &row : rows) {
        auto *item = new SortedItem;
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            item->setText(static_cast<int>(column), ToQt(row.cells[column]));
            if (column < row.sortKeys.size() && row.sortKeys[column]) {
                item->setData(static_cast<int>(column), SortRole,
                              QVariant::fromValue<qlonglong>(*row.sortKeys[column]));
            }
        }
        if (row.picture != nullptr) {
            item->setIcon(row.pictureColumn, QIcon(row.picture->Pixmap()));
        }
        item->setData(0, KeyRole, row.key);
        items.append(item);
    }
    // Sorted once for the whole batch, not once per row.
    QTreeWidget *tree = Tree();
    const int column = tree->header()->sortIndicatorSection();
    const Qt::SortOrder order = tree->header()->sortIndicatorOrder();
    tree->setSortingEnabled(false);
    tree->addTopLevelItems(items);
    tree->sortByColumn(column, order);
    tree->setSortingEnabled(true);
}

void ResultTable::Clear()
{
    Tree()->clear();
}

int ResultTable::RowCount() const
{
    return Tree()->topLevelItemCount();
}

void ResultTable::SortByColumn(int column, bool ascending)
{
    Tree()->sortByColumn(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

int ResultTable::KeyAt(int row) const
{
    QTreeWidgetItem *item = Tree()->topLevelItem(row);
    return item ? item->data(0, KeyRole).toInt() : -1;
}

std::string ResultTable::CellText(int row, int column) const
{
    QTreeWidgetItem *item = Tree()->topLevelItem(row);
    return item ? FromQt(item->text(column)) : std::string();
}

int ResultTable::SelectedRow() const
{
    QTreeWidgetItem *item = Tree()->currentItem();
    return item ? Tree()->indexOfTopLevelItem(item) : -1;
}

void ResultTable::SelectRow(int row)
{
    if (QTreeWidgetItem *item = Tree()->topLevelItem(row)) {
        Tree()->setCurrentItem(item);
    }
}

void ResultTable::Activate()
{
    if (QTreeWidgetItem *item = Tree()->currentItem()) {
        Q_EMIT Tree()->itemActivated(item, 0);
    }
}
