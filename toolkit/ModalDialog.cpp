#include "toolkit/ModalDialog.h"

#include <QDialog>

#include "toolkit/ModalSeam.h"

ModalDialog::ModalDialog(Window *parent, ResId id) : Dialog(parent, id, true) {}

short ModalDialog::Execute()
{
    executing_ = true;
    ModalStep step{ModalKind::Dialog, Resource().title, "", GetParent(), this,
                   Resource().id,     nullptr};
    int result = ModalSeam::Execute(step, [this] { return QtDialog()->exec(); });
    executing_ = false;
    return static_cast<short>(result);
}

void ModalDialog::EndDialog(long result)
{
    QtDialog()->done(static_cast<int>(result));
}
