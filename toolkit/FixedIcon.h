// An icon shown in a dialog.
#pragma once

#include "toolkit/Control.h"

class FixedIcon : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::FixedIcon;
    FixedIcon(Dialog *dialog, ResId id); // shows the icon the resource names
};
