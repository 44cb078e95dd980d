// Turns wheel and touchpad movements into whole rows. A fine wheel sends a fraction of a notch
// at a time and a touchpad a few pixels: what does not yet make a whole row is kept for the
// next movement in the same direction.
#pragma once

#include <cstdint>

class WheelSteps
{
  public:
    // angle: eighths of a degree, 120 a notch, positive up; pixels: a touchpad's distance, 0 when
    // it gives none. Returns the rows to scroll, positive towards later rows.
    int32_t Rows(int angle, int pixels, int rowsPerNotch, int rowHeight);

  private:
    static int32_t Take(int64_t &kept, int64_t moved, int64_t unit);

    int64_t keptAngle_ = 0; // in eighths of a degree times rows per notch
    int64_t keptPixels_ = 0;
};
