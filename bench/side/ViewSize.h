// Both sides of the side-by-side benchmark show their tree in a view of this size.
#pragma once

constexpr int kViewWidth = 600;
constexpr int kViewHeight = 800;
