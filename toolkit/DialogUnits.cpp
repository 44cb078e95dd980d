#include "toolkit/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

DialogUnits::DialogUnits(const QFont &font)
{
    QFontMetrics metrics(font);
    charWidth_ = metrics.averageCharWidth();
    lineHeight_ = metrics.height();
}

DialogUnits::DialogUnits() : DialogUnits(QApplication::font()) {}
