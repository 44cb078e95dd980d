// "Set Top Context": asks for the name of the context the tree view is to be rooted at.
#pragma once

#include <string>

#include "toolkit/CancelButton.h"
#include "toolkit/Edit.h"
#include "toolkit/FixedText.h"
#include "toolkit/GroupBox.h"
#include "toolkit/ModalDialog.h"
#include "toolkit/OKButton.h"

class SetTopContextDialog : public ModalDialog
{
  public:
    // Centred over the parent (the main window).
    explicit SetTopContextDialog(Window *parent);

    void SetContext(const std::string &text); // replaces the field's text
    std::string GetContext() const;           // the field's text, exactly as typed

  private:
    FixedText prompt_;
    Edit context_;
    OKButton ok_;
    CancelButton cancel_;
    GroupBox frame_;
};
