// One choice of several; the program's click handler decides which one is on.
#pragma once

#include "toolkit/Control.h"

class RadioButton : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::RadioButton;
    RadioButton(Dialog *dialog, ResId id);

    void Check(bool check = true);
    bool IsChecked() const;
    std::string GetText() const override;
};
