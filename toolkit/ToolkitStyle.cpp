#include "toolkit/ToolkitStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>

ToolkitStyle::ToolkitStyle() = default;

void ToolkitStyle::Install()
{
    QApplication::setStyle(new ToolkitStyle); // the application owns it
}

QIcon ToolkitStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                                 const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton) {
        const bool rightToLeft = widget ? widget->isRightToLeft() : false;
        // In the menu bar's text colour: a fixed black vanished on a dark palette.
        const QPalette palette = widget ? widget->palette() : QApplication::palette();
        return OverflowArrow(rightToLeft, palette.color(QPalette::ButtonText));
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}

// Two chevrons pointing the way the hidden entries lie, in the sizes a tool button asks for.
QIcon ToolkitStyle::OverflowArrow(bool rightToLeft, const QColor &color)
{
    QIcon arrow;
    for (int size : {8, 16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(color, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (rightToLeft) {
            painter.translate(size, 0);
            painter.scale(-1, 1);
        }
        const double unit = size / 8.0;
        for (double left : {1.5 * unit, 4.0 * unit}) {
            QPainterPath chevron;
            chevron.moveTo(left, 2 * unit);
            chevron.lineTo(left + 2 * unit, 4 * unit);
            chevron.lineTo(left, 6 * unit);
            painter.drawPath(chevron);
        }
        painter.end();
        arrow.addPixmap(pixmap);
    }
    return arrow;
}
