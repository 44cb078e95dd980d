// What assistive tools call a dialog's control that shows no text of its own (an entry field, a
// list), and the group a control belongs to, both read from the dialog's resource.
#pragma once

#include <string>

#include "toolkit/Resource.h"

// The fixed text that labels the control: the nearest one on its line to its left, else the
// nearest one just above it, else the title of the group box around it, else the dialog's title.
std::string AccessibleLabelOf(const DialogResource &dialog, const ControlResource &control);
// The title of the group box around the control; empty when there is none.
std::string AccessibleGroupOf(const DialogResource &dialog, const ControlResource &control);
// Controls whose name comes from a label rather than from their own text.
bool NeedsAccessibleLabel(ControlKind kind);
