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
    // The state a click moves the box to; the click handler is not called.
    void Cycle();

  protected:
    CheckBox(Window *parent, bool triState);
};
