#include "toolkit/CancelButton.h"

CancelButton::CancelButton(Dialog *dialog, ResId id) : OKButton(dialog, id, Kind, "Cancel", 0) {}
