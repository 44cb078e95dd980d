#include "toolkit/WindowPlace.h"

#include <algorithm>

#include <QApplication>
#include <QStyle>
#include <QWidget>

#include "toolkit/Screen.h"
#include "toolkit/WindowMemory.h"

namespace
{
// What is kept: x, y, width, height of the window's own area, and 1 when it was maximized.
constexpr std::size_t kKept = 5;
} // namespace

Size WindowPlace::FrameAllowance()
{
    const int border = 2 * QApplication::style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4;
    return {border, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) + border};
}

Rectangle WindowPlace::Fitted(Size wanted, std::optional<Point> place, const Rectangle &free,
                              Size frame)
{
    const Size room{std::max(1, free.Width() - frame.width),
                    std::max(1, free.Height() - frame.height)};
    const Size size{std::clamp(wanted.width, 1, room.width),
                    std::clamp(wanted.height, 1, room.height)};
    if (!place) {
        return Rectangle::FromPosSize({}, size);
    }
    // The frame's title bar stands above the window's area, its borders at either side.
    const int left = free.left + frame.width / 2;
    const int top = free.top + frame.height - frame.width / 2;
    const Point at{std::clamp(place->x, left, left + room.width - size.width),
                   std::clamp(place->y, top, top + room.height - size.height)};
    return Rectangle::FromPosSize(at, size);
}

void WindowPlace::Open(QWidget *frame, const std::string &key, Size usual)
{
    const std::optional<std::vector<int>> kept = WindowMemory::Recall(key);
    const bool known = kept && kept->size() == kKept;
    const Size wanted = known ? Size{(*kept)[2], (*kept)[3]} : usual;
    const std::optional<Point> place =
        known ? std::optional(Point{(*kept)[0], (*kept)[1]}) : std::nullopt;
    const Rectangle area = Fitted(wanted, place, GetScreenWorkArea(), FrameAllowance());
    if (place) {
        frame->setGeometry(area.left, area.top, area.Width(), area.Height());
    } else {
        frame->resize(area.Width(), area.Height());
    }
    if (known && (*kept)[4] == 1) {
        frame->setWindowState(frame->windowState() | Qt::WindowMaximized);
    }
}

void WindowPlace::Keep(const QWidget *frame, const std::string &key)
{
    const bool maximized = frame->isMaximized();
    const QRect area = maximized ? frame->normalGeometry() : frame->geometry();
    if (area.isEmpty()) {
        return;
    }
    WindowMemory::Keep(key, {area.x(), area.y(), area.width(), area.height(), maximized ? 1 : 0});
}
