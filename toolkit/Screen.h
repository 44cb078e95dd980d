// The size of the screen the program runs on.
#pragma once

#include "toolkit/Geometry.h"

Size GetScreenSizePixel();
