// A frame around controls that belong together, with an optional title.
#pragma once

#include "toolkit/Control.h"

class GroupBox : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::GroupBox;
    GroupBox(Dialog *dialog, ResId id);
    std::string GetText() const override;
};
