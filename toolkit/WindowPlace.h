// Where a top-level window opens: where and as large as it was when it last closed (kept in the
// window memory under a key), else at its usual size where the desktop puts it; always within
// the screen's free area, frame included, so that a large window on a small or scaled screen
// still shows its title bar and its edges.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "toolkit/Geometry.h"

class QWidget;

class WindowPlace
{
  public:
    // What the desktop's frame adds around a window's own area (a guess until it is shown).
    static Size FrameAllowance();

    // The window's area: its wanted size, no larger than the free area less the frame; at its
    // wanted place (when it has one) moved as little as needed to lie inside the free area.
    static Rectangle Fitted(Size wanted, std::optional<Point> place, const Rectangle &free,
                            Size frame);

    // Places the frame before it is first shown.
    static void Open(QWidget *frame, const std::string &key, Size usual);
    // Keeps the frame's place and size (the unmaximized ones) and whether it is maximized.
    static void Keep(const QWidget *frame, const std::string &key);
};
