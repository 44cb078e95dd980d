// The restore options dialog: counts, on-error choice and its placement over the main window.
#include "restore/RestoreOptionsDialog.h"

#include <cstdio>

#include "res/ResourceIds.h"
#include "toolkit/Placement.h"

namespace
{
void SetNumber(FixedText &text, int32_t number)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(number));
    text.SetText(buffer);
}
} // namespace

RestoreOptionsDialog::RestoreOptionsDialog(Window *parent)
    : ModalDialog(parent, ResId(kDialogRestoreObjects)),
      onError_(this, ResId(kRestoreObjectsOnError)),
      continue_(this, ResId(kRestoreObjectsContinue)),
      askUser_(this, ResId(kRestoreObjectsAskUser)), end_(this, ResId(kRestoreObjectsEnd)),
      containersLabel_(this, ResId(kRestoreObjectsContainersLabel)),
      leavesLabel_(this, ResId(kRestoreObjectsLeavesLabel)),
      containers_(this, ResId(kRestoreObjectsContainers)),
      leaves_(this, ResId(kRestoreObjectsLeaves)), ok_(this, ResId(kOKButton)),
      cancel_(this, ResId(kCancelButton))
{
    FreeResource();
    continue_.Check();
    for (RadioButton *choice : {&continue_, &askUser_, &end_}) {
        choice->SetClickHdl([this](Control &clicked) { return RadioClickHdl(clicked); });
    }
    CenterOver(*this, parent);
}

// Whatever the toolkit did with the click (a click on the chosen button turns it off), exactly
// one choice is on afterwards: the clicked one.
long RestoreOptionsDialog::RadioClickHdl(Control &clicked)
{
    continue_.Check(false);
    askUser_.Check(false);
    end_.Check(false);
    for (RadioButton *choice : {&continue_, &askUser_, &end_}) {
        if (choice == &clicked) {
            choice->Check();
        }
    }
    return 1;
}

void RestoreOptionsDialog::SetCounts(int32_t containers, int32_t leafObjects)
{
    SetNumber(containers_, containers);
    SetNumber(leaves_, leafObjects);
}

OnErrorMode RestoreOptionsDialog::GetOnErrorMode() const
{
    if (askUser_.IsChecked()) {
        return OnErrorAskUser;
    }
    if (continue_.IsChecked()) {
        return OnErrorContinue;
    }
    if (end_.IsChecked()) {
        return OnErrorEnd;
    }
    return OnErrorContinue;
}
