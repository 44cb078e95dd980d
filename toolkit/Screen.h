// The size of the screen the program runs on, and the part of it that windows may take.
#pragma once

#include "toolkit/Geometry.h"

Size GetScreenSizePixel();
// The screen less the desktop's own panels and docks (the whole screen where the desktop does
// not say).
Rectangle GetScreenWorkArea();
