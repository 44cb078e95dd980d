// A dialog that blocks its parent while it runs. Execute returns 1 for OK and 0 for Cancel (or
// whatever EndDialog was given); it runs through the modal seam, so tests can script it.
#pragma once

#include "toolkit/Dialog.h"

class ModalDialog : public Dialog
{
  public:
    ModalDialog(Window *parent, ResId id);

    virtual short Execute();
    void EndDialog(long result = 0);
    bool IsInExecute() const { return executing_; }

  private:
    bool executing_ = false;
};
