// A window of the program: a C++ object with virtual reactions (paint, resize, key input, mouse
// button down, focus gained and lost, close) over one Qt widget, and the operations the program
// uses on it (show, geometry, focus, invalidate, scroll, drawing while it paints).
#pragma once

#include <memory>
#include <string>

#include "toolkit/Color.h"
#include "toolkit/Events.h"
#include "toolkit/Geometry.h"

class Bitmap;
class Font;
class QPainter;
class QWidget;

enum class LineStyle { Solid, Dotted };

class Window
{
  public:
    explicit Window(Window *parent); // a plain child window (or top-level without parent)
    virtual ~Window();
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    // Reactions. The default key input hands the key to the parent window.
    virtual void Paint(const Rectangle &rect);
    virtual void Resize();
    virtual void KeyInput(const KeyEvent &event);
    virtual void MouseButtonDown(const MouseEvent &event);
    // True when the window scrolled; otherwise the wheel goes on to the parent window.
    virtual bool Wheel(const WheelEvent &event);
    virtual void GetFocus();
    virtual void LoseFocus();
    virtual bool Close(); // false: the window refuses to close
    // The tip shown while the pointer rests at pos (window pixels); none when empty.
    virtual std::string ToolTipText(Point pos) const;

    void Show();
    void Hide();
    bool IsVisible() const;
    // Hidden by the program (a window not yet on screen because its dialog is not is not).
    bool IsHidden() const;
    void Enable(bool enable = true);
    void Disable() { Enable(false); }
    bool IsEnabled() const;
    virtual void SetText(const std::string &text);
    virtual std::string GetText() const;
    // What assistive tools call the window, where its text does not say it (a window without a
    // title bar).
    void SetAccessibleName(const std::string &name);
    std::string GetAccessibleName() const;

    void SetPosPixel(Point pos);
    Point GetPosPixel() const;
    void SetSizePixel(Size size);
    Size GetSizePixel() const;
    void SetPosSizePixel(Point pos, Size size);
    Size GetOutputSizePixel() const; // the drawable area
    Point ScreenPos() const;         // the window's origin on the screen

    void GrabFocus();
    bool HasFocus() const;

    void Invalidate();                      // repaint later, all of it
    void Invalidate(const Rectangle &rect); // repaint later, this part
    void Update();                          // repaint what is invalid, now
    void Scroll(int dx, int dy);            // move the pixels; the uncovered band gets repainted
    void SetBackground(Color color);

    // Drawing: only while the window paints (inside Paint).
    void SetLineColor(Color color);
    void SetLineWidth(int width);
    void SetLineStyle(LineStyle style);
    void SetFillColor(Color color);
    void SetTransparentFill();
    void SetTextColor(Color color);
    void SetFont(const Font &font);
    void DrawLine(Point from, Point to);
    void DrawRect(const Rectangle &rect);
    void Invert(const Rectangle &rect);
    void DrawBitmap(Point pos, const Bitmap &bitmap);
    void DrawText(Point pos, const std::string &text);
    int GetTextWidth(const std::string &text) const;
    int GetTextHeight() const;

    Window *GetParent() const { return parent_; }
    QWidget *Widget() const { return widget_; }              // the drawable area's widget
    virtual QWidget *FrameWidget() const { return widget_; } // the widget a top-level frame is

    // Internal to the toolkit: key dispatch and painting.
    void ResetKeyHandled() { keyHandled_ = true; }
    bool KeyWasHandled() const { return keyHandled_; }
    void BeginPaint(QPainter *painter);
    void EndPaint();
    void Validate(const Rectangle &rect); // painted: no longer invalid

  protected:
    struct AdoptWidget {
    };
    Window(Window *parent, QWidget *widget, AdoptWidget); // a subclass brings its own widget
    void DetachFromWidget();

  private:
    struct DrawState;
    void ApplyPen();

    Window *parent_;
    QWidget *widget_;
    QPainter *painter_ = nullptr;
    std::unique_ptr<DrawState> draw_;
    bool keyHandled_ = true;
};
