// Centring of dialogs over their parent window or on the screen; widening of narrow controls.
#include "toolkit/Placement.h"

#include <QWidget>
#include <algorithm>

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
