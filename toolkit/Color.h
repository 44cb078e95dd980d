// Colours by the program's colour-name numbers. They map to palette roles, so the program follows
// the desktop's theme, light or dark.
#pragma once

enum ColorName : int {
    COL_WINDOWTEXT = 0,     // title out of focus: frame and text
    COL_BUTTON = 8,         // title out of focus: fill
    COL_DARK = 16,          // title in focus: frame
    COL_CARET = 20,         // the caret's dotted frame
    COL_WORKSPACE = 21,     // background of the panels and of the main window
    COL_HIGHLIGHT = 22,     // title in focus: fill
    COL_HIGHLIGHTTEXT = 23, // title in focus: text
};

class Color
{
  public:
    constexpr explicit Color(int name) : name_(name) {}
    constexpr int Name() const { return name_; }
    constexpr bool operator==(const Color &) const = default;

  private:
    int name_;
};
