// Key and mouse events as the program's windows receive them.
#pragma once

#include <QtCore/qnamespace.h>

#include "toolkit/Geometry.h"

// Key codes without modifiers (the values are Qt's).
enum KeyCode : int {
    KEY_DOWN = Qt::Key_Down,
    KEY_UP = Qt::Key_Up,
    KEY_LEFT = Qt::Key_Left,
    KEY_RIGHT = Qt::Key_Right,
    KEY_PAGEDOWN = Qt::Key_PageDown,
    KEY_PAGEUP = Qt::Key_PageUp,
    KEY_HOME = Qt::Key_Home,
    KEY_END = Qt::Key_End,
    KEY_SPACE = Qt::Key_Space,
    KEY_RETURN = Qt::Key_Return,
    KEY_ENTER = Qt::Key_Enter,
    KEY_TAB = Qt::Key_Tab,
    KEY_BACKTAB = Qt::Key_Backtab,
    KEY_PLUS = Qt::Key_Plus,
    KEY_MINUS = Qt::Key_Minus,
};

enum KeyModifier : int {
    KEY_SHIFT = Qt::ShiftModifier,
    KEY_MOD1 = Qt::ControlModifier,
    KEY_MOD2 = Qt::AltModifier,
};

class KeyEvent
{
  public:
    KeyEvent(int code, int modifiers) : code_(code), modifiers_(modifiers) {}
    int GetCode() const { return code_; } // without modifiers; Shift+Tab arrives as Tab
    int GetModifiers() const { return modifiers_; }

  private:
    int code_;
    int modifiers_;
};

class MouseEvent
{
  public:
    MouseEvent(Point pos, int clicks, bool left) : pos_(pos), clicks_(clicks), left_(left) {}
    Point GetPosPixel() const { return pos_; }
    int GetClicks() const { return clicks_; } // 1 for a click, 2 for the second of a double click
    bool IsLeft() const { return left_; }

  private:
    Point pos_;
    int clicks_;
    bool left_;
};

// A turn of the mouse wheel or a two-finger scroll on a touchpad. Angles are in eighths of a
// degree (one notch of a common wheel is 120); a touchpad may give the distance in pixels
// instead (zero when it does not). Positive values point up and to the left.
class WheelEvent
{
  public:
    static constexpr int kNotch = 120;

    WheelEvent(Point angle, Point pixels) : angle_(angle), pixels_(pixels) {}
    Point GetAngleDelta() const { return angle_; }
    Point GetPixelDelta() const { return pixels_; }

  private:
    Point angle_;
    Point pixels_;
};
