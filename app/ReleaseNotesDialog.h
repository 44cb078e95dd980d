// "TARVIK Release Notes": the release notes of this version in a multi-line field.
#pragma once

#include "toolkit/ModalDialog.h"
#include "toolkit/MultiLineEdit.h"
#include "toolkit/OKButton.h"

class ReleaseNotesDialog : public ModalDialog
{
  public:
    // Centred over the parent (the main window); the second character of the notes is selected
    // and OK has the input focus.
    explicit ReleaseNotesDialog(Window *parent);

  private:
    OKButton ok_;
    MultiLineEdit notes_;
};
