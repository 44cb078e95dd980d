#include "toolkit/TableBox.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QTreeWidget>

#include "toolkit/QtText.h"

namespace
{
QTreeWidget *TreeOf(QWidget *widget)
{
    return static_cast<QTreeWidget *>(widget);
}

// Widths that fit into `room`: a column that needs less than an even share of what is left
// keeps its width, and the others share the rest evenly.
std::vector<int> Shared(std::vector<int> wanted, int room)
{
    std::vector<bool> settled(wanted.size(), false);
    for (bool changed = true; changed;) {
        changed = false;
        int open = 0;
        int left = room;
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            settled[i] ? left -= wanted[i] : ++open;
        }
        if (open == 0) {
            break;
        }
        const int share = std::max(left / open, 1);
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (!settled[i] && wanted[i] <= share) {
                settled[i] = changed = true;
            }
        }
        if (!changed) {
            for (std::size_t i = 0; i < wanted.size(); ++i) {
                if (!settled[i]) {
                    wanted[i] = share;
                }
            }
        }
    }
    return wanted;
}
} // namespace

TableBox::TableBox(Dialog *dialog, ResId id) : Control(dialog, Kind, id, new QTreeWidget)
{
    QTreeWidget *tree = TreeOf(Widget());
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
        item->setToolTip(at, ToQt(full));
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
    QTreeWidget *tree = TreeOf(Widget());
    std::vector<int> wanted;
    for (int column = 0; column < tree->columnCount(); ++column) {
        tree->resizeColumnToContents(column);
        wanted.push_back(tree->columnWidth(column));
    }
    const int room = tree->width() - 2 * tree->frameWidth();
    const std::vector<int> widths = Shared(std::move(wanted), room);
    for (std::size_t column = 0; column < widths.size(); ++column) {
        tree->setColumnWidth(static_cast<int>(column), widths[column]);
    }
}
