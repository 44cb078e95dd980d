#include "toolkit/TableBox.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QTreeWidget>

#include "toolkit/CellElision.h"
#include "toolkit/ColumnWidths.h"
#include "toolkit/QtText.h"

namespace
{
QTreeWidget *TreeOf(QWidget *widget)
{
    return static_cast<QTreeWidget *>(widget);
}
} // namespace

TableBox::TableBox(Dialog *dialog, ResId id)
    : Control(dialog, Kind, id, new QTreeWidget), elision_(new CellElision(Widget())),
      widths_(std::make_unique<ColumnWidths>(TreeOf(Widget())))
{
    QTreeWidget *tree = TreeOf(Widget());
    tree->setItemDelegate(elision_);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setTextElideMode(Qt::ElideRight);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setAllColumnsShowFocus(true);
    tree->header()->setStretchLastSection(true);
    auto *copy = new QAction(QObject::tr("&Copy"), tree);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copy, &QAction::triggered, [this] { CopySelected(); });
    tree->addAction(copy);
    tree->setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(tree, &QTreeWidget::currentItemChanged,
                     [this] { CallLink<Control>(selectHdl_, *this); });
}

TableBox::~TableBox() = default;

void TableBox::ElideInMiddle(int column)
{
    elision_->ElideInMiddle(column);
}

void TableBox::SetColumns(const std::vector<std::string> &titles)
{
    QStringList labels;
    for (const std::string &title : titles) {
        labels << ToQt(title);
    }
    TreeOf(Widget())->setHeaderLabels(labels);
}

void TableBox::Clear()
{
    TreeOf(Widget())->clear();
}

void TableBox::AddRow(const std::vector<std::string> &shown, const std::vector<std::string> &whole)
{
    auto *item = new QTreeWidgetItem;
    for (std::size_t column = 0; column < shown.size(); ++column) {
        const int at = static_cast<int>(column);
        item->setText(at, ToQt(shown[column]));
        const std::string &full =
            column < whole.size() && !whole[column].empty() ? whole[column] : shown[column];
        item->setData(at, Qt::UserRole, ToQt(full));
        if (full != shown[column]) {
            item->setToolTip(at, ToQt(full)); // else the tip shows only when the cell is cut
        }
    }
    TreeOf(Widget())->addTopLevelItem(item);
}

int TableBox::GetRowCount() const
{
    return TreeOf(Widget())->topLevelItemCount();
}

std::string TableBox::GetCell(int row, int column) const
{
    QTreeWidgetItem *item = TreeOf(Widget())->topLevelItem(row);
    return item ? FromQt(item->text(column)) : std::string();
}

std::string TableBox::GetWholeCell(int row, int column) const
{
    QTreeWidgetItem *item = TreeOf(Widget())->topLevelItem(row);
    return item ? FromQt(item->data(column, Qt::UserRole).toString()) : std::string();
}

int TableBox::GetSelectedRow() const
{
    QTreeWidget *tree = TreeOf(Widget());
    return tree->currentItem() ? tree->indexOfTopLevelItem(tree->currentItem()) : -1;
}

void TableBox::SelectRow(int row)
{
    QTreeWidget *tree = TreeOf(Widget());
    tree->setCurrentItem(tree->topLevelItem(row));
}

std::string TableBox::SelectedText() const
{
    const int row = GetSelectedRow();
    std::string text;
    for (int column = 0; row >= 0 && column < TreeOf(Widget())->columnCount(); ++column) {
        text += (column == 0 ? "" : "\n") + GetWholeCell(row, column);
    }
    return text;
}

void TableBox::CopySelected() const
{
    if (GetSelectedRow() >= 0) {
        QApplication::clipboard()->setText(ToQt(SelectedText()));
    }
}

void TableBox::FitColumns()
{
    widths_->Fit();
}

std::vector<int> TableBox::ColumnWidthsShown() const
{
    std::vector<int> widths;
    for (int column = 0; column < TreeOf(Widget())->columnCount(); ++column) {
        widths.push_back(TreeOf(Widget())->columnWidth(column));
    }
    return widths;
}

std::vector<int> TableBox::StateToKeep() const
{
    return widths_->UserWidths();
}

void TableBox::Recall(const std::vector<int> &widths)
{
    widths_->UseWidths(widths);
}
