// Points, sizes and rectangles in pixels, as the program's windows use them.
#pragma once

#include <algorithm>

struct Point {
    int x = 0;
    int y = 0;
    constexpr bool operator==(const Point &) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    constexpr bool operator==(const Size &) const = default;
};

// Inclusive rectangle: right and bottom are the last pixels inside it.
struct Rectangle {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    static constexpr Rectangle FromPosSize(Point pos, Size size)
    {
        return {pos.x, pos.y, pos.x + size.width - 1, pos.y + size.height - 1};
    }
    constexpr int Width() const { return right - left + 1; }
    constexpr int Height() const { return bottom - top + 1; }
    constexpr bool IsEmpty() const { return right < left || bottom < top; }
    constexpr bool Overlaps(const Rectangle &other) const
    {
        return !IsEmpty() && !other.IsEmpty() && left <= other.right && other.left <= right &&
               top <= other.bottom && other.top <= bottom;
    }
    constexpr bool operator==(const Rectangle &) const = default;
};
