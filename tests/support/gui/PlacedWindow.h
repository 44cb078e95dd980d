// Test fixture: a top-level window at a chosen place and size, for dialogs that place themselves
// over their parent.
#pragma once

#include "toolkit/Window.h"

class PlacedWindow : public Window
{
  public:
    PlacedWindow(Point pos, Size size) : Window(nullptr) { SetPosSizePixel(pos, size); }
};
