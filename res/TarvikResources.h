// The program's resource table: menu, strings, fonts, bitmaps, icon and dialogs by id.
#pragma once

#include "toolkit/Resource.h"

// The complete table; built once, lives for the whole run.
const ResourceTable &TarvikResources();

// Registers the compiled-in pictures with Qt and installs the table for lookups by id. Call it
// once at start-up, after the QApplication exists; calling it again does no harm.
void InstallTarvikResources();
