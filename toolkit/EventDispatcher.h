// Internal: a Qt widget whose events are handed to the reactions of the Window it belongs to.
#pragma once

#include <QEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QToolTip>
#include <QWheelEvent>

#include "toolkit/QtText.h"
#include "toolkit/Window.h"

namespace toolkit_detail
{

KeyEvent ToKeyEvent(const QKeyEvent &event);
void DispatchPaint(Window &window, QWidget &widget, const QRect &rect);

// Lets a Window cut the tie to its widget before the widget goes, so that no event reaches a
// window that is being destroyed.
class DispatcherBase
{
  public:
    virtual ~DispatcherBase() = default;
    virtual void Detach() = 0;
};

template <typename Base> class EventDispatcher : public Base, public DispatcherBase
{
  public:
    template <typename... Args>
    explicit EventDispatcher(Window *owner, Args &&...args)
        : Base(std::forward<Args>(args)...), owner_(owner)
    {
    }
    void Detach() override { owner_ = nullptr; }
    // Dialogs keep Qt's Tab focus chain between their controls.
    void KeepTabForFocusChain() { tabToKeyInput_ = false; }

  protected:
    bool event(QEvent *event) override
    {
        // Tab must reach the window's key reaction instead of moving Qt's focus chain.
        if (owner_ && tabToKeyInput_ && event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                keyPressEvent(key);
                return true;
            }
        }
        if (owner_ && event->type() == QEvent::ToolTip) {
            ShowToolTip(*static_cast<QHelpEvent *>(event));
            return true;
        }
        return Base::event(event);
    }
    void paintEvent(QPaintEvent *event) override
    {
        if (owner_) {
            DispatchPaint(*owner_, *this, event->rect());
        } else {
            Base::paintEvent(event);
        }
    }
    void resizeEvent(QResizeEvent *event) override
    {
        Base::resizeEvent(event);
        if (owner_) {
            owner_->Resize();
        }
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!owner_) {
            Base::keyPressEvent(event);
            return;
        }
        owner_->ResetKeyHandled();
        owner_->KeyInput(ToKeyEvent(*event));
        if (owner_->KeyWasHandled()) {
            event->accept();
        } else {
            Base::keyPressEvent(event);
        }
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        Base::mousePressEvent(event);
        if (owner_) {
            owner_->MouseButtonDown(MouseEventOf(*event, 1));
        }
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (owner_) {
            owner_->MouseButtonDown(MouseEventOf(*event, 2));
        }
    }
    void wheelEvent(QWheelEvent *event) override
    {
        const QPoint angle = event->angleDelta();
        const QPoint pixels = event->pixelDelta();
        if (owner_ && owner_->Wheel(WheelEvent({angle.x(), angle.y()}, {pixels.x(), pixels.y()}))) {
            event->accept();
        } else {
            Base::wheelEvent(event); // a plain widget ignores it: the parent widget gets it
        }
    }
    void focusInEvent(QFocusEvent *event) override
    {
        Base::focusInEvent(event);
        if (owner_) {
            owner_->GetFocus();
        }
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        Base::focusOutEvent(event);
        if (owner_) {
            owner_->LoseFocus();
        }
    }

  private:
    void ShowToolTip(const QHelpEvent &help)
    {
        const std::string text = owner_->ToolTipText({help.pos().x(), help.pos().y()});
        if (text.empty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help.globalPos(), ToQt(text), this);
        }
    }

    static MouseEvent MouseEventOf(const QMouseEvent &event, int clicks)
    {
        QPoint pos = event.position().toPoint();
        return MouseEvent({pos.x(), pos.y()}, clicks, event.button() == Qt::LeftButton);
    }

    Window *owner_;
    bool tabToKeyInput_ = true;
};

} // namespace toolkit_detail
