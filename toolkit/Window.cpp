#include "toolkit/Window.h"

#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include "toolkit/Bitmap.h"
#include "toolkit/ColorRoles.h"
#include "toolkit/EventDispatcher.h"
#include "toolkit/Font.h"
#include "toolkit/QtText.h"

using toolkit_detail::DispatcherBase;
using toolkit_detail::EventDispatcher;

struct Window::DrawState {
    Color lineColor{COL_WINDOWTEXT};
    int lineWidth = 0;
    LineStyle lineStyle = LineStyle::Solid;
    bool transparentFill = false;
    Color fillColor{COL_WORKSPACE};
    Color textColor{COL_WINDOWTEXT};
    std::unique_ptr<QFont> font;
    // What this window invalidated and has not painted yet: Update paints just that.
    QRegion invalid;
    bool painted = false; // painted at least once
};

namespace toolkit_detail
{

KeyEvent ToKeyEvent(const QKeyEvent &event)
{
    int code = event.key() == Qt::Key_Backtab ? Qt::Key_Tab : event.key();
    return KeyEvent(code, static_cast<int>(event.modifiers()));
}

void DispatchPaint(Window &window, QWidget &widget, const QRect &rect)
{
    QPainter painter(&widget);
    window.Validate({rect.left(), rect.top(), rect.right(), rect.bottom()});
    window.BeginPaint(&painter);
    window.Paint({rect.left(), rect.top(), rect.right(), rect.bottom()});
    window.EndPaint();
}

} // namespace toolkit_detail

namespace
{
QWidget *ContentWidgetOf(Window *parent)
{
    return parent ? parent->Widget() : nullptr;
}
} // namespace

Window::Window(Window *parent)
    : Window(parent, new EventDispatcher<QWidget>(this, ContentWidgetOf(parent)), AdoptWidget{})
{
}

Window::Window(Window *parent, QWidget *widget, AdoptWidget)
    : parent_(parent), widget_(widget), draw_(std::make_unique<DrawState>())
{
    widget_->setAutoFillBackground(false);
}

Window::~Window()
{
    DetachFromWidget();
}

void Window::DetachFromWidget()
{
    if (!widget_) {
        return;
    }
    if (auto *dispatcher = dynamic_cast<DispatcherBase *>(widget_)) {
        dispatcher->Detach();
    }
    // A parent widget that went first has taken its children with it.
    QPointer<QWidget> frame = FrameWidget();
    QWidget *widget = widget_;
    widget_ = nullptr;
    if (frame && frame != widget) {
        delete frame.data();
    } else if (frame) {
        delete widget;
    }
}

void Window::Paint(const Rectangle &) {}
void Window::Resize() {}
// The toolkit's default: the parent window gets the key; a top-level window leaves it to Qt.
void Window::KeyInput(const KeyEvent &event)
{
    if (parent_) {
        parent_->keyHandled_ = true;
        parent_->KeyInput(event);
        keyHandled_ = parent_->keyHandled_;
    } else {
        keyHandled_ = false;
    }
}
void Window::MouseButtonDown(const MouseEvent &) {}
bool Window::Wheel(const WheelEvent &)
{
    return false;
}
void Window::GetFocus() {}
void Window::LoseFocus() {}
bool Window::Close()
{
    FrameWidget()->hide();
    return true;
}

std::string Window::ToolTipText(Point) const
{
    return {};
}

void Window::Show()
{
    FrameWidget()->show();
    draw_->invalid = widget_->rect(); // a window that appears has nothing painted yet
}
void Window::Hide()
{
    FrameWidget()->hide();
}
bool Window::IsVisible() const
{
    return FrameWidget()->isVisible();
}
bool Window::IsHidden() const
{
    return FrameWidget()->isHidden();
}
void Window::Enable(bool enable)
{
    widget_->setEnabled(enable);
}
bool Window::IsEnabled() const
{
    return widget_->isEnabled();
}

// A top-level window's text is its title; a child window's text names it for assistive tools.
void Window::SetText(const std::string &text)
{
    QWidget *frame = FrameWidget();
    if (frame->isWindow()) {
        frame->setWindowTitle(ToQt(text));
    } else {
        frame->setAccessibleName(ToQt(text));
    }
}

std::string Window::GetText() const
{
    QWidget *frame = FrameWidget();
    return FromQt(frame->isWindow() ? frame->windowTitle() : frame->accessibleName());
}

void Window::SetAccessibleName(const std::string &name)
{
    FrameWidget()->setAccessibleName(ToQt(name));
}

std::string Window::GetAccessibleName() const
{
    return FromQt(FrameWidget()->accessibleName());
}

void Window::SetPosPixel(Point pos)
{
    FrameWidget()->move(pos.x, pos.y);
}
Point Window::GetPosPixel() const
{
    QPoint pos = FrameWidget()->pos();
    return {pos.x(), pos.y()};
}
void Window::SetSizePixel(Size size)
{
    FrameWidget()->resize(size.width, size.height);
}
Size Window::GetSizePixel() const
{
    QSize size = FrameWidget()->size();
    return {size.width(), size.height()};
}
void Window::SetPosSizePixel(Point pos, Size size)
{
    FrameWidget()->setGeometry(pos.x, pos.y, size.width, size.height);
}
Size Window::GetOutputSizePixel() const
{
    return {widget_->width(), widget_->height()};
}
Point Window::ScreenPos() const
{
    QPoint pos = widget_->mapToGlobal(QPoint(0, 0));
    return {pos.x(), pos.y()};
}

void Window::GrabFocus()
{
    widget_->setFocus(Qt::OtherFocusReason);
}
bool Window::HasFocus() const
{
    return widget_->hasFocus();
}

void Window::Invalidate()
{
    draw_->invalid = widget_->rect();
    widget_->update();
}
void Window::Invalidate(const Rectangle &rect)
{
    const QRect area(rect.left, rect.top, rect.Width(), rect.Height());
    draw_->invalid += area;
    widget_->update(area);
}
// Painting only the invalid part keeps a one-row change to one 20-pixel band. A window that has
// never been painted gets all of it painted by its first paint anyway: painting now would only
// paint everything else in its top-level window once more (start-up builds the main window's
// panels while the window is already shown).
void Window::Update()
{
    if (!draw_->painted) {
        return;
    }
    const QRegion invalid = draw_->invalid.intersected(widget_->rect());
    draw_->invalid = QRegion();
    if (!invalid.isEmpty()) {
        widget_->repaint(invalid);
    }
}
void Window::Scroll(int dx, int dy)
{
    widget_->scroll(dx, dy);
    // What was invalid moves with the pixels; the band that the pixels left is invalid too.
    const QRect area = widget_->rect();
    const QRegion uncovered = QRegion(area) - area.translated(dx, dy);
    draw_->invalid = (draw_->invalid.translated(dx, dy) + uncovered).intersected(area);
}
void Window::Validate(const Rectangle &rect)
{
    draw_->painted = true;
    draw_->invalid -= QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

void Window::SetBackground(Color color)
{
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, ColorOf(color, widget_->palette()));
    widget_->setPalette(palette);
    widget_->setBackgroundRole(QPalette::Window);
    widget_->setAutoFillBackground(true);
}

void Window::BeginPaint(QPainter *painter)
{
    painter_ = painter;
    ApplyPen();
    if (draw_->font) {
        painter_->setFont(*draw_->font);
    }
}

void Window::EndPaint()
{
    painter_ = nullptr;
}

void Window::ApplyPen()
{
    if (!painter_) {
        return;
    }
    QPen pen(ColorOf(draw_->lineColor, widget_->palette()));
    pen.setWidth(draw_->lineWidth);
    pen.setStyle(draw_->lineStyle == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    painter_->setPen(pen);
    if (draw_->transparentFill) {
        painter_->setBrush(Qt::NoBrush);
    } else {
        painter_->setBrush(ColorOf(draw_->fillColor, widget_->palette()));
    }
}

void Window::SetLineColor(Color color)
{
    draw_->lineColor = color;
    ApplyPen();
}
void Window::SetLineWidth(int width)
{
    draw_->lineWidth = width;
    ApplyPen();
}
void Window::SetLineStyle(LineStyle style)
{
    draw_->lineStyle = style;
    ApplyPen();
}
void Window::SetFillColor(Color color)
{
    draw_->fillColor = color;
    draw_->transparentFill = false;
    ApplyPen();
}
void Window::SetTransparentFill()
{
    draw_->transparentFill = true;
    ApplyPen();
}
void Window::SetTextColor(Color color)
{
    draw_->textColor = color;
}

void Window::SetFont(const Font &font)
{
    draw_->font = std::make_unique<QFont>(font.QtFont());
    widget_->setFont(font.QtFont());
    if (painter_) {
        painter_->setFont(*draw_->font);
    }
}

void Window::DrawLine(Point from, Point to)
{
    if (painter_) {
        painter_->drawLine(from.x, from.y, to.x, to.y);
    }
}

void Window::DrawRect(const Rectangle &rect)
{
    if (!painter_) {
        return;
    }
    // The rectangle is inclusive: fill all of it, then frame its outermost pixels.
    QRect area(rect.left, rect.top, rect.Width(), rect.Height());
    if (!draw_->transparentFill) {
        painter_->fillRect(area, painter_->brush());
    }
    if (painter_->pen().style() != Qt::NoPen) {
        painter_->save();
        painter_->setBrush(Qt::NoBrush);
        QPen pen = painter_->pen();
        pen.setWidth(0);
        painter_->setPen(pen);
        painter_->drawRect(area.adjusted(0, 0, -1, -1));
        painter_->restore();
    }
}

void Window::Invert(const Rectangle &rect)
{
    if (!painter_) {
        return;
    }
    painter_->save();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), Qt::white);
    painter_->restore();
}

void Window::DrawBitmap(Point pos, const Bitmap &bitmap)
{
    if (painter_ && !bitmap.IsEmpty()) {
        painter_->drawPixmap(pos.x, pos.y, bitmap.Pixmap());
    }
}

void Window::DrawText(Point pos, const std::string &text)
{
    if (!painter_) {
        return;
    }
    painter_->save();
    painter_->setPen(ColorOf(draw_->textColor, widget_->palette()));
    QFontMetrics metrics = painter_->fontMetrics();
    painter_->drawText(pos.x, pos.y + metrics.ascent(), ToQt(text));
    painter_->restore();
}

int Window::GetTextWidth(const std::string &text) const
{
    QFont font = draw_->font ? *draw_->font : widget_->font();
    return QFontMetrics(font).horizontalAdvance(ToQt(text));
}

int Window::GetTextHeight() const
{
    QFont font = draw_->font ? *draw_->font : widget_->font();
    return QFontMetrics(font).height();
}
