#include "toolkit/ScrollBar.h"

#include <QScrollBar>
#include <algorithm>

namespace
{

QScrollBar *BarOf(QWidget *widget)
{
    return static_cast<QScrollBar *>(widget);
}
int Clamp16(int value)
{
    return std::clamp(value, ScrollBar::kMin, ScrollBar::kMax);
}

ScrollType TypeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return SCROLL_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd:
        return SCROLL_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SCROLL_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SCROLL_PAGEDOWN;
    case QAbstractSlider::SliderMove:
        return SCROLL_DRAG;
    default:
        return SCROLL_DONTKNOW;
    }
}

QAbstractSlider::SliderAction ActionOf(ScrollType type)
{
    switch (type) {
    case SCROLL_LINEUP:
        return QAbstractSlider::SliderSingleStepSub;
    case SCROLL_LINEDOWN:
        return QAbstractSlider::SliderSingleStepAdd;
    case SCROLL_PAGEUP:
        return QAbstractSlider::SliderPageStepSub;
    case SCROLL_PAGEDOWN:
        return QAbstractSlider::SliderPageStepAdd;
    case SCROLL_DRAG:
        return QAbstractSlider::SliderMove;
    default:
        return QAbstractSlider::SliderNoAction;
    }
}

} // namespace

ScrollBar::ScrollBar(Window *parent, int style)
    : Control(parent, new QScrollBar((style & WB_HSCROLL) ? Qt::Horizontal : Qt::Vertical))
{
    QScrollBar *bar = BarOf(Widget());
    bar->setFocusPolicy(Qt::NoFocus);
    QObject::connect(bar, &QScrollBar::actionTriggered, [this](int action) { OnAction(action); });
    QObject::connect(bar, &QScrollBar::sliderReleased, [this] { EndScroll(); });
}

void ScrollBar::OnAction(int action)
{
    // Qt has moved the slider position but not yet the value: the difference is the delta.
    QScrollBar *bar = BarOf(Widget());
    type_ = TypeOf(action);
    delta_ = bar->sliderPosition() - bar->value();
    Scroll();
    if (type_ != SCROLL_DRAG) {
        EndScroll();
    }
}

void ScrollBar::DoScroll(ScrollType type, int dragTo)
{
    QScrollBar *bar = BarOf(Widget());
    if (type == SCROLL_DRAG) {
        bar->setSliderDown(true);
        bar->setSliderPosition(Clamp16(dragTo)); // emits the drag action
        bar->setSliderDown(false);               // ends the drag
        return;
    }
    bar->triggerAction(ActionOf(type));
}

void ScrollBar::Scroll()
{
    CallLink(scrollHdl_, *this);
}
void ScrollBar::EndScroll()
{
    CallLink(endScrollHdl_, *this);
}

void ScrollBar::SetRange(int min, int max)
{
    BarOf(Widget())->setRange(Clamp16(min), Clamp16(max));
}
int ScrollBar::GetRangeMin() const
{
    return BarOf(Widget())->minimum();
}
int ScrollBar::GetRangeMax() const
{
    return BarOf(Widget())->maximum();
}
void ScrollBar::SetThumbPos(int pos)
{
    BarOf(Widget())->setValue(Clamp16(pos));
}
int ScrollBar::GetThumbPos() const
{
    return BarOf(Widget())->sliderPosition();
}
void ScrollBar::SetPageSize(int size)
{
    BarOf(Widget())->setPageStep(Clamp16(size));
}
void ScrollBar::SetLineSize(int size)
{
    BarOf(Widget())->setSingleStep(Clamp16(size));
}
Link<ScrollBar> ScrollBar::SetScrollHdl(Link<ScrollBar> link)
{
    return std::exchange(scrollHdl_, std::move(link));
}

Link<ScrollBar> ScrollBar::SetEndScrollHdl(Link<ScrollBar> link)
{
    return std::exchange(endScrollHdl_, std::move(link));
}
