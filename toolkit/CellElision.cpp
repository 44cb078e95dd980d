#include "toolkit/CellElision.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

void CellElision::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = middle_.contains(index.column()) ? Qt::ElideMiddle : Qt::ElideRight;
}

bool CellElision::IsCut(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QWidget *widget = cell.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return cell.fontMetrics.horizontalAdvance(cell.text) > textRect.width() - 2 * margin;
}

bool CellElision::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                            const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    // A tip of the cell's own (a text longer than its one line) is always shown.
    if (index.data(Qt::ToolTipRole).isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    if (IsCut(option, index)) {
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view);
    } else {
        QToolTip::hideText();
    }
    return true;
}
