// A picture loaded from a bitmap resource, drawn by windows and shown by list boxes and buttons.
#pragma once

#include <QPixmap>

#include "toolkit/ResId.h"

class Bitmap
{
  public:
    Bitmap() = default;
    explicit Bitmap(ResId id); // empty when the id is not installed

    bool IsEmpty() const { return pixmap_.isNull(); }
    int Width() const { return pixmap_.width(); }
    int Height() const { return pixmap_.height(); }
    const QPixmap &Pixmap() const { return pixmap_; }

  private:
    QPixmap pixmap_;
};
