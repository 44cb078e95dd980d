// A plain check box: checked or not.
#pragma once

#include "toolkit/Control.h"

class CheckBox : public Control
{
  public:
    static constexpr ControlKind Kind = ControlKind::CheckBox;
    explicit CheckBox(Window *parent);
    CheckBox(Dialog *dialog, ResId id);

    void Check(bool check = true);
    bool IsChecked() const;

  protected:
    CheckBox(Window *parent, bool triState);
};
