// Centring of dialogs over their parent window or on the screen; widening of narrow controls.
#include "toolkit/Placement.h"

#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "toolkit/Control.h"
#include "toolkit/Dialog.h"
#include "toolkit/Screen.h"
#include "toolkit/Window.h"

Point CenteredPos(Point outerPos, Size outer, Size inner)
{
    return {outerPos.x + (outer.width - inner.width) / 2,
            outerPos.y + (outer.height - inner.height) / 2};
}

namespace
{
// A dialog is a top-level window, so the parent's position must be on the screen too: a top-level
// parent's position already is, a child window's is relative to its own parent.
Point ScreenPosOf(const Window &window)
{
    return window.FrameWidget()->isWindow() ? window.GetPosPixel() : window.ScreenPos();
}
} // namespace

void CenterOver(Window &dialog, Window *parent)
{
    if (!parent) {
        CenterOnScreen(dialog);
        return;
    }
    dialog.SetPosPixel(
        CenteredPos(ScreenPosOf(*parent), parent->GetSizePixel(), dialog.GetSizePixel()));
}

namespace
{
// The space left between a moved window and what it keeps clear of.
constexpr int kClearGap = 8;

bool Inside(const Rectangle &inner, const Rectangle &outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

int Clamped(int pos, int length, int first, int last)
{
    return std::max(first, std::min(pos, last - length + 1));
}
} // namespace

Point ClearOf(const Rectangle &window, const Rectangle &keepVisible, const Rectangle &workArea)
{
    const Point here{window.left, window.top};
    if (!window.Overlaps(keepVisible)) {
        return here;
    }
    const int width = window.Width();
    const int height = window.Height();
    const int x = Clamped(here.x, width, workArea.left, workArea.right);
    const int y = Clamped(here.y, height, workArea.top, workArea.bottom);
    const Point candidates[] = {
        {x, keepVisible.bottom + 1 + kClearGap},
        {x, keepVisible.top - kClearGap - height},
        {keepVisible.right + 1 + kClearGap, y},
        {keepVisible.left - kClearGap - width, y},
    };
    Point best = here;
    int bestDistance = -1;
    for (const Point &candidate : candidates) {
        const Rectangle placed = Rectangle::FromPosSize(candidate, {width, height});
        const int distance = std::abs(candidate.x - here.x) + std::abs(candidate.y - here.y);
        if (Inside(placed, workArea) && !placed.Overlaps(keepVisible) &&
            (bestDistance < 0 || distance < bestDistance)) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

void MoveClearOf(Window &window, const Rectangle &keepVisible)
{
    // The frame counts: a title bar over the row hides it as much as the dialog's body would.
    const Rectangle covered = window.FrameRect();
    const Point moved = ClearOf(covered, keepVisible, GetScreenWorkArea());
    window.SetPosPixel({window.GetPosPixel().x + moved.x - covered.left,
                        window.GetPosPixel().y + moved.y - covered.top});
}

void CenterOnScreen(Window &dialog)
{
    dialog.SetPosPixel(CenteredPos(Point{}, GetScreenSizePixel(), dialog.GetSizePixel()));
}

void WidenToContent(Window &control)
{
    QWidget *widget = control.FrameWidget();
    int width = widget->sizeHint().width();
    if (QWidget *window = widget->parentWidget()) {
        width = std::min(width, window->width() - widget->x());
    }
    if (width > widget->width()) {
        widget->resize(width, widget->height());
    }
}

void WidenButtonColumn(Dialog &dialog, const std::vector<Control *> &buttons)
{
    int needed = 0;
    int width = 0;
    for (const Control *button : buttons) {
        needed = std::max(needed, button->Widget()->sizeHint().width());
        width = std::max(width, button->ResourceRect().Width());
    }
    const int extra = needed - width;
    if (extra <= 0) {
        return;
    }
    for (Control *button : buttons) {
        button->WidenLeftwards(extra);
    }
    dialog.GrowWider(extra);
}
