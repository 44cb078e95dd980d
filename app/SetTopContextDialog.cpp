// The Set Top Context dialog: one field, OK and Cancel.
#include "app/SetTopContextDialog.h"

#include "res/ResourceIds.h"
#include "toolkit/Placement.h"

SetTopContextDialog::SetTopContextDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogSetTopContext)), prompt_(this, ResId(kSetTopContextPrompt)),
      context_(this, ResId(kSetTopContextEdit)), ok_(this, ResId(kOKButton)),
      cancel_(this, ResId(kCancelButton)), frame_(this, ResId(kSetTopContextFrame))
{
    FreeResource();
    WidenToContent(prompt_);
    CenterOver(*this, parent);
}

void SetTopContextDialog::SetContext(const std::string &text)
{
    context_.SetText(text);
    context_.SelectAll(); // typing a new name replaces the old one
}

std::string SetTopContextDialog::GetContext() const
{
    return context_.GetText();
}
