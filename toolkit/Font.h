// A font from a font resource, or the application's font.
#pragma once

#include <QFont>

#include "toolkit/ResId.h"

class Font
{
  public:
    Font();                  // the application's font
    explicit Font(ResId id); // the application's font when the id is not installed

    const QFont &QtFont() const { return font_; }

  private:
    QFont font_;
};
