// A check box with a third state: 0 not checked, 1 checked, 2 the third state. A click moves
// 0 -> 1 -> 2 -> 0 while the third state is offered, 0 -> 1 -> 0 otherwise.
#pragma once

#include "toolkit/CheckBox.h"

enum TriState : int { STATE_NOCHECK = 0, STATE_CHECK = 1, STATE_DONTKNOW = 2 };

class TriStateBox : public CheckBox
{
  public:
    static constexpr ControlKind Kind = ControlKind::TriStateBox;
    explicit TriStateBox(Window *parent);

    void SetState(int state);
    int GetState() const;
    void EnableTriState(bool enable);
};
