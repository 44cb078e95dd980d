// The Cancel button: ends its modal dialog with 0.
#pragma once

#include "toolkit/OKButton.h"

class CancelButton : public OKButton
{
  public:
    static constexpr ControlKind Kind = ControlKind::CancelButton;
    CancelButton(Dialog *dialog, ResId id);
};
