#include "toolkit/ModelessDialog.h"

ModelessDialog::ModelessDialog(Window *parent, ResId id) : Dialog(parent, id, false) {}
