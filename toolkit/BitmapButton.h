// A button that shows a picture (the splash picture); it has no action of its own.
#pragma once

#include "toolkit/Control.h"

class Bitmap;

class BitmapButton : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::BitmapButton;
    BitmapButton(Dialog *dialog, ResId id); // shows the bitmap the resource names
    void SetBitmap(const Bitmap &bitmap);
    bool HasPicture() const;
    // The height the picture takes when fitted to the button's width, its proportions kept.
    int FittedHeight() const;
};
