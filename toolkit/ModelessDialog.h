// A dialog that stays beside its parent without blocking it (the splash window).
#pragma once

#include "toolkit/Dialog.h"

class ModelessDialog : public Dialog
{
  public:
    ModelessDialog(Window *parent, ResId id);
};
