#include "toolkit/Splitter.h"

#include <QMouseEvent>
#include <QWidget>
#include <algorithm>

#include "toolkit/EventDispatcher.h"

namespace
{

// Follows the mouse while the bar is dragged and ends the drag on release.
class SplitterWidget : public toolkit_detail::EventDispatcher<QWidget>
{
  public:
    SplitterWidget(Splitter *owner, QWidget *parent)
        : EventDispatcher<QWidget>(owner, parent), splitter_(owner)
    {
        setCursor(Qt::SplitHCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        dragging_ = event->button() == Qt::LeftButton;
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (dragging_) {
            move(ParentX(*event), y());
        }
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (dragging_) {
            dragging_ = false;
            splitter_->DragTo(ParentX(*event));
        }
    }

  private:
    int ParentX(const QMouseEvent &event) const
    {
        const Rectangle &limits = splitter_->GetDragRectPixel();
        int x = mapToParent(event.position().toPoint()).x();
        return limits.IsEmpty() ? x : std::clamp(x, limits.left, limits.right);
    }

    Splitter *splitter_;
    bool dragging_ = false;
};

QWidget *ContentOf(Window *window)
{
    return window ? window->Widget() : nullptr;
}

} // namespace

Splitter::Splitter(Window *parent, int)
    : Window(parent, new SplitterWidget(this, ContentOf(parent)), AdoptWidget{})
{
    Widget()->setAccessibleName(QStringLiteral("Splitter"));
}

void Splitter::Split()
{
    CallLink(splitHdl_, *this);
}

void Splitter::DragTo(int x)
{
    position_ = dragRect_.IsEmpty() ? x : std::clamp(x, dragRect_.left, dragRect_.right);
    Split();
}

void Splitter::Paint(const Rectangle &rect)
{
    SetLineColor(Color(COL_DARK));
    SetFillColor(Color(COL_BUTTON));
    DrawRect(rect);
}
