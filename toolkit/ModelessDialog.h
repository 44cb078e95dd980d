// A dialog that stays beside its parent without blocking it (the splash window, Find).
#pragma once

#include "toolkit/Dialog.h"

class ModelessDialog : public Dialog
{
  public:
    ModelessDialog(Window *parent, ResId id);

    // Shows the dialog in front, with the keyboard (the first window of a user's command).
    void Present();
};
