// Resource geometry is in dialog units: a quarter of the application font's average character
// width across, an eighth of its line height down.
#pragma once

#include "toolkit/Geometry.h"

class QFont;

class DialogUnits
{
  public:
    explicit DialogUnits(const QFont &font);
    DialogUnits(); // from the application's font

    int ToPixelX(int units) const { return units * charWidth_ / 4; }
    int ToPixelY(int units) const { return units * lineHeight_ / 8; }
    Point ToPixel(int x, int y) const { return {ToPixelX(x), ToPixelY(y)}; }
    Size ToPixelSize(int width, int height) const { return {ToPixelX(width), ToPixelY(height)}; }

  private:
    int charWidth_;
    int lineHeight_;
};
