// The Release Notes dialog.
#include "app/ReleaseNotesDialog.h"

#include "app/ResourceString.h"
#include "res/ResourceIds.h"
#include "toolkit/Placement.h"

ReleaseNotesDialog::ReleaseNotesDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogReleaseNotes)), ok_(this, ResId(kOKButton)),
      notes_(this, ResId(kReleaseNotesText))
{
    FreeResource();
    CenterOver(*this, parent);
    notes_.SetText(ResourceString(kStringReleaseNotes));
    notes_.SetReadOnly(); // the notes are to be read, not changed
    notes_.SetSelection(1, 2);
    ok_.GrabFocus();
}
