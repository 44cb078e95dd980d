#include "toolkit/Screen.h"

#include <QGuiApplication>
#include <QScreen>

Size GetScreenSizePixel()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return {1024, 768};
    }
    QSize size = screen->geometry().size();
    return {size.width(), size.height()};
}

Rectangle GetScreenWorkArea()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return Rectangle::FromPosSize({}, GetScreenSizePixel());
    }
    const QRect area = screen->availableGeometry();
    return Rectangle::FromPosSize({area.x(), area.y()}, {area.width(), area.height()});
}
