// Places a dialog centred over its parent window, or on the screen when it has none, and lets a
// control that is too narrow for its text take the width it needs.
#pragma once

#include <vector>

#include "toolkit/Geometry.h"

class Control;
class Dialog;
class Window;

// Where a window of size `inner` stands centred over the area at `outerPos` of size `outer`.
// Each half truncates toward zero, so a window larger than the area gets a negative offset and
// stands above and to the left of the area's origin.
Point CenteredPos(Point outerPos, Size outer, Size inner);

// Centres the dialog over the parent's position and size, both in pixels; without a parent, on
// the screen.
void CenterOver(Window &dialog, Window *parent);

// Centres the dialog on the screen: ((W - w) / 2, (H - h) / 2).
void CenterOnScreen(Window &dialog);

// Widens the control to the width its contents need (a text in a larger font than the dialog was
// laid out for, a radio button's mark and text), never past the right edge of its window and
// never narrower than it is.
void WidenToContent(Window &control);

// Buttons in a column (at their resource places) whose texts need more than the column's width
// (a larger scale, a longer text) widen it to the left, all alike; the dialog grows by as much,
// so the column keeps its margin and nothing to its left is covered. The buttons must follow the
// dialog's growth to the right (Anchor::Right or Corner).
void WidenButtonColumn(Dialog &dialog, const std::vector<Control *> &buttons);
