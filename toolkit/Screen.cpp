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
