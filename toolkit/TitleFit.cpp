#include "toolkit/TitleFit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

#include "toolkit/QtText.h"

namespace
{
// Title bars are drawn by the desktop in a font of its own; the program's font made bold is
// the usual one, and a close enough measure.
QFontMetrics TitleMetrics()
{
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font);
}

// What the title bar holds beside the title: the window's icon and three buttons at its ends,
// the room a desktop leaves around them (counted as one button more), and the program's name
// after the title.
int TitleBarExtras(const QFontMetrics &metrics)
{
    const int button = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QString name = QApplication::applicationDisplayName();
    const int suffix =
        name.isEmpty() ? 0 : metrics.horizontalAdvance(QStringLiteral(" \u2014 ") + name);
    return 5 * button + suffix;
}
} // namespace

std::string FitTitle(const std::string &title, int windowWidth)
{
    const QFontMetrics metrics = TitleMetrics();
    const int room = windowWidth - TitleBarExtras(metrics);
    const QString whole = ToQt(title);
    if (metrics.horizontalAdvance(whole) <= room) {
        return title;
    }
    const QString cut = metrics.elidedText(whole, Qt::ElideMiddle, std::max(room, 0));
    return FromQt(cut.isEmpty() ? QStringLiteral("\u2026") : cut);
}

int TitleWidthNeeded(const std::string &title)
{
    const QFontMetrics metrics = TitleMetrics();
    return metrics.horizontalAdvance(ToQt(title)) + TitleBarExtras(metrics);
}
