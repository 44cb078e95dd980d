// How a control of a resizable dialog follows the dialog as it grows beyond its starting size:
// the shares (0 to 1) of the added width and height by which the control moves and grows.
#pragma once

struct Anchor {
    double moveX = 0;
    double moveY = 0;
    double growX = 0;
    double growY = 0;

    static constexpr Anchor Wider() { return {0, 0, 1, 0}; }   // a line along the top
    static constexpr Anchor Right() { return {1, 0, 0, 0}; }   // a button beside it
    static constexpr Anchor Below() { return {0, 1, 0, 0}; }   // a box under the table
    static constexpr Anchor Corner() { return {1, 1, 0, 0}; }  // the closing button
    static constexpr Anchor Filling() { return {0, 0, 1, 1}; } // the table itself
};
