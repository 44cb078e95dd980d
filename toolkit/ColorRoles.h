// Internal: the palette colour that stands for a colour-name number.
#pragma once

#include <QColor>
#include <QPalette>

#include "toolkit/Color.h"

QColor ColorOf(Color color, const QPalette &palette);
