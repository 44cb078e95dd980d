#include "toolkit/ModelessDialog.h"

#include <QDialog>

ModelessDialog::ModelessDialog(Window *parent, ResId id) : Dialog(parent, id, false) {}

void ModelessDialog::Present()
{
    QtDialog()->show();
    QtDialog()->raise();
    QtDialog()->activateWindow();
}
