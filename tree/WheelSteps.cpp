#include "tree/WheelSteps.h"

namespace
{
constexpr int64_t kNotch = 120;
} // namespace

int32_t WheelSteps::Rows(int angle, int pixels, int rowsPerNotch, int rowHeight)
{
    // A touchpad's pixels are exact; its angle is only an estimate of them.
    if (pixels != 0) {
        return Take(keptPixels_, pixels, rowHeight);
    }
    return Take(keptAngle_, int64_t{angle} * rowsPerNotch, kNotch);
}

// Up (positive) scrolls towards earlier rows. A change of direction drops what was kept.
int32_t WheelSteps::Take(int64_t &kept, int64_t moved, int64_t unit)
{
    if ((kept < 0) != (moved < 0)) {
        kept = 0;
    }
    kept += moved;
    const int64_t whole = kept / unit; // truncates toward zero
    kept -= whole * unit;
    return static_cast<int32_t>(-whole);
}
